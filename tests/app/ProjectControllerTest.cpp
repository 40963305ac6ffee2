// The project commands in the main window: new projects of both kinds, the tree,
// title and status bar that follow them, save / close / open, the cancel paths of
// closing the window, tree clicks, folder nodes, adding a detail sheet and the password.
#include "app/ProjectController.h"
#include "app/SheetTotalsWiring.h"
#include "app/frmMain.h"
#include "project/ProjectPaths.h"
#include "project/ProjectStore.h"
#include "project/ProjectTree.h"
#include "project/dialogs/dlgPmprop.h"
#include "project/dialogs/dlgPmtype.h"
#include "sheet_component/engine/Workbook.h"
#include "support/ScriptedProjectDialogs.h"
#include "support/ScriptedPrompter.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace vantor {
namespace {

using C = CommandId;
using test::ScriptedPrompter;

std::vector<std::string> topKeys(QTreeWidget *tree)
{
    std::vector<std::string> keys;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        keys.push_back(tree->topLevelItem(i)->data(0, frmMain::treeKeyRole).toString().toStdString());
    return keys;
}

class ProjectControllerTest : public ::testing::Test {
protected:
    ProjectControllerTest() : window(state)
    {
        ProjectSessionConfig config{VANTOR_BIN_DIR, work.path().toStdString(), PasswordCost::minimal()};
        controller = std::make_unique<ProjectController>(window, config);
        controller->setDialogs(&dialogs);
        window.setPrompter(&prompter);
        window.hooks().writeSheetTotals = [this](short sheet) { totalsWritten.push_back(sheet); };
    }
    ~ProjectControllerTest() override
    {
        controller.reset();
        window.setPrompter(nullptr);
    }

    void newProject(ProjectKind kind, const std::string &name = "测试项目", const std::string &unit = "甲公司")
    {
        dialogs.kinds.push_back(kind);
        dialogs.forms.push_back(test::filledForm(name, unit));
        ASSERT_EQ(controller->newProject(), CommandResult::Done);
    }
    std::string file(const char *name) const { return user.filePath(name).toStdString(); }
    bool workingCopiesExist() const
    {
        return std::filesystem::exists(ProjectPaths::join(work.path().toStdString(), "_workfile.mdb")) ||
               std::filesystem::exists(ProjectPaths::join(work.path().toStdString(), "_workfile.cll"));
    }
    std::string currentLabel() { return window.workbook().DoGetSheetLabel(window.workbook().CurrentSheet()); }
    void touchWorkbook() { window.workbook().DoSetModified(true); }

    QTemporaryDir work;
    QTemporaryDir user;
    ProgramState state;
    frmMain window;
    ScriptedPrompter prompter;
    test::ScriptedProjectDialogs dialogs;
    std::unique_ptr<ProjectController> controller;
    std::vector<short> totalsWritten;
};

TEST_F(ProjectControllerTest, NewDataEntryProjectFillsTreeStatusAndCommands)
{
    window.setWindowTitle("Vantor");
    dialogs.kinds.push_back(ProjectKind::None); // the kind dialog cancelled first: nothing happens
    EXPECT_EQ(controller->newProject(), CommandResult::Cancelled);
    EXPECT_FALSE(state.projectOpen || workingCopiesExist());
    newProject(ProjectKind::DataEntry);

    QTreeWidget *tree = window.projectTree();
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    EXPECT_EQ(currentLabel(), "b10");
    EXPECT_EQ(window.windowTitle(), "Vantor"); // a new project keeps the title
    EXPECT_EQ(window.statusPanel(1), tree->topLevelItem(0)->text(0));
    EXPECT_EQ(window.statusPanel(3), "资产占有单位：甲公司");
    EXPECT_TRUE(window.commandStates().menuEnabled(C::InsertSheet));
}

TEST_F(ProjectControllerTest, SaveCloseAndOpenAgain)
{
    newProject(ProjectKind::DataEntry);
    window.workbook().DoSetCellData(2, 3, 1200.5);
    const std::string path = file("job.mdb");
    prompter.files.push_back(file("job")); // no extension typed
    window.dispatcher().dispatch(C::FileSave);
    EXPECT_EQ(window.windowTitle().toStdString(), "Vantor--" + path);
    // Saving a detail sheet writes its totals first.
    EXPECT_EQ(totalsWritten, std::vector<short>{10});
    const std::vector<std::string> keysBefore = topKeys(window.projectTree());

    window.dispatcher().dispatch(C::FileClose); // unmodified: asks nothing
    EXPECT_FALSE(state.projectOpen);
    EXPECT_EQ(window.projectTree()->topLevelItemCount(), 0);

    prompter.files.push_back(path);
    window.dispatcher().dispatch(C::FileOpen);
    ASSERT_TRUE(state.isDataEntry());
    EXPECT_EQ(topKeys(window.projectTree()), keysBefore);
    EXPECT_EQ(window.workbook().DoGetCellData(2, 3).number(), 1200.5);
}

TEST_F(ProjectControllerTest, ClosingWindowWithChangesAndCancelKeepsItOpen)
{
    newProject(ProjectKind::DataEntry);
    window.show();
    touchWorkbook();
    prompter.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(workingCopiesExist());

    // Yes, then cancelling the save dialog: still open.
    prompter.answers.push_back(Answer::Yes);
    prompter.files.push_back(std::nullopt);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(state.projectOpen);

    // No: the window closes and the working copies go.
    prompter.answers.push_back(Answer::No);
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(state.projectOpen);
    EXPECT_FALSE(workingCopiesExist());
}

TEST_F(ProjectControllerTest, SummaryTreeFolderNodesClicksAndDelete)
{
    newProject(ProjectKind::Summary);
    QTreeWidget *tree = window.projectTree();
    EXPECT_EQ(controller->treeItem("p0")->text(0), "测试项目"); // OK in dlgPmprop names the root

    dialogs.forms.push_back(test::filledForm("一分公司", "丁公司"));
    window.dispatcher().dispatch(C::InsertFolderNode);
    QTreeWidgetItem *folder = controller->treeItem("p1");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->parent(), controller->treeItem("p0"));

