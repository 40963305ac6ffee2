// The user's private folders: what another account could plant is refused, what
// the program makes is 0700, and folders of killed programs are cleaned up.
#include "project/PrivateFolder.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantor {
namespace {

namespace fs = std::filesystem;

mode_t modeOf(const std::string &path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// The id of a process that has just ended.
pid_t endedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(PrivateFolder, PlantedPathsAreRefusedNeverFollowed)
{
    test::TempDir dir;
    const std::string target = dir.file("target");
    fs::create_directories(target);
    ::chmod(target.c_str(), 0755);
    ASSERT_EQ(::symlink(target.c_str(), dir.file("link").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("nowhere").c_str(), dir.file("dangling").c_str()), 0);
    test::writeFile(dir.file("plain"), "x");
    // Another account's folder: made as root and handed over, else one of the system's.
    std::string foreign = "/usr";
    if (::geteuid() == 0) {
        foreign = dir.file("foreign");
        fs::create_directories(foreign);
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    }
    const struct {
        std::string path;
        bool asFolder;
        const char *why; // nullptr: accepted
    } cases[] = {
        {dir.file("link"), true, "符号链接"},    {dir.file("dangling"), true, "符号链接"},
        {dir.file("link"), false, "符号链接"},   {dir.file("dangling"), false, "符号链接"},
        {foreign, true, "属于其他用户"},         {foreign, false, "属于其他用户"},
        {dir.file("plain"), true, "不是文件夹"}, {dir.file("plain"), false, nullptr},
        {dir.file("missing"), false, nullptr},   {dir.file("plain/sub"), true, "无法建立文件夹"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path + (c.asFolder ? " as folder" : " as entry"));
        try {
            c.asFolder ? PrivateFolder::ensure(c.path) : PrivateFolder::checkEntry(c.path);
            EXPECT_EQ(c.why, nullptr) << "accepted";
        } catch (const PrivateFolderError &e) {
            ASSERT_NE(c.why, nullptr) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.why), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << "names the path";
        }
    }
    EXPECT_EQ(modeOf(target), 0755u) << "a link's target is never touched";
    EXPECT_FALSE(fs::exists(dir.file("nowhere"))) << "nor made";
}

TEST(PrivateFolder, MadePrivateRemovedAtTheEndAndOnlyEndedProcessesLeaveStaleOnes)
{
    test::TempDir dir;
    const std::string base = dir.file("a/b");
    PrivateFolder::ensure(base);
    EXPECT_EQ(modeOf(dir.file("a")), 0700u);
    ::chmod(base.c_str(), 0777);
    PrivateFolder::ensure(base);
    EXPECT_EQ(modeOf(base), 0700u) << "an own folder open to others is narrowed";

    const std::string dead = std::to_string(endedProcess()), alive = std::to_string(::getppid());
    for (const std::string &name :
         {"work-" + dead + "-AbC123", "work-" + alive + "-AbC123", "work-x" + dead + "-AbC123",
          "work-" + dead + "-short", "other-" + dead + "-AbC123"})
        fs::create_directories(base + "/" + name);
    ASSERT_EQ(::symlink(dir.file("a").c_str(), (base + "/work-" + dead + "-Link00").c_str()), 0);
    std::string made;
    {
        PrivateFolder work(base, "work-");
        made = work.path();
        EXPECT_EQ(fs::path(made).filename().string().rfind("work-" + std::to_string(::getpid()) + "-", 0), 0u);
        EXPECT_EQ(modeOf(made), 0700u);
        test::writeFile(made + "/_workfile.mdb", "x");
        EXPECT_EQ(PrivateFolder::removeStale(base, "work-"), 1) << "only the ended process's folder";
        EXPECT_TRUE(fs::exists(made) && fs::exists(base + "/work-" + alive + "-AbC123") && fs::exists(dir.file("a")));
    }
    EXPECT_FALSE(fs::exists(made)) << "removed with its contents";
}

} // namespace
} // namespace vantor
