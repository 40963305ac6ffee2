// Saving onto a full disk or into a read-only folder fails with a message that
// says so, leaves the previous pair as it was, and the project stays open and
// can be saved elsewhere. The folders are small tmpfs mounts, which needs root
// (as root a folder's permission bits do not stop writing); elsewhere the full
// disk is skipped and the read-only folder is made with its permission bits.

#include "project/ProjectTestSupport.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sys/mount.h>
#include <unistd.h>

namespace vantor {
namespace {

using test::FakeWorkbook;
using test::ScriptedPrompter;

class FullDiskTest : public ::testing::Test, protected test::ProgramFolder {
protected:
    FullDiskTest() : session(makeSession(workbook, "work")) { std::filesystem::create_directories(target); }
    ~FullDiskTest() override
    {
        session.reset();
        if (mounted)
            ::umount2(target.c_str(), MNT_DETACH);
    }

    bool mountSmallDisk(const std::string &options)
    {
        mounted = ::geteuid() == 0 && ::mount("vantor-test", target.c_str(), "tmpfs", 0, options.c_str()) == 0;
        return mounted;
    }

    // Saves a new project into the target folder and changes it afterwards;
    // returns the path of its project file.
    std::string savedAndChanged()
    {
        ScriptedPrompter p;
        EXPECT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
        const std::string path = ProjectPaths::join(target, "job.mdb");
        p.files.push_back(path);
        EXPECT_EQ(session->saveProject(p), CommandResult::Done);
        oldDb = test::readAll(path);
        oldCll = test::readAll(ProjectPaths::pairedWorkbook(path));
        NodeProperties changed;
        changed.pmname = "改过";
        session->store().updateNodeProperties(0, changed);
        workbook.modified = true;
        return path;
    }

    // The failed save told the user `cause` and kept the old pair; after `fix`
    // the same project saves.
    void expectFailedAndUsable(const std::string &path, const char *cause, const std::function<void()> &fix)
    {
        ScriptedPrompter p;
        EXPECT_EQ(session->saveProject(p), CommandResult::Failed);
        ASSERT_FALSE(p.messages().empty());
        EXPECT_NE(p.messages().back().find(cause), std::string::npos) << p.messages().back();
        EXPECT_NE(p.messages().back().find("原来的项目文件没有改变"), std::string::npos);
        EXPECT_EQ(test::readAll(path), oldDb);
        EXPECT_EQ(test::readAll(ProjectPaths::pairedWorkbook(path)), oldCll);
        std::set<std::string> left;
        for (const auto &entry : std::filesystem::directory_iterator(target))
            left.insert(entry.path().filename().string());
        EXPECT_EQ(left, (std::set<std::string>{"job.cll", "job.mdb"})) << "nothing is left behind";

        // Still open with its changes; once the cause is gone, saving works.
        EXPECT_TRUE(session->isModified());
        EXPECT_EQ(session->store().node(0)->properties.pmname, "改过");
        fix();
        EXPECT_EQ(session->saveProject(p), CommandResult::Done) << p.messages().back();
        EXPECT_NE(test::readAll(path), oldDb);
        EXPECT_FALSE(session->isModified());
    }

    FakeWorkbook workbook;
    std::unique_ptr<ProjectSession> session;
    std::string target = dir.file("target");
    bool mounted = false;
    std::string oldDb, oldCll;
};

TEST_F(FullDiskTest, FullDiskKeepsThePreviousPair)
{
    if (!mountSmallDisk("size=160k"))
        GTEST_SKIP() << "a small disk needs root to mount a tmpfs";
    const std::string path = savedAndChanged();
    // The new workbook no longer fits beside the old pair.
    for (int i = 0; i < 20000; ++i)
        workbook.labels.push_back("filler-" + std::to_string(i));
    expectFailedAndUsable(path, "磁盘空间不足", [&] { workbook.labels.resize(10); });
}

TEST_F(FullDiskTest, ReadOnlyFolderKeepsThePreviousPair)
{
    const bool asRoot = mountSmallDisk("size=4m");
    if (::geteuid() == 0 && !asRoot)
        GTEST_SKIP() << "as root a read-only folder needs a tmpfs mount";
    const std::string path = savedAndChanged();
    if (asRoot)
        ASSERT_EQ(::mount("vantor-test", target.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
    else
        std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    expectFailedAndUsable(path, asRoot ? "只读" : "没有写入权限", [&] {
        if (asRoot)
            ::mount("vantor-test", target.c_str(), "tmpfs", MS_REMOUNT, nullptr);
        else
            std::filesystem::permissions(target, std::filesystem::perms::owner_all);
    });
}

} // namespace
} // namespace vantor
