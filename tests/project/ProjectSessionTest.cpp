#include "project/ProjectSession.h"

#include "project/ProjectTakeover.h"
#include "project/ProjectTestSupport.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace vantor {
namespace {

using test::exists;
using test::FakeWorkbook;
using test::ScriptedPrompter;

constexpr const char *kOldVersion = "\n\n您不能使用本程序打开旧版本的项目文件。";
constexpr const char *kTemplateBroken =
    "系统文件格式错误，请从本软件光盘中复制\n文件template.vtw和template.vtc粘贴到本机程序目录中";

SheetTotals bookTotal(int64_t units)
{
    SheetTotals t;
    t.v1 = Amount::fromUnits(units);
    return t;
}

class SessionTest : public ::testing::Test, protected test::ProgramFolder {
protected:
    SessionTest() : session(makeSession(workbook, "work"))
    {
        std::filesystem::create_directories(dir.file(kUserFolder));
    }

    std::string workDb() const { return ProjectPaths::join(work, "_workfile.mdb"); }
    std::string workCll() const { return ProjectPaths::join(work, "_workfile.cll"); }
    bool workingCopiesExist() const { return exists(workDb()) || exists(workCll()); }
    // The user's files sit in a folder whose name has quotes and dots.
    static constexpr const char *kUserFolder = "it's a.b folder";
    std::string user(const std::string &name) const { return dir.file(kUserFolder) + "/" + name; }

    // A saved data-entry project at user(name) (with its .cll), closed again.
    void makeSavedProject(const std::string &name, ProjectKind kind = ProjectKind::DataEntry,
                          const std::string &password = "")
    {
        ScriptedPrompter p;
        ASSERT_EQ(session->newProject(kind, p), CommandResult::Done);
        NodeProperties props;
        props.pmname = "测试项目";
        props.zczydw = "甲公司";
        session->store().updateNodeProperties(0, props);
        if (!password.empty())
            ProjectPassword::apply(session->store(), password, password, PasswordCost::minimal());
        p.files.push_back(user(name));
        ASSERT_EQ(session->saveProject(p), CommandResult::Done);
        ASSERT_EQ(session->closeProject(p), CommandResult::Done);
        ASSERT_TRUE(p.shown.size() == 1) << "only the save dialog";
    }

    CommandResult open(ScriptedPrompter &p, const std::string &path)
    {
        p.files.push_back(path);
        return session->openProject(p, ProjectSession::promptLogin(p));
    }

    std::string work = dir.file("work");
    FakeWorkbook workbook;
    std::unique_ptr<ProjectSession> session;
};

// --- new ------------------------------------------------------------------

TEST_F(SessionTest, NewProjectIgnoresAJournalLeftByACrash)
{
    ScriptedPrompter p;
    test::writeBytes(workDb() + "-journal", 4096, '\0');
    EXPECT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    EXPECT_FALSE(exists(workDb() + "-journal"));
    EXPECT_TRUE(exists(workDb()) && exists(workCll()));
    EXPECT_FALSE(session->isModified());
}

TEST_F(SessionTest, TemplateProblemsAreReportedInOrder)
{
    const std::string vtw = ProjectPaths::join(program, "template.vtw");
    const std::string vtc = ProjectPaths::join(program, "template.vtc");
    const std::string tail = "\n请从本软件光盘中复制此文件粘贴到本机程序目录中。";
    const struct {
        ProjectKind kind;
        std::function<void()> damage;
        std::string message;
    } cases[] = {
        {ProjectKind::DataEntry, [&] { std::filesystem::remove(vtw), std::filesystem::remove(vtc); },
         "系统文件template.vtc不存在" + tail},
        {ProjectKind::DataEntry, [&] { test::writeBytes(vtw, 1023), test::writeBytes(vtc, 10); },
         "系统文件template.vtw格式错误" + tail},
        {ProjectKind::Summary,
         [&] {
             FakeWorkbook::writeFile(vtc, {"b0", "b2", "b1", "b3", "b10"});
         },
         kTemplateBroken},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        test::makeTemplateDatabase(vtw + ".tmp");
        std::filesystem::rename(vtw + ".tmp", vtw);
        FakeWorkbook::writeFile(vtc, FakeWorkbook::standardLabels());
        c.damage();
        ScriptedPrompter p;
        EXPECT_EQ(session->newProject(c.kind, p), CommandResult::Failed);
        ASSERT_EQ(p.messages().size(), 1u);
        EXPECT_TRUE(p.messages()[0].ends_with(c.message)) << p.messages()[0];
        EXPECT_FALSE(workingCopiesExist());
        EXPECT_EQ(workbook.labels, std::vector<std::string>{"Sheet1"}); // component emptied
    }
}

// --- save -------------------------------------------------------------------

TEST_F(SessionTest, FirstSaveAsksForANameRefusesTheWorkingCopyAndWritesThePair)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    for (std::string target : {ProjectPaths::join(work, "_workfile"), work + "/MyFiles/../_workfile.mdb"}) {
        p.files.push_back(target);
        EXPECT_EQ(session->saveProject(p), CommandResult::Failed) << target;
        EXPECT_EQ(p.messages().back(), "您试图把项目保存为临时工作文件，请选择其他文件名。");
    }
    EXPECT_EQ(workbook.saves, 0);
    p.shown.clear();
    p.files = {std::nullopt, user("job")}; // cancelled first, then typed without extension
    EXPECT_EQ(session->saveProject(p), CommandResult::Cancelled);
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("work/MyFiles")));
    EXPECT_EQ(session->saveProject(p), CommandResult::Done);
    EXPECT_TRUE(exists(user("job.cll")));
}

