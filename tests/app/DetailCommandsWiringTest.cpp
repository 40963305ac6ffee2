// The detail-sheet commands reached through the main window's menu handlers: rows,
// fills, sorting, sign conversion, the decimal check, the number-entry commands and
// deleting a detail sheet, each on the sheet shown in a new data-entry project; and a
// picture of a filled sheet.
#include "app/DetailCommandsWiring.h"
#include "app/ProjectController.h"
#include "app/frmMain.h"
#include "project/ProjectStore.h"
#include "project/ProjectTree.h"
#include "project/dialogs/dlgSheetName.h"
#include "sheet_component/engine/Workbook.h"
#include "support/ScriptedPrompter.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <deque>

namespace vantor
{
namespace
{

using C = CommandId;
using test::ScriptedPrompter;

constexpr int kInventory = 22;

class Dialogs : public ProjectDialogs
{
  public:
    ProjectKind kind = ProjectKind::DataEntry;
    ProjectKind chooseKind() override { return kind; }
    std::optional<NodePropertiesForm> editNodeProperties(const NodePropertiesForm &form,
                                                         const StoreFunction &store) override
    {
        NodePropertiesForm f = form;
        f.pmname = "测试项目";
        f.zczydw = "甲公司";
        f.zcpgs = "张三";
        f.xmfzr = "李四";
        f.frdb = "王五";
        f.pgjzr =
            std::chrono::year_month_day{std::chrono::year{2026}, std::chrono::month{6}, std::chrono::day{30}};
        store(f.toProperties());
        return f;
    }
    std::optional<PasswordBoxes> changePassword(bool) override { return std::nullopt; }
    LoginFunction login() override
    {
        return [](const PasswordCheck &) { return false; };
    }
    std::optional<SheetListRow> chooseSheet(const std::vector<std::string> &) override
    {
        return SheetListRow{kInventory, "表3-10-1", "存货-原材料清查评估明细表"};
    }
};

class DetailCommandsWiringTest : public ::testing::Test
{
  protected:
    DetailCommandsWiringTest() : window(state)
    {
        ProjectSessionConfig config{VANTOR_BIN_DIR, work.path().toStdString(), PasswordCost::minimal()};
        projects = std::make_unique<ProjectController>(window, config);
        projects->setDialogs(&dialogs);
        wiring = std::make_unique<DetailCommandsWiring>(window, *projects);
        window.setPrompter(&prompter);
        window.hooks().writeSheetTotals = [](short) {};
    }
    ~DetailCommandsWiringTest() override
    {
        wiring.reset();
        projects.reset();
        window.setPrompter(nullptr);
    }
    void SetUp() override
    {
        ASSERT_EQ(projects->newProject(), CommandResult::Done);
        window.dispatcher().dispatch(C::InsertSheet);
        ASSERT_EQ(state.currentSheet, kInventory);
        ASSERT_EQ(wb().DoGetSheetLabel(wb().CurrentSheet()), "b22");
    }

    Workbook &wb() { return window.workbook(); }
    void select(int col1, int row1, int col2, int row2) { wb().DoSelectRange(col1, row1, col2, row2); }
    double num(int col, int row) { return wb().DoGetCellData(col, row).number(); }
    std::string text(int col, int row) { return wb().DoGetCellData(col, row).text(); }