    controller->onProjectTreeClicked(folder);

    // Cancel keeps the node; Yes removes it and makes the root current.
    prompter.answers.push_back(Answer::Cancel);
    window.dispatcher().dispatch(C::DeleteSheet);
    EXPECT_NE(controller->treeItem("p1"), nullptr);
    EXPECT_EQ(state.currentNode, 1);
    prompter.answers.push_back(Answer::Yes);
    window.dispatcher().dispatch(C::DeleteSheet);
    EXPECT_EQ(controller->treeItem("p1"), nullptr);
    EXPECT_EQ(tree->currentItem(), controller->treeItem("p0"));
}

TEST_F(ProjectControllerTest, DetailTreeClickSwitchesSheetAndWritesTotalsOfTheSheetLeft)
{
    newProject(ProjectKind::DataEntry);
    QTreeWidgetItem *ledger = controller->treeItem("b78");
    ASSERT_NE(ledger, nullptr);
    controller->onProjectTreeClicked(ledger);
    EXPECT_EQ(totalsWritten, std::vector<short>{10});

    // A click while a switch is under way is ignored.
    window.sheetSwitchGuard() = false;
    controller->onProjectTreeClicked(controller->treeItem("b10"));
    EXPECT_EQ(state.currentSheet, 78);
    window.sheetSwitchGuard() = true;
    controller->onProjectTreeClicked(controller->treeItem("b10"));
    EXPECT_EQ(currentLabel(), "b10");
}

TEST_F(ProjectControllerTest, AddSheetPutsEntryInIdOrderAndShowsIt)
{
    newProject(ProjectKind::DataEntry);
    const int before = window.workbook().SheetCount();
    dialogs.sheets.push_back(SheetListRow{22, "表3-10-1", "存货-原材料清查评估明细表"});
    window.dispatcher().dispatch(C::InsertSheet);
    EXPECT_EQ(currentLabel(), "b22");
    EXPECT_EQ(topKeys(window.projectTree()), (std::vector<std::string>{"b10", "b22", "b78"}));

    // Cancelling the dialog adds nothing.
    dialogs.sheets.push_back(std::nullopt);
    controller->addSheet();
    EXPECT_EQ(window.workbook().SheetCount(), before + 1);
}

TEST_F(ProjectControllerTest, SheetTotalsReachTheProjectOnSaveAndOnLeavingTheSheet)
{
    newProject(ProjectKind::DataEntry);
    installSheetTotals(window, controller->session());
    Workbook &wb = window.workbook();
    ASSERT_EQ(currentLabel(), "b10");
    wb.DoSetCellData(5, 2, 1234.5);
    prompter.files.push_back(file("totals.mdb"));
    ASSERT_EQ(controller->saveProject(), CommandResult::Done);
    auto stored = controller->session().store().sheetTotals(10, 0);
    ASSERT_TRUE(stored.has_value());

    // An unreadable total is refused and reported; the stored row stands.
    wb.DoSetCellData(5, 2, "it's");
    controller->onProjectTreeClicked(controller->treeItem("b78"));
    EXPECT_EQ(currentLabel(), "b78");
    EXPECT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(controller->session().store().sheetTotals(10, 0), stored);
}

TEST_F(ProjectControllerTest, NewProjectThroughTheRealDialogs)
{
    controller->setDialogs(nullptr);
    window.setPrompter(nullptr);
    int handled = 0;
    QTimer driver;
    driver.setInterval(20);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *kind = qobject_cast<dlgPmtype *>(modal)) {
            kind->optSummary->setChecked(true);
            kind->cmdOK->click();
            ++handled;
        } else if (auto *prop = qobject_cast<dlgPmprop *>(modal)) {
            prop->txtpm->setText("真实对话框");
            prop->txtdw->setText("己公司");
            prop->txtpgs->setText("张三");
            prop->txtfzr->setText("李四");
            prop->txtfrdb->setText("王五");
            prop->cmdRight->click();
            ++handled;
        }
    });
    driver.start();
    window.dispatcher().dispatch(C::FileNew);
    driver.stop();
    EXPECT_EQ(handled, 2);
    ASSERT_TRUE(state.isSummary());
    EXPECT_EQ(window.projectTree()->topLevelItem(0)->text(0), "真实对话框");
    EXPECT_EQ(window.statusPanel(3), "资产占有单位：己公司");
}

} // namespace
} // namespace vantor
