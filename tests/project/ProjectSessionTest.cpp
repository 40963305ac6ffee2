#include "project/ProjectSession.h"

#include "project/ProjectPaths.h"
#include "project/ProjectTakeover.h"
#include "project/ProjectTestSupport.h"
#include "project/Statement.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace vantor {
namespace {

using test::exists;
using test::FakeWorkbook;
using test::ScriptedPrompter;
using test::TempFolder;

constexpr const char *kOldVersion = "\n\n您不能使用本程序打开旧版本的项目文件。";
constexpr const char *kTemplateBroken =
    "系统文件格式错误，请从本软件光盘中复制\n文件template.vtw和template.vtc粘贴到本机程序目录中";

SheetTotals bookTotal(int64_t units)
{
    SheetTotals t;
    t.v1 = Amount::fromUnits(units);
    return t;
}

class SessionTest : public ::testing::Test {
protected:
    SessionTest()
    {
        std::filesystem::create_directories(program);
        std::filesystem::create_directories(work);
        test::makeTemplateDatabase(ProjectPaths::join(program, "template.vtw"));
        FakeWorkbook::writeFile(ProjectPaths::join(program, "template.vtc"), FakeWorkbook::standardLabels());
        session = std::make_unique<ProjectSession>(ProjectSessionConfig{program, work, PasswordCost::minimal()},
                                                   workbook);
    }

    std::string workDb() const { return ProjectPaths::join(work, "_workfile.mdb"); }
    std::string workCll() const { return ProjectPaths::join(work, "_workfile.cll"); }
    bool workingCopiesExist() const { return exists(workDb()) || exists(workCll()); }
    std::string user(const std::string &name) const { return dir.file(name); }

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

    TempFolder dir;
    std::string program = dir.file("program");
    std::string work = dir.file("work");
    FakeWorkbook workbook;
    std::unique_ptr<ProjectSession> session;
};

// --- new ------------------------------------------------------------------

TEST_F(SessionTest, NewDataEntryProjectShowsB10AndIsNotModified)
{
    ScriptedPrompter p;
    EXPECT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    EXPECT_TRUE(p.shown.empty());
    EXPECT_TRUE(session->isOpen());
    EXPECT_EQ(session->kind(), ProjectKind::DataEntry);
    EXPECT_EQ(session->store().kind(), ProjectKind::DataEntry);
    EXPECT_EQ(workbook.shown, 4);
    EXPECT_FALSE(workbook.readOnly);
    EXPECT_EQ(session->currentSheet(), 10);
    EXPECT_EQ(session->currentNode(), 0);
    EXPECT_EQ(session->projectPath(), "");
    EXPECT_EQ(session->windowTitle(), "Vantor");
    EXPECT_TRUE(exists(workDb()));
    EXPECT_TRUE(exists(workCll()));
    EXPECT_FALSE(session->isModified());
}

TEST_F(SessionTest, NewSummaryProjectShowsB1ReadOnly)
{
    ScriptedPrompter p;
    EXPECT_EQ(session->newProject(ProjectKind::Summary, p), CommandResult::Done);
    EXPECT_EQ(session->kind(), ProjectKind::Summary);
    EXPECT_EQ(session->store().kind(), ProjectKind::Summary);
    EXPECT_EQ(workbook.shown, 1);
    EXPECT_TRUE(workbook.readOnly);
}

TEST_F(SessionTest, CancelledKindChangesNothing)
{
    ScriptedPrompter p;
    EXPECT_EQ(session->newProject(ProjectKind::None, p), CommandResult::Cancelled);
    EXPECT_TRUE(p.shown.empty());
    EXPECT_FALSE(session->isOpen());
    EXPECT_FALSE(workingCopiesExist());
}

TEST_F(SessionTest, TemplateProblemsAreReportedInOrder)
{
    const std::string vtw = ProjectPaths::join(program, "template.vtw");
    const std::string vtc = ProjectPaths::join(program, "template.vtc");
    const std::string tail = "\n请从本软件光盘中复制此文件粘贴到本机程序目录中。";
    struct Case {
        const char *name;
        std::function<void()> damage;
        std::string message;
    };
    const std::vector<Case> cases{
        {"both missing", [&] { std::filesystem::remove(vtw), std::filesystem::remove(vtc); },
         "系统文件template.vtc不存在" + tail},
        {"vtw missing", [&] { std::filesystem::remove(vtw); }, "系统文件template.vtw不存在" + tail},
        {"vtw 1023 bytes", [&] { test::writeBytes(vtw, 1023); }, "系统文件template.vtw格式错误" + tail},
        {"both short", [&] { test::writeBytes(vtw, 1023), test::writeBytes(vtc, 10); },
         "系统文件template.vtw格式错误" + tail},
        {"vtc 1023 bytes", [&] { FakeWorkbook::writeFile(vtc, FakeWorkbook::standardLabels(), 0), test::writeBytes(vtc, 1023); },
         "系统文件template.vtc格式错误" + tail},
        {"vtc without b10 at index 4",
         [&] { FakeWorkbook::writeFile(vtc, {"b0", "b1", "b2", "b3", "b16", "b10"}); }, kTemplateBroken},
        {"vtw of 1024 bytes that is no database", [&] { test::writeBytes(vtw, 1024); },
         std::string("文件不是Vantor项目数据库") + "\n" + kTemplateBroken},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        test::makeTemplateDatabase(vtw + ".tmp");
        std::filesystem::rename(vtw + ".tmp", vtw);
        FakeWorkbook::writeFile(vtc, FakeWorkbook::standardLabels());
        c.damage();
        ScriptedPrompter p;
        EXPECT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Failed);
        ASSERT_EQ(p.messages().size(), 1u);
        if (c.message == std::string("文件不是Vantor项目数据库") + "\n" + kTemplateBroken)
            EXPECT_NE(p.messages()[0].find(kTemplateBroken), std::string::npos);
        else
            EXPECT_EQ(p.messages()[0], c.message);
        EXPECT_EQ(p.shown[0].icon, MessageIcon::Critical);
        EXPECT_FALSE(session->isOpen());
        EXPECT_EQ(session->kind(), ProjectKind::None);
        EXPECT_FALSE(workingCopiesExist());
    }
}