// --- close ------------------------------------------------------------------

TEST_F(SessionTest, SavingFromTheClosePrompt)
{
    makeSavedProject("job.mdb");
    const std::string oldDb = test::readFile(user("job.mdb"));
    for (bool failSave : {true, false}) {
        SCOPED_TRACE(failSave ? "yes, save fails" : "yes");
        std::filesystem::remove(user("saved.mdb"));
        ScriptedPrompter p;
        ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
        workbook.modified = true;
        workbook.failSave = failSave;
        p.answers = {Answer::Yes};
        p.files = {user("saved.mdb")};
        EXPECT_EQ(session->closeProject(p), failSave ? CommandResult::Failed : CommandResult::Done);
        EXPECT_EQ(workingCopiesExist(), failSave);
        EXPECT_EQ(exists(user("saved.mdb")) && exists(user("saved.cll")), !failSave);
        workbook.failSave = false;
        p.answers = {Answer::No};
        ASSERT_EQ(session->closeProject(p), CommandResult::Done);
    }
    EXPECT_EQ(test::readFile(user("job.mdb")), oldDb);
}

// --- open -------------------------------------------------------------------

TEST_F(SessionTest, FilesThatCannotBeOpenedAreReportedAndLeaveNothingOpen)
{
    const std::string noWorkbook =
        "项目文件" + user("job.mdb") + "\n的数据文件" + user("job.cll") + "不存在或文件格式错误";
    const struct {
        const char *name;
        ProjectKind kind;
        std::function<void()> damage;
        std::string message; // the whole text, or its end when it starts with "\n"
    } cases[] = {
        {"1024-byte project", ProjectKind::DataEntry, [&] { test::writeBytes(user("job.mdb"), 1024); }, kOldVersion},
        {"workbook missing", ProjectKind::DataEntry, [&] { std::filesystem::remove(user("job.cll")); }, noWorkbook},
        {"workbook damaged", ProjectKind::DataEntry, [&] { test::writeBytes(user("job.cll"), 5000, 'Z'); },
         std::string("文件不是工作簿文件") + kOldVersion},
        {"newer database", ProjectKind::DataEntry, [&] { Database(user("job.mdb")).exec("PRAGMA user_version = 3"); },
         std::string("项目文件的版本(3)不是本程序能读取的版本(2)") + kOldVersion},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        makeSavedProject("job.mdb", c.kind);
        c.damage();
        ScriptedPrompter p;
        EXPECT_EQ(open(p, user("job.mdb")), CommandResult::Failed);
        ASSERT_EQ(p.messages().size(), 1u);
        if (c.message.starts_with("\n"))
            EXPECT_TRUE(p.messages()[0].ends_with(c.message) && p.messages()[0] != c.message.substr(2));
        else
            EXPECT_EQ(p.messages()[0], c.message);
        EXPECT_FALSE(session->isOpen());
        EXPECT_FALSE(workingCopiesExist());
        EXPECT_EQ(workbook.labels, std::vector<std::string>{"Sheet1"});
    }
    ScriptedPrompter p;
    EXPECT_EQ(open(p, workDb()), CommandResult::Failed);
    EXPECT_EQ(p.messages().back(), "您试图打开临时工作文件，请不要这样做。");
    p.files.push_back(std::nullopt);
    EXPECT_EQ(session->openProject(p, ProjectSession::promptLogin(p)), CommandResult::Cancelled);
    EXPECT_FALSE(workingCopiesExist());
}

// --- password ---------------------------------------------------------------

TEST_F(SessionTest, WrongPasswordsRepeatThePromptUntilTheRightOneOrCancel)
{
    makeSavedProject("job.mdb", ProjectKind::DataEntry, "Pa'ss");
    ScriptedPrompter cancelled;
    cancelled.inputs = {std::string("nope"), std::nullopt};
    EXPECT_EQ(open(cancelled, user("job.mdb")), CommandResult::Cancelled);
    EXPECT_FALSE(workingCopiesExist());
    EXPECT_EQ(workbook.labels, std::vector<std::string>{"Sheet1"});

    ScriptedPrompter p;
    p.inputs = {std::string("pa'ss"), std::string("wrong"), std::string("Pa'ss")};
    EXPECT_EQ(open(p, user("job.mdb")), CommandResult::Done);
    EXPECT_EQ(p.messages(), (std::vector<std::string>{"无效的密码，请重试！", "无效的密码，请重试！"}));
}

// --- takeover of data-entry projects ------------------------------------------------

