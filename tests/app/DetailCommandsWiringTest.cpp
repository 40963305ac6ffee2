// The detail-sheet commands reached through the main window's menu handlers: rows,
// fills, sorting, sign conversion, the decimal check, the number-entry commands and
// deleting a detail sheet, each on the sheet shown in a new data-entry project.
#include "app/DetailCommandsWiring.h"
#include "app/CellWidgetHost.h"
#include "app/ProjectTreeView.h"
#include "common/Amount.h"
#include "project/ProjectStore.h"
#include "project/ProjectTree.h"
#include "project/dialogs/dlgSheetName.h"
#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/widget/CellWidget.h"
#include "sheets/DetailLayouts.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <deque>

namespace vantor {
namespace {

using C = CommandId;

constexpr int kInventory = 22;

const SheetListRow kInventoryRow{kInventory, "表3-10-1", "存货-原材料清查评估明细表"};

class DetailCommandsWiringTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        newProjectWithSheet(kInventoryRow);
        ASSERT_EQ(label(), "b22");
    }

    DetailCommandsWiring &wiring() { return assembly.detailCommands(); }
    ProjectStore &store() { return projects().session().store(); }
    void select(int col1, int row1, int col2, int row2) { doc().selection().DoSelectRange(col1, row1, col2, row2); }
    double num(int col, int row) { return wb().DoGetCellData(col, row).number(); }
    std::string text(int col, int row) { return wb().DoGetCellData(col, row).text(); }

    QTreeWidgetItem *item(const std::string &key) { return window().projectTreeView().item(key); }
    CellWidget &view() { return static_cast<CellWidgetHost &>(window().sheet()).cellWidget(); }
    // Types into the current cell as the keyboard does and leaves the editor open.
    void typeInto(int col, int row, const QString &text)
    {
        view().moveTo(col, row);
        ASSERT_TRUE(view().startEditing(text, true));
    }
};

// The commands themselves are tested on the workbook; here each must reach the shown sheet.
TEST_F(DetailCommandsWiringTest, RowFillSortAndSignCommandsWorkOnTheShownDetailSheetOnly)
{
    wb().DoSetCellData(1, 3, "甲");
    const int rows = wb().Rows();
    select(1, 3, 1, 4);
    run(C::InsertRows);
    EXPECT_EQ(text(1, 5), "甲");
    select(1, 3, 1, 4);
    run(C::DeleteRows);
    EXPECT_EQ(wb().Rows(), rows);

    select(1, 3, 1, 4);
    run(C::FillDown);
    EXPECT_EQ(text(1, 4), "甲");

    wb().DoSetCellData(1, 4, "乙");
    wb().DoSetCellData(5, 3, 30.0);
    wb().DoSetCellData(5, 4, 10.0);
    select(5, 3, 5, 4);
    run(C::SortAscending);
    EXPECT_EQ(state.sharedNumber, 5);
    EXPECT_EQ(text(1, 3), "乙"); // whole rows move with the active column's values
    select(5, 3, 5, 4);
    run(C::ToolSignConversion);
    EXPECT_EQ(num(5, 4), -30);

    state.currentSheet = 5; // not a detail sheet: nothing happens
    select(5, 3, 5, 4);
    run(C::ToolSignConversion);
    EXPECT_EQ(num(5, 4), -30);
}

TEST_F(DetailCommandsWiringTest, DecimalCheckMakesTheFoundCellActiveOrLeavesItOnNo)
{
    wb().DoSetCellData(5, 4, 12.505);
    wb().DoSetCellData(5, 6, 1.125);
    doc().selection().DoGotoCell(5, 3);
    prompter.answers = {Answer::No, Answer::Yes};
    run(C::ToolDecimalCheck);
    EXPECT_EQ(doc().selection().CurrentRow(), 6);
    EXPECT_TRUE(prompter.answers.empty());
    EXPECT_EQ(num(5, 4), 12.505); // no value changes
}

TEST_F(DetailCommandsWiringTest, NumberEntryStoresTheSharedNumberAndCancelKeepsTheHeight)
{
    std::deque<int> typed = {0, 40};
    wiring().setNumberEntry([&typed](const NumberRequest &) {
        const int v = typed.front();
        typed.pop_front();
        return v;
    });
    select(1, 3, 1, 3);
    const int before = wb().DoGetRowHeight(3);
    run(C::RowHeight);
    EXPECT_EQ(state.sharedNumber, 0);
    EXPECT_EQ(wb().DoGetRowHeight(3), before);
    run(C::RowHeight);
    EXPECT_EQ(state.sharedNumber, 40);
    EXPECT_NE(wb().DoGetRowHeight(3), before);
}