TEST_F(SessionTest, SummaryTemplateNeedsB1AtIndexOne)
{
    FakeWorkbook::writeFile(ProjectPaths::join(program, "template.vtc"), {"b0", "b2", "b1", "b3", "b10"});
    ScriptedPrompter p;
    EXPECT_EQ(session->newProject(ProjectKind::Summary, p), CommandResult::Failed);
    EXPECT_EQ(p.messages(), std::vector<std::string>{kTemplateBroken});
    EXPECT_FALSE(workingCopiesExist());
    EXPECT_EQ(workbook.labels, std::vector<std::string>{"Sheet1"}); // component emptied
    // The same template is fine for a data-entry project.
    EXPECT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
}

TEST_F(SessionTest, LeftoverJournalDoesNotReachTheNewWorkingCopy)
{
    test::writeBytes(workDb() + "-journal", 4096, '\0');
    ScriptedPrompter p;
    EXPECT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    EXPECT_FALSE(exists(workDb() + "-journal"));
    EXPECT_EQ(session->store().kind(), ProjectKind::DataEntry);
}

// --- save -------------------------------------------------------------------

TEST_F(SessionTest, FirstSaveAsksForANameAndWritesThePair)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    int beforeSave = 0;
    session->setBeforeSave([&] { ++beforeSave; });
    p.files.push_back(user("job")); // typed without extension
    EXPECT_EQ(session->saveProject(p), CommandResult::Done);
    EXPECT_EQ(p.shown.back().kind, "save");
    EXPECT_EQ(p.shown.back().title, "保存");
    EXPECT_EQ(session->projectPath(), user("job.mdb"));
    EXPECT_EQ(session->workbookPath(), user("job.cll"));
    EXPECT_EQ(session->windowTitle(), "Vantor--" + user("job.mdb"));
    EXPECT_TRUE(exists(user("job.mdb")));
    EXPECT_TRUE(exists(user("job.cll")));
    EXPECT_EQ(beforeSave, 1);
    EXPECT_FALSE(session->isModified());
    Database copy(user("job.mdb"));
    EXPECT_NO_THROW(ProjectSchema::check(copy));

    // A second save asks nothing.
    workbook.modified = true;
    EXPECT_EQ(session->saveProject(p), CommandResult::Done);
    EXPECT_EQ(p.shown.size(), 1u);
    EXPECT_FALSE(workbook.modified);
    EXPECT_EQ(beforeSave, 2);
}

TEST_F(SessionTest, CancelledSaveDialogWritesNothing)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    p.files.push_back(std::nullopt);
    EXPECT_EQ(session->saveProject(p), CommandResult::Cancelled);
    EXPECT_EQ(session->projectPath(), "");
    EXPECT_EQ(session->windowTitle(), "Vantor");
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("work/MyFiles")));
}

TEST_F(SessionTest, SavingOntoTheWorkingCopyIsRefused)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    for (std::string target : {workDb(), ProjectPaths::join(work, "_workfile"), ProjectPaths::join(work, "_workfile.cll"),
                               work + "/MyFiles/../_workfile.mdb"}) {
        p.files.push_back(target);
        EXPECT_EQ(session->saveProject(p), CommandResult::Failed) << target;
        EXPECT_EQ(p.messages().back(), "您试图把项目保存为临时工作文件，请选择其他文件名。");
    }
    EXPECT_EQ(workbook.saves, 0);
    EXPECT_TRUE(session->isOpen());
    EXPECT_NO_THROW(session->store().kind());
    EXPECT_EQ(session->projectPath(), "");
}