class TakeoverTest : public SessionTest {
protected:
    // A data-entry project with totals on two sheets and signatories on a
    // summary and a detail sheet; then a new summary project is open.
    void SetUp() override
    {
        makeSavedProject("data.mdb", ProjectKind::DataEntry, "secret");
        ScriptedPrompter p;
        p.inputs.push_back(std::string("secret"));
        ASSERT_EQ(open(p, user("data.mdb")), CommandResult::Done);
        session->store().writeSheetTotals(16, 0, bookTotal(120050));
        session->store().writeSheetTotals(58, 0, bookTotal(-30000));
        session->store().replaceSignatories(0, {{3, "张'三", "李四", std::nullopt}, {16, "王五", "", std::nullopt}});
        ASSERT_EQ(session->saveProject(p), CommandResult::Done);
        ASSERT_EQ(session->closeProject(p), CommandResult::Done);
        ASSERT_EQ(session->newProject(ProjectKind::Summary, p), CommandResult::Done);
    }

    CommandResult takeOver(ScriptedPrompter &p, int16_t selected, int16_t *id = nullptr)
    {
        p.files.push_back(user("data.mdb"));
        return ProjectTakeover::run(*session, p, selected, id);
    }

    bool tempCopyExists() const { return exists(ProjectPaths::join(work, "_temp.mdb")); }
};

TEST_F(TakeoverTest, NodeGetsPropertiesSummarySignatoriesAndTotalsAndParentFollowsTheSelection)
{
    ScriptedPrompter p;
    int16_t folder = session->insertFolderNode();
    int16_t inFolder = 0, besideFolder = 0;
    ASSERT_EQ(takeOver(p, folder, &inFolder), CommandResult::Done);
    p.answers.push_back(Answer::No); // the file is a node already: take it over once more all the same
    ASSERT_EQ(takeOver(p, 0, &besideFolder), CommandResult::Done);
    p.answers = {Answer::Yes, Answer::Yes}; // now refresh that node instead, and confirm
    int16_t refreshed = 0;
    ASSERT_EQ(takeOver(p, 0, &refreshed), CommandResult::Done);
    EXPECT_EQ(refreshed, inFolder);
    EXPECT_EQ(session->store().nodes().size(), 4u);
    EXPECT_EQ(session->store().node(inFolder)->parent, folder);
    EXPECT_EQ(session->store().node(besideFolder)->parent, 0);
    EXPECT_EQ(session->store().node(besideFolder)->properties.pmname, "测试项目");
    EXPECT_EQ(session->store().passwordHash(), ""); // the other file's password is not copied
    auto sig = session->store().signatories(besideFolder);
    ASSERT_EQ(sig.size(), 1u); // only summary sheets' signatories
    EXPECT_EQ(sig[0].tbr, "张'三");
    EXPECT_EQ(session->store().sumsById()[16].v1, Amount::fromUnits(2 * 120050));
    EXPECT_FALSE(tempCopyExists());
}

TEST_F(TakeoverTest, WorkingCopyDamagedOrOverflowingFilesAndCancelAddNothing)
{
    ScriptedPrompter p;
    p.files.push_back(std::nullopt);
    EXPECT_EQ(ProjectTakeover::run(*session, p, 0), CommandResult::Cancelled);

    test::writeBytes(user("junk.mdb"), 4096, 'J');
    p.files.push_back(user("junk.mdb"));
    EXPECT_EQ(ProjectTakeover::run(*session, p, 0), CommandResult::Failed);
    EXPECT_TRUE(p.messages().back().ends_with(kOldVersion));

    // A file whose totals cannot be summed without overflow is refused as a whole.
    std::filesystem::copy_file(user("data.mdb"), user("huge.mdb"));
    Database(user("huge.mdb"))
        .exec("INSERT INTO sheetdata (id, pmid, v1) VALUES (20, 0, 9223372036854775807), (20, 1, 5)");
    p.files.push_back(user("huge.mdb"));
    EXPECT_EQ(ProjectTakeover::run(*session, p, 0), CommandResult::Failed);

    EXPECT_EQ(session->store().nodes().size(), 1u);
    EXPECT_TRUE(session->store().sheetData().empty());
    EXPECT_FALSE(tempCopyExists());
    EXPECT_FALSE(session->isModified());
}

TEST_F(TakeoverTest, FailureAfterTheFirstRowsLeavesNothingBehind)
{
    // The node row, the signatories and sheet 16 are in when sheet 58 fails.
    // (The program's connections fire no triggers; this one is the test's.)
    sqlite3_db_config(session->database().handle(), SQLITE_DBCONFIG_ENABLE_TRIGGER, 1, nullptr);
    session->database().exec("CREATE TRIGGER refuse BEFORE INSERT ON sheetdata WHEN NEW.id = 58 "
                             "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    ScriptedPrompter p;
    EXPECT_EQ(takeOver(p, 0), CommandResult::Failed);
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_NE(p.messages()[0].find("_workfile.mdb"), std::string::npos) << "the failure names the file";
    EXPECT_EQ(session->store().nodes().size(), 1u);
    EXPECT_TRUE(session->store().sheetData().empty());
    EXPECT_FALSE(tempCopyExists());
}

} // namespace
} // namespace vantor
