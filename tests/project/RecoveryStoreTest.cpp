#include "project/RecoveryStore.h"
#include "project/ProjectTestSupport.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::FakeWorkbook;
using test::ScriptedPrompter;

class RecoveryTest : public ::testing::Test, protected test::ProgramFolder {
protected:
    RecoveryTest() : session(makeSession(workbook, "work"))
    {
        ScriptedPrompter p;
        EXPECT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    }

    void change(const std::string &name)
    {
        NodeProperties props;
        props.pmname = name;
        session->store().updateNodeProperties(0, props);
        workbook.labels.push_back(name);
    }

    void writeCopy(const std::string &projectPath = "")
    {
        store.write(
            session->database(), [this](const std::string &path) { workbook.save(path); }, projectPath,
            session->store().node(0)->properties.pmname.value_or(""));
    }

    // A login that types `password` once, counting how often it is asked.
    LoginFunction typing(std::string password)
    {
        return [this, password](const PasswordCheck &accept) {
            ++logins;
            return accept(password);
        };
    }

    std::set<std::string> filesInFolder() const
    {
        std::set<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(store.folder()))
            names.insert(entry.path().filename().string());
        return names;
    }

    FakeWorkbook workbook;
    std::unique_ptr<ProjectSession> session;
    RecoveryStore store{dir.file("recovery")};
    int logins = 0;
};

TEST_F(RecoveryTest, CrashedProjectComesBackUnsavedWithEveryChange)
{
    EXPECT_FALSE(store.find());
    change("第一版");
    writeCopy();
    change("第二版");
    writeCopy("/home/u/job.mdb");
    EXPECT_EQ(filesInFolder(), (std::set<std::string>{"recovery-2.cll", "recovery-2.mdb", "recovery.txt"}));
    session.reset(); // the crash: nothing saved

    FakeWorkbook restored;
    auto next = makeSession(restored, "next");
    auto found = store.find();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->projectPath, "/home/u/job.mdb");
    EXPECT_EQ(found->projectName, "第二版");
    ScriptedPrompter p;
    ASSERT_EQ(next->openRecovered(*found, p, typing("")), CommandResult::Done);
    EXPECT_EQ(logins, 0) << "no password, no question";
    EXPECT_EQ(next->store().node(0)->properties.pmname, "第二版");
    EXPECT_EQ(restored.labels.back(), "第二版");
    EXPECT_EQ(restored.shown, 4);
    EXPECT_TRUE(next->isModified());
    EXPECT_TRUE(next->projectPath().empty());
    // Saving asks where, suggesting the file the work came from; the copy is the
    // user's to discard afterwards.
    p.files.push_back(dir.file("saved.mdb"));
    EXPECT_EQ(next->saveProject(p), CommandResult::Done);
    EXPECT_EQ(p.lastFileRequest.directory, "/home/u");
    EXPECT_EQ(p.lastFileRequest.fileName, "job.mdb");
    EXPECT_FALSE(next->isModified());
    store.clear();
    EXPECT_FALSE(store.find());
    EXPECT_TRUE(filesInFolder().empty());
}

TEST_F(RecoveryTest, FailedWriteKeepsThePreviousCopy)
{
    change("好的");
    writeCopy();
    change("坏的");
    EXPECT_THROW(store.write(
                     session->database(), [](const std::string &) { throw std::runtime_error("磁盘空间不足"); }, ""),
                 std::runtime_error);
    EXPECT_EQ(filesInFolder(), (std::set<std::string>{"recovery-1.cll", "recovery-1.mdb", "recovery.txt"}));
    FakeWorkbook restored;
    auto next = makeSession(restored, "next");
    ScriptedPrompter p;
    session.reset();
    ASSERT_EQ(next->openRecovered(*store.find(), p, {}), CommandResult::Done);
    EXPECT_EQ(next->store().node(0)->properties.pmname, "好的");
}

TEST_F(RecoveryTest, CopyOfAProjectWithAPasswordOpensOnlyAfterIt)
{
    session->store().setPasswordHash(ProjectPassword::hash("机密", PasswordCost::minimal()));
    change("有密码");
    writeCopy("/home/u/job.mdb");
    session.reset();
    FakeWorkbook restored;
    auto next = makeSession(restored, "next");
    ScriptedPrompter p;
    EXPECT_EQ(next->openRecovered(*store.find(), p, typing("猜的")), CommandResult::Cancelled);
    EXPECT_FALSE(next->isOpen());
    EXPECT_EQ(restored.labels, std::vector<std::string>{"Sheet1"}) << "nothing of the copy was loaded";
    EXPECT_TRUE(store.find()) << "the copy stays for when the password is known";
    ASSERT_EQ(next->openRecovered(*store.find(), p, typing("机密")), CommandResult::Done);
    EXPECT_EQ(next->store().node(0)->properties.pmname, "有密码");
    EXPECT_EQ(logins, 2);
}

TEST_F(RecoveryTest, DamagedOrForeignCopiesAreNotOffered)
{
    change("x");
    writeCopy();
    const auto found = store.find();
    ASSERT_TRUE(found);
    for (const std::string &index : {std::string("vantor-recovery\n../../etc\n\n"), std::string("garbage")}) {
        std::ofstream(dir.file("recovery/recovery.txt"), std::ios::trunc) << index;
        EXPECT_FALSE(store.find()) << index;
    }
    std::ofstream(dir.file("recovery/recovery.txt"), std::ios::trunc) << "vantor-recovery\n1\n\n";
    test::writeBytes(found->workbookPath, 10);
    EXPECT_FALSE(store.find()) << "a cut-off copy";
    // A copy that is not a workbook is refused when opened, and nothing stays open.
    test::writeBytes(found->workbookPath, 2048, 'J');
    FakeWorkbook restored;
    auto next = makeSession(restored, "next");
    ScriptedPrompter p;
    EXPECT_EQ(next->openRecovered(*store.find(), p, {}), CommandResult::Failed);
    EXPECT_NE(p.messages().back().find("未能恢复"), std::string::npos);
    EXPECT_FALSE(next->isOpen());
}

} // namespace
} // namespace vantor