TEST_F(SessionTest, FailedSaveKeepsThePreviousFilesAndTellsTheUser)
{
    makeSavedProject("job.mdb");
    const std::string oldDb = test::readAll(user("job.mdb"));
    const std::string oldCll = test::readAll(user("job.cll"));
    ScriptedPrompter p;
    ASSERT_EQ(open(p, user("job.mdb")), CommandResult::Done);
    NodeProperties changed;
    changed.pmname = "改过";
    session->store().updateNodeProperties(0, changed);
    workbook.labels.push_back("b99");
    workbook.failSave = true;
    EXPECT_EQ(session->saveProject(p), CommandResult::Failed);
    ASSERT_FALSE(p.messages().empty());
    EXPECT_NE(p.messages().back().find("原来的项目文件没有改变"), std::string::npos);
    EXPECT_EQ(p.shown.back().title, "保存项目文件失败");
    EXPECT_EQ(test::readAll(user("job.mdb")), oldDb);
    EXPECT_EQ(test::readAll(user("job.cll")), oldCll);
    EXPECT_TRUE(session->isModified());
}

TEST_F(SessionTest, WorkbookThatCannotBeRenamedIntoPlaceKeepsTheOldDatabase)
{
    makeSavedProject("job.mdb");
    const std::string oldDb = test::readAll(user("job.mdb"));
    ScriptedPrompter p;
    ASSERT_EQ(open(p, user("job.mdb")), CommandResult::Done);
    session->store().setKind(ProjectKind::DataEntry);
    NodeProperties changed;
    changed.pmname = "改过";
    session->store().updateNodeProperties(0, changed);
    std::filesystem::remove(user("job.cll"));
    std::filesystem::create_directories(user("job.cll/blocker"));
    EXPECT_EQ(session->saveProject(p), CommandResult::Failed);
    EXPECT_EQ(test::readAll(user("job.mdb")), oldDb);
}

// --- close ------------------------------------------------------------------

TEST_F(SessionTest, ClosingAnUnchangedProjectAsksNothing)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    EXPECT_EQ(session->closeProject(p), CommandResult::Done);
    EXPECT_TRUE(p.shown.empty());
    EXPECT_FALSE(session->isOpen());
    EXPECT_FALSE(workingCopiesExist());
    EXPECT_EQ(session->kind(), ProjectKind::None);
    EXPECT_EQ(session->windowTitle(), "Vantor");
    EXPECT_TRUE(workbook.readOnly);
    EXPECT_EQ(session->closeProject(p), CommandResult::Done); // nothing open
}

TEST_F(SessionTest, CancelInTheSavePromptKeepsTheProjectOpen)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    workbook.modified = true;
    p.answers.push_back(Answer::Cancel);
    EXPECT_EQ(session->closeProject(p), CommandResult::Cancelled);
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].text, "项目文件数据已经改动，是否保存改变？");
    EXPECT_EQ(p.shown[0].title, "Vantor");
    EXPECT_EQ(p.shown[0].icon, MessageIcon::Question);
    EXPECT_TRUE(session->isOpen());
    EXPECT_TRUE(exists(workDb()));
}

TEST_F(SessionTest, YesThenCancelledSaveDialogIsCancelled)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    workbook.modified = true;
    p.answers.push_back(Answer::Yes);
    p.files.push_back(std::nullopt);
    EXPECT_EQ(session->closeProject(p), CommandResult::Cancelled);
    EXPECT_TRUE(session->isOpen());
    EXPECT_TRUE(exists(workDb()));
    EXPECT_TRUE(exists(workCll()));
}

TEST_F(SessionTest, YesSavesThenCloses)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    int beforeSave = 0;
    session->setBeforeSave([&] { ++beforeSave; });
    workbook.modified = true;
    p.answers.push_back(Answer::Yes);
    p.files.push_back(user("saved.mdb"));
    EXPECT_EQ(session->closeProject(p), CommandResult::Done);
    EXPECT_EQ(beforeSave, 1);
    EXPECT_TRUE(exists(user("saved.mdb")));
    EXPECT_TRUE(exists(user("saved.cll")));
    EXPECT_FALSE(session->isOpen());
    EXPECT_FALSE(workingCopiesExist());
}

TEST_F(SessionTest, YesWithAFailingSaveKeepsTheProjectOpen)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    workbook.modified = true;
    workbook.failSave = true;
    p.answers.push_back(Answer::Yes);
    p.files.push_back(user("saved.mdb"));
    EXPECT_NE(session->closeProject(p), CommandResult::Done);
    EXPECT_TRUE(session->isOpen());
    EXPECT_FALSE(exists(user("saved.mdb")));
    EXPECT_FALSE(exists(user("saved.cll")));
}