TEST_F(DetailCommandsWiringTest, DeleteDetailSheetAsksAndRemovesEntryRowAndWorkbookSheet)
{
    const int sheets = wb().SheetCount();
    ASSERT_NE(item("b22"), nullptr);

    prompter.answers = {Answer::No};
    run(C::DeleteSheet);
    EXPECT_NE(item("b22"), nullptr);
    EXPECT_TRUE(store().sheet(kInventory).has_value());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text.rfind("删除明细表将永久删除", 0), 0u);

    prompter.answers = {Answer::Yes};
    run(C::DeleteSheet);
    EXPECT_TRUE(item("b22") == nullptr && doc().entry("b22") == nullptr);
    EXPECT_FALSE(store().sheet(kInventory).has_value());
    EXPECT_EQ(wb().findSheet("b22"), -1);
    // The entry above is shown.
    EXPECT_EQ(label(), "b10");
    EXPECT_EQ(state.currentSheet, 10);
    EXPECT_EQ(doc().currentEntry(), "b10");
    // Final, as the question said: undo brings nothing back, and the sheet can be added again.
    EXPECT_FALSE(wb().CanUndo());
    run(C::EditUndo);
    EXPECT_EQ(wb().SheetCount(), sheets - 1);
    dialogs.sheets = {kInventoryRow};
    run(C::InsertSheet);
    EXPECT_NE(item("b22"), nullptr);
    EXPECT_GE(wb().findSheet("b22"), 0);
    EXPECT_TRUE(store().sheet(kInventory).has_value());
    EXPECT_FALSE(wb().CanUndo()); // adding a sheet is no edit to undo either

    // The first detail sheet stays: nothing is asked.
    projects().onProjectTreeClicked("b10");
    run(C::DeleteSheet);
    EXPECT_NE(item("b10"), nullptr);
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
    const QString before = item("b22")->text(0);
    answer("表X", "取消的标题", false);
    run(C::SettingSheetTitles);
    EXPECT_EQ(item("b22")->text(0), before);
    EXPECT_EQ(store().sheet(kInventory)->name, "存货-原材料清查评估明细表");

    answer("表3-10-9", "甲's 原材料", true);
    run(C::SettingSheetTitles);
    const auto row = store().sheet(kInventory);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->code, "表3-10-9");
    EXPECT_EQ(row->name, "甲s 原材料"); // the box refuses apostrophes
    const QString caption = QString::fromStdString(ProjectTree::sheetCaption("表3-10-9", "甲s 原材料"));
    EXPECT_EQ(item("b22")->text(0), caption);
    EXPECT_EQ(window().statusPanel(1), caption);
}

// That a command ends the open edit as leaving the cell would is run on the real program
// (tests/scenario/edit_keys.sh); a half-filled input mask stops the command instead.
TEST_F(DetailCommandsWiringTest, AHalfFilledInputMaskStopsTheCommandAndKeepsTheEditorOpen)
{
    wb().DoSetCellInputMask(1, 4, "9999");
    typeInto(1, 4, "12");
    EXPECT_FALSE(run(C::PaneSummary));
    EXPECT_TRUE(view().isEditing());
    EXPECT_TRUE(doc().detailView());
    ASSERT_FALSE(prompter.messages().empty());
    view().cancelEditing();
}

TEST_F(DetailCommandsWiringTest, UndoShowsTheSheetItChangesAndNeverRunsInTheSummaryList)
{
    typeInto(1, 3, "甲材料");
    ASSERT_TRUE(window().endEdit());
    projects().onProjectTreeClicked("b10");
    ASSERT_EQ(label(), "b10");
    run(C::EditUndo);
    EXPECT_EQ(label(), "b22");
    EXPECT_EQ(state.currentSheet, kInventory);
    EXPECT_TRUE(wb().DoGetCellData(1, 3).isEmpty());

    run(C::EditRedo);
    EXPECT_EQ(text(1, 3), "甲材料");
    prompter.answers = {Answer::No}; // 万元 on b0
    run(C::PaneSummary);
    run(C::EditUndo);
    EXPECT_EQ(wb().DoGetSheetCellData(1, 3, wb().findSheet("b22")).text(), "甲材料");
}

// Ctrl+V of our own copy and Ctrl+Z of it run on the real program (tests/scenario/undo_keys.sh);
// another program's text is one step too, and the typing before it stays reachable.
TEST_F(DetailCommandsWiringTest, PasteOfAnotherProgramsTextUndoesInOneStepAndTheTypingStaysUndoable)
{
    typeInto(1, 3, "甲材料");
    ASSERT_TRUE(window().endEdit());
    QApplication::clipboard()->setText("乙\t千克\n");
    view().moveTo(1, 5);
    run(C::EditPaste);
    EXPECT_EQ(text(2, 5), "千克");

    run(C::EditUndo);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(wb().DoGetCellData(1, 5).isEmpty() && wb().DoGetCellData(2, 5).isEmpty());
    run(C::EditUndo);
    EXPECT_TRUE(wb().DoGetCellData(1, 3).isEmpty());
}