    QTemporaryDir work;
    ProgramState state;
    frmMain window;
    ScriptedPrompter prompter;
    Dialogs dialogs;
    std::unique_ptr<ProjectController> projects;
    std::unique_ptr<DetailCommandsWiring> wiring;
};

TEST_F(DetailCommandsWiringTest, InsertAndDeleteRowsMoveTheDataOfTheShownSheet)
{
    wb().DoSetCellData(1, 3, "甲材料");
    const int rows = wb().Rows();
    select(1, 3, 1, 4);
    window.dispatcher().dispatch(C::InsertRows);
    EXPECT_EQ(wb().Rows(), rows + 2);
    EXPECT_EQ(text(1, 5), "甲材料");
    EXPECT_TRUE(wb().DoGetCellData(1, 3).isEmpty());

    select(1, 3, 1, 4);
    window.dispatcher().dispatch(C::DeleteRows);
    EXPECT_EQ(wb().Rows(), rows);
    EXPECT_EQ(text(1, 3), "甲材料");
}

TEST_F(DetailCommandsWiringTest, FillDownSortAndSignConversion)
{
    wb().DoSetCellData(1, 3, "丙");
    select(1, 3, 1, 5);
    window.dispatcher().dispatch(C::FillDown);
    EXPECT_EQ(text(1, 4), "丙");
    EXPECT_EQ(text(1, 5), "丙");

    // Whole rows move with the active column's values.
    wb().DoSetCellData(1, 4, "乙");
    wb().DoSetCellData(5, 3, 30.0);
    wb().DoSetCellData(5, 4, 10.0);
    wb().DoSetCellData(5, 5, 20.0);
    select(5, 3, 5, 5);
    window.dispatcher().dispatch(C::SortAscending);
    EXPECT_EQ(state.sharedNumber, 5);
    EXPECT_EQ(num(5, 3), 10);
    EXPECT_EQ(text(1, 3), "乙");
    EXPECT_EQ(num(5, 5), 30);
    window.dispatcher().dispatch(C::SortDescending);
    EXPECT_EQ(num(5, 3), 30);
    EXPECT_EQ(num(5, 5), 10);

    select(5, 3, 5, 4);
    window.dispatcher().dispatch(C::ToolSignConversion);
    EXPECT_EQ(num(5, 3), -30);
    EXPECT_EQ(num(5, 4), -20);
    EXPECT_EQ(num(5, 5), 10); // outside the selection
}

TEST_F(DetailCommandsWiringTest, CommandsDoNothingWithoutADetailSheet)
{
    wb().DoSetCellData(1, 3, "丙");
    select(1, 3, 1, 5);
    state.currentSheet = 5; // not a detail sheet
    window.dispatcher().dispatch(C::FillDown);
    EXPECT_TRUE(wb().DoGetCellData(1, 4).isEmpty());
}

TEST_F(DetailCommandsWiringTest, DecimalCheckMakesTheFoundCellActiveOrLeavesItOnNo)
{
    wb().DoSetCellData(5, 4, 12.505);
    wb().DoSetCellData(5, 6, 1.125);
    wb().DoGotoCell(5, 3);
    prompter.answers = {Answer::No, Answer::Yes};
    window.dispatcher().dispatch(C::ToolDecimalCheck);
    EXPECT_EQ(wb().CurrentRow(), 6);
    EXPECT_EQ(wb().CurrentCol(), 5);
    EXPECT_TRUE(prompter.answers.empty());
    EXPECT_EQ(num(5, 4), 12.505); // no value changes
}

TEST_F(DetailCommandsWiringTest, NumberEntryStoresTheSharedNumberAndCancelKeepsTheHeight)
{
    std::deque<int> typed = {0, 40};
    wiring->setNumberEntry([&typed](const NumberRequest &) {
        const int v = typed.front();
        typed.pop_front();
        return v;
    });
    select(1, 3, 1, 3);
    const int before = wb().DoGetRowHeight(3);
    window.dispatcher().dispatch(C::RowHeight);
    EXPECT_EQ(state.sharedNumber, 0);
    EXPECT_EQ(wb().DoGetRowHeight(3), before);
    window.dispatcher().dispatch(C::RowHeight);
    EXPECT_EQ(state.sharedNumber, 40);
    EXPECT_NE(wb().DoGetRowHeight(3), before);
}

TEST_F(DetailCommandsWiringTest, DeleteDetailSheetAsksAndRemovesEntryRowAndWorkbookSheet)
{
    QTreeWidget *tree = window.projectTree();
    const int sheets = wb().SheetCount();
    ASSERT_NE(projects->treeItem("b22"), nullptr);

    prompter.answers = {Answer::No};
    window.dispatcher().dispatch(C::DeleteSheet);
    EXPECT_NE(projects->treeItem("b22"), nullptr);
    EXPECT_TRUE(projects->session().store().sheet(kInventory).has_value());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text.rfind("删除明细表将永久删除", 0), 0u);