TEST_F(SessionTest, NoDiscardsChangesAndLeavesTheUserFilesAlone)
{
    makeSavedProject("job.mdb");
    const std::string oldDb = test::readAll(user("job.mdb"));
    ScriptedPrompter p;
    ASSERT_EQ(open(p, user("job.mdb")), CommandResult::Done);
    workbook.modified = true;
    p.answers.push_back(Answer::No);
    EXPECT_EQ(session->closeProject(p), CommandResult::Done);
    EXPECT_EQ(test::readAll(user("job.mdb")), oldDb);
    EXPECT_FALSE(workingCopiesExist());
}

TEST_F(SessionTest, ChangesOnlyInTheDatabaseRaiseTheSavePrompt)
{
    const std::vector<std::pair<const char *, std::function<void(ProjectStore &)>>> changes{
        {"node properties", [](ProjectStore &s) { s.updateNodeProperties(0, NodeProperties{}); }},
        {"password",
         [](ProjectStore &s) { ProjectPassword::apply(s, std::string("pw"), std::string("pw"), PasswordCost::minimal()); }},
        {"sheet title", [](ProjectStore &s) { s.updateSheetName(16, "表3-4", "改名"); }},
        {"signatories", [](ProjectStore &s) { s.replaceSignatories(0, {{16, "张三", "", std::nullopt}}); }},
        {"sheet totals", [](ProjectStore &s) { s.writeSheetTotals(16, 0, bookTotal(1)); }},
    };
    for (const auto &[name, change] : changes) {
        SCOPED_TRACE(name);
        ScriptedPrompter p;
        ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
        EXPECT_FALSE(session->isModified());
        change(session->store());
        EXPECT_TRUE(session->isModified());
        p.answers.push_back(Answer::No);
        EXPECT_EQ(session->closeProject(p), CommandResult::Done);
        EXPECT_EQ(p.shown.size(), 1u);
    }
}

TEST_F(SessionTest, NodesAddedAndDeletedCountAsChangesInASummaryProject)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::Summary, p), CommandResult::Done);
    int16_t id = session->store().insertFolderNode();
    EXPECT_TRUE(session->isModified());
    p.files.push_back(user("sum.mdb"));
    ASSERT_EQ(session->saveProject(p), CommandResult::Done);
    EXPECT_FALSE(session->isModified());
    session->store().deleteNode(id);
    EXPECT_TRUE(session->isModified());
}

TEST_F(SessionTest, RewritingUnchangedTotalsIsNotAModification)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    session->store().writeSheetTotals(16, 0, bookTotal(5));
    p.files.push_back(user("job.mdb"));
    ASSERT_EQ(session->saveProject(p), CommandResult::Done);
    session->store().writeSheetTotals(16, 0, bookTotal(5));
    session->store().writeSheetTotals(17, 0, SheetTotals{});
    EXPECT_FALSE(session->isModified());
}

TEST_F(SessionTest, DestroyingTheSessionRemovesTheWorkingCopies)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    // The component may be gone by then: the session must not touch it.
    auto component = std::make_unique<FakeWorkbook>();
    auto other = std::make_unique<ProjectSession>(ProjectSessionConfig{program, dir.file("work2"), PasswordCost::minimal()},
                                                  *component);
    std::filesystem::create_directories(dir.file("work2"));
    ASSERT_EQ(other->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    component.reset();
    other.reset();
    EXPECT_FALSE(exists(dir.file("work2/_workfile.mdb")));
    EXPECT_FALSE(exists(dir.file("work2/_workfile.cll")));
    session.reset();
    EXPECT_FALSE(workingCopiesExist());
}

// --- open -------------------------------------------------------------------

TEST_F(SessionTest, SavedProjectOpensWithItsPropertiesAndTitle)
{
    makeSavedProject("job.mdb");
    ScriptedPrompter p;
    EXPECT_EQ(open(p, user("job.mdb")), CommandResult::Done);
    EXPECT_EQ(p.shown.size(), 1u); // the open dialog only
    EXPECT_EQ(p.shown[0].title, "打开");
    EXPECT_EQ(session->kind(), ProjectKind::DataEntry);
    EXPECT_EQ(session->currentSheet(), 10);
    EXPECT_EQ(session->currentNode(), 0);
    EXPECT_EQ(session->windowTitle(), "Vantor--" + user("job.mdb"));
    EXPECT_EQ(session->statusProjectName(), "项目名称：测试项目");
    EXPECT_EQ(session->statusUnit(), "资产占有单位：甲公司");
    EXPECT_EQ(workbook.sheetLabel(workbook.shown), "b10");
    EXPECT_FALSE(workbook.readOnly);
    EXPECT_FALSE(session->isModified());
    EXPECT_TRUE(exists(workDb()));
    EXPECT_TRUE(exists(workCll()));
}

TEST_F(SessionTest, SummaryProjectOpensOnB1)
{
    makeSavedProject("sum.mdb", ProjectKind::Summary);
    ScriptedPrompter p;
    EXPECT_EQ(open(p, user("sum.mdb")), CommandResult::Done);
    EXPECT_EQ(session->kind(), ProjectKind::Summary);
    EXPECT_EQ(workbook.sheetLabel(workbook.shown), "b1");
    EXPECT_TRUE(workbook.readOnly);
}

