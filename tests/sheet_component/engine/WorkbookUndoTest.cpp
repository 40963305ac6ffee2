#include "EngineTestSupport.h"

#include "sheet_component/engine/CellClipboard.h"
#include "sheet_component/engine/UndoGroup.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vantor;
using vantor::test::dumpWorkbook;

namespace {

// A small detail-like sheet with headings, merges, formulas, formats and sizes.
void fillSample(Workbook &wb)
{
    wb.SetCols(6);
    wb.SetRows(30);
    wb.DoSetCellData(0, 0, "序号");
    wb.DoJoinCells(0, 0, 0, 1);
    wb.DoJoinCells(1, 0, 3, 0);
    wb.DoSetCellData(0, 2, "合计");
    for (int c = 2; c < 5; ++c) {
        const std::string L = columnName(c);
        wb.DoSetCellFormula(c, 2, "sum(" + L + "4:" + L + "30)");
        wb.DoSetCellNumberStyle(c, 2, 1, false, 2);
    }
    for (int r = 3; r < 30; ++r) {
        wb.DoSetCellData(2, r, r * 1.5);
        wb.DoSetCellData(3, r, "名称" + std::to_string(r));
        wb.DoSetCellFormula(4, r, "C" + std::to_string(r + 1) + "*2");
    }
    wb.DoJoinCells(1, 10, 1, 12);
    wb.DoSetRowHeight(5, 33);
    wb.DoSetColWidth(3, 140);
    wb.DoSetCellFont(3, 7, 12, 1, "黑体");
    wb.DoSetUnScrollRow(0, 2);
    wb.setRowPageBreaks({10, 20});
    wb.DoSetPrintRange(0, 5, 0, 29);
}

struct UndoCase {
    const char *name;
    std::function<void(Workbook &)> action;
};

} // namespace

TEST(Undo, EveryKindOfChangeIsRestoredExactlyAndRedoneExactly)
{
    const UndoCase cases[] = {
        {"set data", [](Workbook &wb) { wb.DoSetCellData(2, 5, 99.0); }},
        {"set formula", [](Workbook &wb) { wb.DoSetCellFormula(5, 5, "C6+E6"); }},
        {"clear cell", [](Workbook &wb) { wb.DoClearCell(3, 7, ClearAll); }},
        {"insert rows in block", [](Workbook &wb) { wb.DoInsertRows(11, 3); }},
        {"delete rows through merge", [](Workbook &wb) { wb.DoDeleteRows(9, 3); }},
        {"delete referenced rows", [](Workbook &wb) { wb.DoDeleteRows(3, 27); }},
        {"insert cols", [](Workbook &wb) { wb.DoInsertCols(2, 1, 0); }},
        {"shrink rows", [](Workbook &wb) { wb.SetRows(20); }},
        {"join", [](Workbook &wb) { wb.DoJoinCells(0, 3, 5, 4); }},
        {"font", [](Workbook &wb) { wb.DoSetCellFont(2, -2, 10, 4, "宋体"); }},
        {"borders", [](Workbook &wb) { wb.DoSetRangeBorder(0, 0, 5, 29, 0, 1, 0); }},
        {"frozen", [](Workbook &wb) { wb.DoSetUnScrollRow(-1, -1); }},
        {"print",
         [](Workbook &wb) {
             wb.DoSetPageHeader("a", "b", "c");
             wb.DoSetPrintScale(90, true, true);
             wb.DoSetPageMargins(20, 16, 6, 10);
         }},
        {"sort", [](Workbook &wb) { wb.DoSortRows(3, 29, 2, false); }},
        {"paste",
         [](Workbook &wb) {
             CellClipboard clip;
             clip.copy(wb, CellRange{0, 0, 5, 4});
             clip.paste(wb, 0, 20, true);
         }},
        {"copy sheet",
         [](Workbook &wb) {
             wb.DoAddSheet("print");
             wb.DoCopySheet(1, 0);
             wb.DoSetCellData(2, 3, 1000.0, 1);
         }},
        {"delete sheet",
         [](Workbook &wb) {
             wb.DoInsertSheet("b2", 0, 1);
             wb.DoSetCurrentSheet(0);
             wb.DoDeleteSheets(1, 1);
         }},
        {"paste text", [](Workbook &wb) { CellClipboard::pasteText(wb, 4, 28, "1\t2\t3\n4\t'x'\t=A1\n"); }},
    };
    for (const UndoCase &c : cases) {
        Workbook wb;
        fillSample(wb);
        const std::string before = dumpWorkbook(wb);
        {
            UndoGroup group(wb);
            c.action(wb);
        }
        const std::string after = dumpWorkbook(wb);
        EXPECT_NE(after, before) << c.name << " changed nothing";
        wb.DoUndo();
        EXPECT_EQ(dumpWorkbook(wb), before) << c.name;
        wb.DoRedo();
        EXPECT_EQ(dumpWorkbook(wb), after) << c.name;
    }
}

TEST(Undo, GroupsMakeOneStepNestedGroupsJoinAndTheLimitForgetsTheOldest)
{
    Workbook wb;
    {
        UndoGroup outer(wb);
        wb.DoSetCellData(0, 0, 1.0);
        {
            UndoGroup inner(wb);
            wb.DoSetCellData(0, 1, 2.0);
            wb.DoSetCellFormula(0, 2, "A1+A2");
        }
        wb.DoSetColWidth(0, 99);
    }
    EXPECT_EQ(wb.undoStack().undoCount(), 1u);
    wb.DoUndo();
    EXPECT_FALSE(wb.CanUndo());
    EXPECT_TRUE(wb.DoGetCellData(0, 2).isEmpty());
    EXPECT_EQ(wb.DoGetColWidth(0), Sheet::DefaultColWidth);
    wb.DoRedo();
    EXPECT_EQ(wb.DoGetCellData(0, 2).number(), 3);
    // The limit forgets the oldest steps.
    wb.undoStack().setLimit(3);
    for (int i = 0; i < 10; ++i)
        wb.DoSetCellData(0, 0, double(i));
    EXPECT_EQ(wb.undoStack().undoCount(), 3u);
    while (wb.CanUndo())
        wb.DoUndo();
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 6);
}

TEST(Undo, UnrecordedDeletionOfASheetTheHistoryNeedsDropsTheHistory)
{
    Workbook wb;
    wb.DoAddSheet("b16");
    wb.DoSetCellData(0, 0, 1.0, 1);
    {
        UndoPause pause(wb);
        wb.DoDeleteSheets(1, 1);
    }
    EXPECT_FALSE(wb.CanUndo()); // undoing would touch a destroyed sheet
    wb.DoUndo();
    EXPECT_EQ(wb.SheetCount(), 1);
}

TEST(Undo, TemporarySheetUnderPauseKeepsTheHistoryAndUndoFindsSheetsByIdentity)
{
    Workbook wb;
    wb.DoAddSheet("b16");
    wb.DoSetCellData(0, 0, 1.0, 1);
    {
        UndoPause pause(wb);
        wb.DoInsertSheet("print", 0, 1); // shifts every index by one, unrecorded
        wb.DoCopySheet(0, 2);
    }
    EXPECT_TRUE(wb.CanUndo());
    wb.DoUndo(); // the cell edit
    EXPECT_TRUE(wb.DoGetSheetCellData(0, 0, 2).isEmpty());
    wb.DoUndo(); // adding b16: removes b16, not the sheet now at its old index
    ASSERT_EQ(wb.SheetCount(), 2);
    EXPECT_EQ(wb.DoGetSheetLabel(0), "print");
    EXPECT_EQ(wb.DoGetSheetLabel(1), "Sheet1");
}