    const int index = tree->indexOfTopLevelItem(projects->treeItem("b22"));
    const std::string aboveKey =
        tree->topLevelItem(index - 1)->data(0, frmMain::treeKeyRole).toString().toStdString();
    prompter.answers = {Answer::Yes};
    window.dispatcher().dispatch(C::DeleteSheet);
    EXPECT_EQ(projects->treeItem("b22"), nullptr);
    EXPECT_FALSE(projects->session().store().sheet(kInventory).has_value());
    EXPECT_EQ(wb().SheetCount(), sheets - 1);
    for (int i = 0; i < wb().SheetCount(); ++i)
        EXPECT_NE(wb().DoGetSheetLabel(i), "b22");
    EXPECT_EQ(wb().DoGetSheetLabel(wb().CurrentSheet()), aboveKey);
    EXPECT_EQ(state.currentSheet, ProjectTree::keyNumber(aboveKey).value_or(-1));

    // The first detail sheet stays: nothing is asked.
    projects->onProjectTreeClicked(projects->treeItem("b10"));
    window.dispatcher().dispatch(C::DeleteSheet);
    EXPECT_NE(projects->treeItem("b10"), nullptr);
}

TEST_F(DetailCommandsWiringTest, PictureOfAFilledSheet)
{
    const char *names[] = {"甲材料", "乙材料", "丙材料"};
    for (int i = 0; i < 3; ++i) {
        wb().DoSetCellData(1, 3 + i, names[i]);
        wb().DoSetCellData(5, 3 + i, 1000.5 * (i + 1));
    }
    select(5, 3, 5, 5);
    window.dispatcher().dispatch(C::SortDescending);
    window.resize(1200, 700);
    window.show();
    QApplication::processEvents();
    EXPECT_TRUE(window.grab().save(QDir::temp().filePath("vantor-detail-commands.png")));
    EXPECT_EQ(text(1, 3), "丙材料");
}

TEST_F(DetailCommandsWiringTest, SheetTitleGoesToStoreTreeAndStatusBarButNotOnCancel)
{
    auto answer = [](const char *code, const char *name, bool ok) {
        QTimer::singleShot(0, [=] {
            auto *dialog = qobject_cast<dlgSheetName *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->txtcode->setText(QString::fromUtf8(code));
            dialog->txtname->setText(QString::fromUtf8(name));
            (ok ? dialog->cmdRight : dialog->cmdCancel)->click();
        });
    };
    const QString before = projects->treeItem("b22")->text(0);
    answer("表X", "取消的标题", false);
    window.dispatcher().dispatch(C::SettingSheetTitles);
    EXPECT_EQ(projects->treeItem("b22")->text(0), before);
    EXPECT_EQ(projects->session().store().sheet(kInventory)->name, "存货-原材料清查评估明细表");

    answer("表3-10-9", "甲's 原材料", true);
    window.dispatcher().dispatch(C::SettingSheetTitles);
    const auto row = projects->session().store().sheet(kInventory);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->code, "表3-10-9");
    EXPECT_EQ(row->name, "甲s 原材料"); // the box refuses apostrophes
    const QString caption = QString::fromStdString(ProjectTree::sheetCaption("表3-10-9", "甲s 原材料"));
    EXPECT_EQ(projects->treeItem("b22")->text(0), caption);
    EXPECT_EQ(window.statusPanel(1), caption);
}

// The shared delete entry still deletes the current node of a summary project.
class SummaryDeleteTest : public DetailCommandsWiringTest
{
  protected:
    void SetUp() override
    {
        dialogs.kind = ProjectKind::Summary;
        ASSERT_EQ(projects->newProject(), CommandResult::Done);
    }
};

TEST_F(SummaryDeleteTest, DeleteEntryRemovesTheFolderNode)
{
    window.dispatcher().dispatch(C::InsertFolderNode);
    const int16_t node = state.currentNode;
    ASSERT_GT(node, 0);
    ASSERT_NE(projects->treeItem(ProjectTree::nodeKey(node)), nullptr);
    prompter.answers = {Answer::Yes, Answer::Yes};
    window.dispatcher().dispatch(C::DeleteSheet);
    EXPECT_EQ(projects->treeItem(ProjectTree::nodeKey(node)), nullptr);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown[0].text.find("删除明细表"), std::string::npos);
}

} // namespace
} // namespace vantor