TEST_F(SessionTest, CancelledOpenDialogChangesNothing)
{
    ScriptedPrompter p;
    p.files.push_back(std::nullopt);
    EXPECT_EQ(session->openProject(p, ProjectSession::promptLogin(p)), CommandResult::Cancelled);
    EXPECT_FALSE(session->isOpen());
    EXPECT_FALSE(workingCopiesExist());
}

TEST_F(SessionTest, ProjectFileSizeLimitIs1024Bytes)
{
    makeSavedProject("job.mdb");
    // 1023 bytes: refused by the size test.
    test::writeBytes(user("short.mdb"), 1023);
    std::filesystem::copy_file(user("job.cll"), user("short.cll"));
    ScriptedPrompter p;
    EXPECT_EQ(open(p, user("short.mdb")), CommandResult::Failed);
    EXPECT_EQ(p.messages().back(), "项目文件" + user("short.mdb") + "格式错误");
    EXPECT_EQ(p.shown.back().title, "打开项目文件失败");
    EXPECT_FALSE(workingCopiesExist());

    // 1024 bytes passes the size test and fails as a database.
    test::writeBytes(user("edge.mdb"), 1024);
    std::filesystem::copy_file(user("job.cll"), user("edge.cll"));
    EXPECT_EQ(open(p, user("edge.mdb")), CommandResult::Failed);
    const std::string message = p.messages().back();
    ASSERT_GT(message.size(), std::string(kOldVersion).size());
    EXPECT_EQ(message.substr(message.size() - std::string(kOldVersion).size()), kOldVersion);
    EXPECT_NE(message, std::string(kOldVersion).substr(2)); // a description comes first
    EXPECT_FALSE(session->isOpen());
    EXPECT_FALSE(workingCopiesExist());
    EXPECT_EQ(session->projectPath(), "");
}

TEST_F(SessionTest, MissingOrShortWorkbookIsReported)
{
    makeSavedProject("job.mdb");
    const std::string expected =
        "项目文件" + user("job.mdb") + "\n的数据文件" + user("job.cll") + "不存在或文件格式错误";
    for (int size : {-1, 1000, 1023}) {
        SCOPED_TRACE(size);
        std::filesystem::remove(user("job.cll"));
        if (size >= 0)
            test::writeBytes(user("job.cll"), static_cast<size_t>(size));
        ScriptedPrompter p;
        EXPECT_EQ(open(p, user("job.mdb")), CommandResult::Failed);
        EXPECT_EQ(p.messages(), std::vector<std::string>{expected});
        EXPECT_FALSE(workingCopiesExist());
    }
}

TEST_F(SessionTest, WorkbookWithoutItsKeySheetIsClosedAgain)
{
    struct Case {
        ProjectKind kind;
        std::vector<std::string> labels;
    };
    const std::vector<Case> cases{
        {ProjectKind::DataEntry, {"b0", "b1", "b2", "b3", "b11", "b16"}},
        {ProjectKind::Summary, {"b0", "b2", "b3", "b10", "b16"}},
    };
    for (const Case &c : cases) {
        makeSavedProject("job.mdb", c.kind);
        FakeWorkbook::writeFile(user("job.cll"), c.labels);
        ScriptedPrompter p;
        EXPECT_EQ(open(p, user("job.mdb")), CommandResult::Failed);
        EXPECT_EQ(p.messages(), std::vector<std::string>{
                                    "数据文件格式错误，请与Vantor技术支持联系，以获得最大可能的文件修复服务。"});
        EXPECT_FALSE(session->isOpen());
        EXPECT_EQ(session->kind(), ProjectKind::None);
        EXPECT_EQ(session->projectPath(), "");
        EXPECT_FALSE(workingCopiesExist());
        EXPECT_EQ(workbook.labels, std::vector<std::string>{"Sheet1"});
    }
}

TEST_F(SessionTest, KeySheetIsFoundAnywhereInTheWorkbook)
{
    makeSavedProject("job.mdb");
    FakeWorkbook::writeFile(user("job.cll"), {"b16", "b20", "b10"});
    ScriptedPrompter p;
    EXPECT_EQ(open(p, user("job.mdb")), CommandResult::Done);
    EXPECT_EQ(workbook.shown, 2);
}

TEST_F(SessionTest, DamagedWorkbookGetsTheOldVersionMessage)
{
    makeSavedProject("job.mdb");
    test::writeBytes(user("job.cll"), 5000, 'Z');
    ScriptedPrompter p;
    EXPECT_EQ(open(p, user("job.mdb")), CommandResult::Failed);
    EXPECT_EQ(p.messages().back(), std::string("文件不是工作簿文件") + kOldVersion);
    EXPECT_FALSE(workingCopiesExist());
}

