// The project commands in the main window: new projects of both kinds, the tree,
// title and status bar that follow them, save / close / open, the cancel paths of
// closing the window, tree clicks, folder nodes, adding a detail sheet and the password.
#include "app/ProjectController.h"
#include "app/ProjectTreeView.h"
#include "app/SheetTotalsWiring.h"
#include "project/ProjectPaths.h"
#include "project/ProjectStore.h"
#include "project/dialogs/dlgPmprop.h"
#include "project/dialogs/dlgPmtype.h"
#include "support/AppFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <vector>

namespace vantor {
namespace {

using C = CommandId;

class ProjectControllerTest : public test::AppFixture {
protected:
    ProjectControllerTest()
    {
        window().hooks().writeSheetTotals = [this](short sheet) { totalsWritten.push_back(sheet); };
    }

    bool workingCopiesExist() const
    {
        return std::filesystem::exists(ProjectPaths::join(work.path().toStdString(), "_workfile.mdb")) ||
               std::filesystem::exists(ProjectPaths::join(work.path().toStdString(), "_workfile.cll"));
    }
    // The tree widget shows the document's entries, in its order.
    std::vector<std::string> shownKeys()
    {
        std::vector<std::string> keys;
        for (const std::string &key : doc().topLevelKeys()) {
            QTreeWidgetItem *item = window().projectTreeView().item(key);
            EXPECT_EQ(window().projectTree()->indexOfTopLevelItem(item), static_cast<int>(keys.size()));
            keys.push_back(key);
        }
        return keys;
    }
    QTreeWidgetItem *item(const std::string &key) { return window().projectTreeView().item(key); }