TEST_F(DetailCommandsWiringTest, CutPasteAndTypingKeepOffHeadingsLockedCellsAndBeyondTheSheet)
{
    const std::string heading = text(1, 0);
    select(0, 0, 3, 4);
    view().DoCut();
    EXPECT_EQ(text(1, 0), heading);
    EXPECT_FALSE(prompter.messages().empty());

    wb().DoSetCellLock(2, 5, true);
    view().moveTo(2, 5);
    EXPECT_FALSE(view().startEditing("9", true));

    // A block from another program, wider than the sheet and longer than its limit.
    const int cols = wb().Cols();
    QString row = "a";
    for (int c = 0; c < 40; ++c)
        row += "\t7";
    QApplication::clipboard()->setText(row + "\n" + row + "\n");
    wb().SetRows(DetailEditCommands::MaxRows);
    prompter.shown.clear();
    view().DoPaste(1, DetailEditCommands::MaxRows - 1, true);
    EXPECT_EQ(wb().Cols(), cols);
    EXPECT_EQ(wb().Rows(), DetailEditCommands::MaxRows);
    const int last = DetailEditCommands::MaxRows - 1;
    EXPECT_EQ(text(1, last), "a");
    EXPECT_TRUE(wb().DoGetCellData(DetailLayouts::layout(kInventory)->remarksColumn(), last).isEmpty());
    ASSERT_EQ(prompter.messages().size(), 1u);
}

TEST_F(DetailCommandsWiringTest, MoneyColumnsReadFullWidthNumbersAndRefuseText)
{
    // F4 is the book amount (summed); B4 the name, where any text goes.
    typeInto(5, 3, QStringLiteral("１２，３４５．６"));
    ASSERT_TRUE(view().commitEditing());
    EXPECT_EQ(num(5, 3), 12345.6);
    EXPECT_EQ(num(5, 2), 12345.6); // the total row follows
    typeInto(5, 4, QStringLiteral("abc"));
    EXPECT_FALSE(view().commitEditing());
    EXPECT_TRUE(view().isEditing());
    EXPECT_EQ(prompter.messages().back(), "单元格 F5 中只能填入数字，“abc”不是数字。");
    EXPECT_TRUE(wb().DoGetCellData(5, 4).isEmpty());
    view().cancelEditing();
    typeInto(1, 4, QStringLiteral("abc"));
    ASSERT_TRUE(view().commitEditing());
    EXPECT_EQ(text(1, 4), "abc");

    // Pasted text from another program: read the same way, and one refusal writes nothing.
    QApplication::clipboard()->setText(QStringLiteral("５００\n(20)\n"));
    view().DoPaste(5, 5);
    EXPECT_EQ(num(5, 6), -20);
    QApplication::clipboard()->setText(QStringLiteral("1\nabc\n"));
    view().DoPaste(5, 7);
    EXPECT_EQ(prompter.messages().back(), "单元格 F9 中只能填入数字，“abc”不是数字。");
    EXPECT_TRUE(wb().DoGetCellData(5, 7).isEmpty());
    EXPECT_EQ(Amount::fromDouble(num(5, 2)), Amount::parse("12825.6"));
}

TEST_F(DetailCommandsWiringTest, TreeEntryWithoutItsWorkbookSheetKeepsTheShownSheet)
{
    {
        UndoPause pause(wb());
        wb().DoDeleteSheets(wb().findSheet("b10"), 1);
    }
    projects().onProjectTreeClicked("b10");
    EXPECT_EQ(label(), "b22");
    EXPECT_EQ(state.currentSheet, kInventory);
    ASSERT_EQ(prompter.messages().size(), 1u);
}

TEST_F(DetailCommandsWiringTest, ColumnCommandsKeepTheHeadingsFrozenAndTotalsRebuildTheTotalRow)
{
    ASSERT_TRUE(doc().freezeRows());
    doc().selection().DoGotoCell(wb().Cols() - 1, 3);
    run(C::InsertCol);
    EXPECT_TRUE(wb().sheet(wb().CurrentSheet()).frozenRows().any());
    select(wb().Cols() - 1, 3, wb().Cols() - 1, 3);
    run(C::DeleteCols);
    EXPECT_TRUE(wb().sheet(wb().CurrentSheet()).frozenRows().any());

    const int col = DetailLayouts::columnRoles(kInventory).book;
    const std::string formula = wb().formulaText(wb().CurrentSheet(), col, 2);
    ASSERT_FALSE(formula.empty());
    wb().DoClearCellFormula(col, 2);
    run(C::DataTotals);
    EXPECT_EQ(wb().formulaText(wb().CurrentSheet(), col, 2), formula);
}

} // namespace
} // namespace vantor