TEST_F(SessionTest, ForeignOrNewerDatabaseIsRefused)
{
    makeSavedProject("job.mdb");
    {
        Database db(user("job.mdb"));
        db.exec("PRAGMA user_version = 2");
    }
    ScriptedPrompter p;
    EXPECT_EQ(open(p, user("job.mdb")), CommandResult::Failed);
    EXPECT_EQ(p.messages().back(), std::string("项目文件的版本(2)不是本程序能读取的版本(1)") + kOldVersion);
    EXPECT_FALSE(workingCopiesExist());
}

TEST_F(SessionTest, ProjectFileWithItsOwnTriggerIsRefusedBeforeAnythingRuns)
{
    makeSavedProject("job.mdb");
    {
        sqlite3 *raw = nullptr;
        ASSERT_EQ(sqlite3_open(user("job.mdb").c_str(), &raw), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(raw, "CREATE TRIGGER wipe AFTER INSERT ON sheetdata BEGIN DELETE FROM pmprop; END",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(raw);
    }
    const std::string before = test::readAll(user("job.mdb"));
    ScriptedPrompter p;
    EXPECT_EQ(open(p, user("job.mdb")), CommandResult::Failed);
    EXPECT_EQ(p.messages().back(), std::string("项目文件已损坏：含有本程序不认识的触发器“wipe”") + kOldVersion);
    EXPECT_FALSE(session->isOpen());
    EXPECT_FALSE(workingCopiesExist());
    EXPECT_EQ(test::readAll(user("job.mdb")), before);
}

TEST_F(SessionTest, OpeningTheWorkingCopyIsRefused)
{
    ScriptedPrompter p;
    EXPECT_EQ(open(p, workDb()), CommandResult::Failed);
    EXPECT_EQ(p.messages().back(), "您试图打开临时工作文件，请不要这样做。");
}

TEST_F(SessionTest, OpeningKeepsTheUserFilesUntouched)
{
    makeSavedProject("job.mdb");
    const std::string db = test::readAll(user("job.mdb"));
    const std::string cll = test::readAll(user("job.cll"));
    ScriptedPrompter p;
    ASSERT_EQ(open(p, user("job.mdb")), CommandResult::Done);
    session->store().updateNodeProperties(0, NodeProperties{});
    workbook.modified = true;
    p.answers.push_back(Answer::No);
    ASSERT_EQ(session->closeProject(p), CommandResult::Done);
    EXPECT_EQ(test::readAll(user("job.mdb")), db);
    EXPECT_EQ(test::readAll(user("job.cll")), cll);
}

TEST_F(SessionTest, HostilePropertiesSurviveSaveAndOpen)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    NodeProperties props;
    props.pmname = "O'Brien's";
    props.zczydw = "'); DROP TABLE pmprop; --";
    props.frdb = "请输入";
    session->store().updateNodeProperties(0, props, ProjectKind::DataEntry);
    session->store().replaceSignatories(0, {{16, "李'四", "王五'", std::nullopt}});
    p.files.push_back(dir.file("it's a.b folder/job"));
    std::filesystem::create_directories(dir.file("it's a.b folder"));
    ASSERT_EQ(session->saveProject(p), CommandResult::Done);
    ASSERT_EQ(session->closeProject(p), CommandResult::Done);
    ASSERT_EQ(open(p, dir.file("it's a.b folder/job.mdb")), CommandResult::Done);
    auto node = session->store().node(0);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->properties.pmname, props.pmname);
    EXPECT_EQ(node->properties.zczydw, props.zczydw);
    EXPECT_EQ(node->properties.frdb, "请输入");
    auto sig = session->store().signatories(0);
    ASSERT_EQ(sig.size(), 1u);
    EXPECT_EQ(sig[0].tbr, "李'四");
    EXPECT_EQ(session->workbookPath(), dir.file("it's a.b folder/job.cll"));
}

// --- password ---------------------------------------------------------------

TEST_F(SessionTest, ProjectWithoutPasswordOpensWithoutAPrompt)
{
    makeSavedProject("job.mdb");
    ScriptedPrompter p;
    EXPECT_EQ(open(p, user("job.mdb")), CommandResult::Done);
    for (const auto &s : p.shown)
        EXPECT_NE(s.kind, "input");
}

TEST_F(SessionTest, WrongPasswordsRepeatThePromptUntilTheRightOne)
{
    makeSavedProject("job.mdb", ProjectKind::DataEntry, "Pa'ss");
    {
        Database raw(user("job.mdb"));
        Statement st = raw.prepare("SELECT pwd FROM pmprop WHERE pmid = 0");
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.columnText(0).find("Pa'ss"), std::string::npos) << "stored in plain text";
    }
    ScriptedPrompter p;
    p.inputs = {std::string("pa'ss"), std::string("wrong"), std::string("Pa'ss")};
    EXPECT_EQ(open(p, user("job.mdb")), CommandResult::Done);
    auto messages = p.messages();
    EXPECT_EQ(messages, (std::vector<std::string>{"无效的密码，请重试！", "无效的密码，请重试！"}));
    int inputs = 0;
    for (const auto &s : p.shown) {
        if (s.kind == "input") {
            ++inputs;
            EXPECT_EQ(s.title, "要求输入密码");
        }
        if (s.kind == "message") {
            EXPECT_EQ(s.title, "安全验证");
            EXPECT_EQ(s.icon, MessageIcon::Critical);
        }
    }
    EXPECT_EQ(inputs, 3);
    EXPECT_TRUE(session->isOpen());
}