    std::vector<short> totalsWritten;
};

TEST_F(ProjectControllerTest, NewSaveCloseAndOpenAgain)
{
    window().setWindowTitle("Vantor");
    dialogs.kinds.push_back(ProjectKind::None); // the kind dialog cancelled first: nothing happens
    EXPECT_EQ(projects().newProject(), CommandResult::Cancelled);
    EXPECT_FALSE(state.projectOpen || workingCopiesExist());
    newProject(ProjectKind::DataEntry);
    EXPECT_EQ(doc().currentEntry(), "b10");
    EXPECT_EQ(window().projectTree()->currentItem(), item("b10"));
    EXPECT_EQ(label(), "b10");
    EXPECT_EQ(window().windowTitle(), "Vantor"); // a new project keeps the title
    EXPECT_EQ(window().statusPanel(1), item("b10")->text(0));
    EXPECT_EQ(window().statusPanel(3), "资产占有单位：甲公司");
    EXPECT_TRUE(window().menuAction(C::InsertSheet)->isEnabled());

    wb().DoSetCellData(2, 3, 1200.5);
    const std::string path = file("job.mdb");
    prompter.files.push_back(file("job")); // no extension typed
    run(C::FileSave);
    EXPECT_EQ(window().windowTitle().toStdString(), "Vantor--" + path);
    // Saving a detail sheet writes its totals first.
    EXPECT_EQ(totalsWritten, std::vector<short>{10});
    const std::vector<std::string> keysBefore = shownKeys();

    run(C::FileClose); // unmodified: asks nothing
    EXPECT_FALSE(state.projectOpen);
    EXPECT_EQ(window().projectTree()->topLevelItemCount(), 0);
    EXPECT_EQ(window().windowTitle(), ProjectSession::kTitle);

    prompter.files.push_back(path);
    run(C::FileOpen);
    ASSERT_TRUE(state.isDataEntry());
    EXPECT_EQ(shownKeys(), keysBefore);
    EXPECT_EQ(wb().DoGetCellData(2, 3).number(), 1200.5);
}

TEST_F(ProjectControllerTest, ClosingWindowWithChangesAndCancelKeepsItOpen)
{
    newProject(ProjectKind::DataEntry);
    window().show();
    wb().DoSetModified(true);
    prompter.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(window().close());
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(workingCopiesExist());

    // Yes, then cancelling the save dialog: still open.
    prompter.answers.push_back(Answer::Yes);
    prompter.files.push_back(std::nullopt);
    EXPECT_FALSE(window().close());
    EXPECT_TRUE(state.projectOpen);

    // No: the window closes and the working copies go.
    prompter.answers.push_back(Answer::No);
    EXPECT_TRUE(window().close());
    EXPECT_FALSE(state.projectOpen);
    EXPECT_FALSE(workingCopiesExist());
}

TEST_F(ProjectControllerTest, SummaryTreeFolderNodesClicksAndDelete)
{
    newProject(ProjectKind::Summary);
    EXPECT_EQ(item("p0")->text(0), "测试项目"); // OK in dlgPmprop names the root

    dialogs.forms.push_back(test::filledForm("一分公司", "丁公司"));
    run(C::InsertFolderNode);
    ASSERT_NE(item("p1"), nullptr);
    EXPECT_EQ(item("p1")->parent(), item("p0"));
    EXPECT_EQ(item("p1")->text(0), "一分公司");
    EXPECT_EQ(window().projectTree()->currentItem(), item("p1"));

    projects().onProjectTreeClicked("p0");
    EXPECT_EQ(state.currentNode, 0);
    projects().onProjectTreeClicked("p1");
    // Cancel keeps the node; Yes removes it and makes the root current.
    prompter.answers.push_back(Answer::Cancel);
    run(C::DeleteSheet);
    EXPECT_NE(item("p1"), nullptr);
    EXPECT_EQ(state.currentNode, 1);
    prompter.answers.push_back(Answer::Yes);
    run(C::DeleteSheet);
    EXPECT_TRUE(item("p1") == nullptr && doc().entry("p1") == nullptr);
    EXPECT_EQ(doc().currentEntry(), "p0");
    EXPECT_EQ(window().projectTree()->currentItem(), item("p0"));
}

TEST_F(ProjectControllerTest, DetailTreeClickSwitchesSheetAndAddedSheetsGoInIdOrder)
{
    newProject(ProjectKind::DataEntry);
    projects().onProjectTreeClicked("b78");
    EXPECT_EQ(totalsWritten, std::vector<short>{10});
    EXPECT_EQ(label(), "b78");
    EXPECT_FALSE(doc().freezeRows()); // 表11 has no frozen headings

    // A click while a switch is under way is ignored.
    doc().setSheetSwitchAllowed(false);
    projects().onProjectTreeClicked("b10");
    EXPECT_EQ(state.currentSheet, 78);
    doc().setSheetSwitchAllowed(true);

    const int before = wb().SheetCount();
    dialogs.sheets.push_back(SheetListRow{22, "表3-10-1", "存货-原材料清查评估明细表"});
    run(C::InsertSheet);
    EXPECT_EQ(label(), "b22");
    EXPECT_TRUE(doc().freezeRows());
    EXPECT_EQ(shownKeys(), (std::vector<std::string>{"b10", "b22", "b78"}));
    EXPECT_EQ(window().projectTree()->currentItem(), item("b22"));
    // Cancelling the dialog adds nothing.
    dialogs.sheets.push_back(std::nullopt);
    projects().addSheet();
    EXPECT_EQ(wb().SheetCount(), before + 1);
}

TEST_F(ProjectControllerTest, SheetTotalsReachTheProjectOnSaveAndOnLeavingTheSheet)
{
    newProject(ProjectKind::DataEntry);
    installSheetTotals(window(), projects().session());
    wb().DoSetCellData(5, 2, 1234.5);
    prompter.files.push_back(file("totals.mdb"));
    ASSERT_EQ(projects().saveProject(), CommandResult::Done);
    auto stored = projects().session().store().sheetTotals(10, 0);
    ASSERT_TRUE(stored.has_value());

    // An unreadable total is refused and reported; the stored row stands.
    wb().DoSetCellData(5, 2, "it's");
    projects().onProjectTreeClicked("b78");
    EXPECT_EQ(label(), "b78");
    EXPECT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(projects().session().store().sheetTotals(10, 0), stored);
}

TEST_F(ProjectControllerTest, NewProjectThroughTheRealDialogs)
{
    projects().setDialogs(nullptr);
    window().setPrompter(nullptr);
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
    run(C::FileNew);
    driver.stop();
    EXPECT_EQ(handled, 2);
    ASSERT_TRUE(state.isSummary());
    EXPECT_EQ(window().projectTree()->topLevelItem(0)->text(0), "真实对话框");
    EXPECT_EQ(window().statusPanel(3), "资产占有单位：己公司");
}

} // namespace
} // namespace vantor