TEST_F(SessionTest, CancelledLoginLeavesNoWorkingCopies)
{
    makeSavedProject("job.mdb", ProjectKind::DataEntry, "secret");
    ScriptedPrompter p;
    p.inputs = {std::string("nope"), std::nullopt};
    EXPECT_EQ(open(p, user("job.mdb")), CommandResult::Cancelled);
    EXPECT_FALSE(session->isOpen());
    EXPECT_FALSE(workingCopiesExist());
    EXPECT_EQ(session->projectPath(), "");
    EXPECT_EQ(workbook.labels, std::vector<std::string>{"Sheet1"});
}

TEST_F(SessionTest, RemovedPasswordOpensWithoutAPromptAfterSaving)
{
    makeSavedProject("job.mdb", ProjectKind::DataEntry, "secret");
    ScriptedPrompter p;
    p.inputs = {std::string("secret")};
    ASSERT_EQ(open(p, user("job.mdb")), CommandResult::Done);
    ProjectPassword::apply(session->store(), std::string(), std::string(), PasswordCost::minimal());
    ASSERT_EQ(session->saveProject(p), CommandResult::Done);
    ASSERT_EQ(session->closeProject(p), CommandResult::Done);
    ASSERT_EQ(open(p, user("job.mdb")), CommandResult::Done);
    EXPECT_TRUE(p.inputs.empty());
    int inputs = 0;
    for (const auto &s : p.shown)
        inputs += s.kind == "input";
    EXPECT_EQ(inputs, 1); // only the first opening asked
}

} // namespace
} // namespace vantor

namespace vantor {
namespace {

// --- project tree commands ------------------------------------------------------

TEST_F(SessionTest, FolderNodeBecomesCurrentAndDeletionReturnsToTheRoot)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::Summary, p), CommandResult::Done);
    int16_t folder = session->insertFolderNode();
    EXPECT_EQ(folder, 1);
    EXPECT_EQ(session->currentNode(), folder);
    NodeProperties a;
    a.pmname = "甲";
    session->store().insertDataNode(folder, a);
    session->store().insertDataNode(folder, a);
    session->store().writeSheetTotals(16, 2, bookTotal(7));

    p.answers = {Answer::No, Answer::Cancel};
    EXPECT_EQ(session->deleteCurrentNode(p, "子目录"), CommandResult::Cancelled);
    EXPECT_EQ(session->deleteCurrentNode(p, "子目录"), CommandResult::Cancelled);
    EXPECT_EQ(session->store().nodes().size(), 4u);
    EXPECT_EQ(p.shown[0].text, "此操作将删除子目录及其子目录全部数据");
    EXPECT_EQ(p.shown[0].icon, MessageIcon::Warning);

    p.answers = {Answer::Yes};
    EXPECT_EQ(session->deleteCurrentNode(p, "子目录"), CommandResult::Done);
    EXPECT_EQ(session->store().nodes().size(), 1u);
    EXPECT_TRUE(session->store().sheetData().empty());
    EXPECT_EQ(session->currentNode(), 0);
    // The root is never offered for deletion.
    EXPECT_EQ(session->deleteCurrentNode(p, "全部项目汇总"), CommandResult::Cancelled);
    EXPECT_EQ(session->store().nodes().size(), 1u);
}

TEST_F(SessionTest, PropertiesOfANewProjectAlsoStoreItsKind)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::Summary, p), CommandResult::Done);
    session->database().exec("UPDATE pmprop SET nodetype = 1 WHERE pmid = 0");
    NodeProperties props;
    props.pmname = "汇总";
    session->storeNodeProperties(props);
    EXPECT_EQ(session->store().kind(), ProjectKind::Summary);
    EXPECT_EQ(session->statusProjectName(), "项目名称：汇总");

    // A folder node keeps its type even before the first save.
    int16_t folder = session->insertFolderNode();
    session->storeNodeProperties(props);
    EXPECT_EQ(session->store().node(folder)->nodetype, 0);
}

} // namespace
} // namespace vantor


namespace vantor {
namespace {

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

TEST_F(TakeoverTest, NodeGetsPropertiesSummarySignatoriesAndTotals)
{
    ScriptedPrompter p;
    int16_t id = 0;
    ASSERT_EQ(takeOver(p, 0, &id), CommandResult::Done);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(session->currentNode(), id);
    auto node = session->store().node(id);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->nodetype, 1);
    EXPECT_EQ(node->parent, 0);
    EXPECT_EQ(node->properties.pmname, "测试项目");
    EXPECT_EQ(session->store().passwordHash(), ""); // the other file's password is not copied
    auto sig = session->store().signatories(id);
    ASSERT_EQ(sig.size(), 1u); // only summary sheets' signatories
    EXPECT_EQ(sig[0].tbr, "张'三");
    auto sums = session->store().sumsById({id});
    EXPECT_EQ(sums.size(), 2u);
    EXPECT_EQ(sums[16].v1, Amount::fromUnits(120050));
    EXPECT_EQ(sums[58].v1, Amount::fromUnits(-30000));
    EXPECT_FALSE(tempCopyExists());
    EXPECT_TRUE(session->isModified());
}

TEST_F(TakeoverTest, SameProjectTwiceGivesTwoNodesWithEqualTotals)
{
    ScriptedPrompter p;
    int16_t a = 0, b = 0;
    ASSERT_EQ(takeOver(p, 0, &a), CommandResult::Done);
    ASSERT_EQ(takeOver(p, 0, &b), CommandResult::Done);
    EXPECT_NE(a, b);
    EXPECT_EQ(session->store().sumsById({a}), session->store().sumsById({b}));
    EXPECT_EQ(session->store().sumsById()[16].v1, Amount::fromUnits(240100));
}

TEST_F(TakeoverTest, ParentFollowsTheSelectedEntry)
{
    ScriptedPrompter p;
    int16_t folder = session->insertFolderNode();
    int16_t inFolder = 0, besideFolder = 0, fromNodeInFolder = 0, fromNodeAtRoot = 0;
    ASSERT_EQ(takeOver(p, folder, &inFolder), CommandResult::Done);
    ASSERT_EQ(takeOver(p, 0, &besideFolder), CommandResult::Done);
    ASSERT_EQ(takeOver(p, inFolder, &fromNodeInFolder), CommandResult::Done);
    ASSERT_EQ(takeOver(p, besideFolder, &fromNodeAtRoot), CommandResult::Done);
    EXPECT_EQ(session->store().node(inFolder)->parent, folder);
    EXPECT_EQ(session->store().node(besideFolder)->parent, 0);
    EXPECT_EQ(session->store().node(fromNodeInFolder)->parent, folder);
    EXPECT_EQ(session->store().node(fromNodeAtRoot)->parent, 0);
}

TEST_F(TakeoverTest, WorkingCopyAndDamagedFilesAddNothing)
{
    ScriptedPrompter p;
    p.files.push_back(workDb());
    EXPECT_EQ(ProjectTakeover::run(*session, p, 0), CommandResult::Failed);
    EXPECT_EQ(p.messages().back(), "您试图打开临时工作文件，请不要这样做。");

    test::writeBytes(user("junk.mdb"), 4096, 'J');
    p.files.push_back(user("junk.mdb"));
    EXPECT_EQ(ProjectTakeover::run(*session, p, 0), CommandResult::Failed);
    const std::string tail = "\n\n您不能使用本程序打开旧版本的项目文件。";
    EXPECT_EQ(p.messages().back().substr(p.messages().back().size() - tail.size()), tail);

    // A file whose totals cannot be summed without overflow is refused as a whole.
    std::filesystem::copy_file(user("data.mdb"), user("huge.mdb"));
    {
        Database db(user("huge.mdb"));
        db.exec("INSERT INTO sheetdata (id, pmid, v1) VALUES (20, 0, 9223372036854775807), (20, 1, 5)");
    }
    p.files.push_back(user("huge.mdb"));
    EXPECT_EQ(ProjectTakeover::run(*session, p, 0), CommandResult::Failed);

    EXPECT_EQ(session->store().nodes().size(), 1u);
    EXPECT_TRUE(session->store().sheetData().empty());
    EXPECT_EQ(session->currentNode(), 0);
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
    EXPECT_EQ(p.messages()[0].rfind("disk full", 0), 0u);
    EXPECT_EQ(session->store().nodes().size(), 1u);
    EXPECT_TRUE(session->store().sheetData().empty());
    EXPECT_TRUE(session->store().signatories(1).empty());
    EXPECT_EQ(session->currentNode(), 0);
    EXPECT_FALSE(tempCopyExists());
}

TEST_F(TakeoverTest, CancelledDialogAndDataEntryProjectsDoNothing)
{
    ScriptedPrompter p;
    p.files.push_back(std::nullopt);
    EXPECT_EQ(ProjectTakeover::run(*session, p, 0), CommandResult::Cancelled);
    ASSERT_EQ(session->closeProject(p), CommandResult::Done);
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    EXPECT_EQ(ProjectTakeover::run(*session, p, 0), CommandResult::Cancelled); // no dialog shown
    EXPECT_EQ(session->store().nodes().size(), 1u);
}

} // namespace
} // namespace vantor
