#include "EngineTestSupport.h"

#include "sheet_component/engine/CellClipboard.h"
#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/SortOrder.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(Clipboard, CopyRangeAndPasteWholeMovesFormulasFormatsAndMerges)
{
    Workbook wb;
    wb.DoSetCellData(0, 0, 1.0);
    wb.DoSetCellData(0, 1, 2.0);
    wb.DoSetCellFormula(0, 2, "sum(A1:A2)");
    wb.DoSetCellAlignment(0, 2, AlignCenter);
    wb.DoSetCellData(1, 0, "页");
    wb.DoJoinCells(1, 0, 2, 0);
    CellClipboard clip;
    clip.copy(wb, CellRange{0, 0, 2, 2});
    clip.paste(wb, 3, 10, true);
    EXPECT_EQ(wb.formulaText(0, 3, 12), "sum(D11:D12)");
    EXPECT_EQ(wb.DoGetCellData(3, 12).number(), 3);
    EXPECT_EQ(wb.DoGetCellAlignment(3, 12), AlignCenter);
    EXPECT_EQ(wb.sheet(0).mergeAt(5, 10), (CellRange{4, 10, 5, 10}));
    // The whole paste is one undo step.
    wb.DoUndo();
    EXPECT_TRUE(wb.DoGetCellData(3, 12).isEmpty());
    EXPECT_FALSE(wb.sheet(0).mergeAt(5, 10).has_value());
}

TEST(Clipboard, PasteValuesOnlyKeepsTargetFormatsAndIsClippedAtTheEdge)
{
    Workbook wb;
    wb.DoSetCellFormula(0, 0, "2*3");
    wb.DoSetCellLock(0, 0, true);
    wb.DoSetCellAlignment(1, 1, AlignRight);
    CellClipboard clip;
    clip.copy(wb, CellRange{0, 0, 0, 0});
    clip.paste(wb, 1, 1, false);
    EXPECT_EQ(wb.DoGetCellData(1, 1).number(), 6);
    EXPECT_FALSE(wb.sheet(0).hasFormula(1, 1));
    EXPECT_FALSE(wb.DoGetCellLock(1, 1));
    EXPECT_EQ(wb.DoGetCellAlignment(1, 1), AlignRight);
    // At the sheet's edge the paste is clipped, the sheet not grown.
    wb.SetCols(3);
    wb.SetRows(3);
    clip.copy(wb, CellRange{0, 0, 1, 1});
    clip.paste(wb, 2, 2, true);
    EXPECT_EQ(wb.DoGetCellData(2, 2).number(), 6);
    EXPECT_EQ(wb.Cols(), 3);
}

TEST(Clipboard, TabTextRoundTripWithHostileText)
{
    Workbook wb;
    wb.DoSetCellData(0, 0, "it's \"quoted\"");
    wb.DoSetCellData(1, 0, "tab\there");
    wb.DoSetCellData(0, 1, "line\nbreak");
    wb.DoSetCellData(1, 1, -1234.5);
    wb.DoSetCellData(2, 1, "中文");
    const std::string text = CellClipboard::rangeAsText(wb, CellRange{0, 0, 2, 1});
    Workbook other;
    CellClipboard::pasteText(other, 0, 0, text);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(other.DoGetCellData(c, r), wb.DoGetCellData(c, r)) << c << "," << r;
    EXPECT_EQ(other.undoStack().undoCount(), 1u);
}

TEST(Find, ContainsCaseInsensitiveWrapsAndStops)
{
    Workbook wb;
    wb.DoSetCellData(1, 1, "Total");
    wb.DoSetCellData(3, 4, "subtotal");
    wb.DoSetCellData(0, 7, 1234.5);
    wb.DoSetCellNumberStyle(0, 7, 1, false, 2, -1, 1);
    EXPECT_EQ(wb.findNext("TOTAL", 0, -1), (CellPos{1, 1}));
    EXPECT_EQ(wb.findNext("TOTAL", 1, 1), (CellPos{3, 4}));
    EXPECT_EQ(wb.findNext("total", 3, 4), (CellPos{1, 1})); // wraps round
    EXPECT_FALSE(wb.findNext("TOTAL", 0, -1, true));
    EXPECT_EQ(wb.findNext("1,234.50", 0, -1), (CellPos{0, 7})); // numbers are found as shown
    EXPECT_FALSE(wb.findNext("", 0, -1));
}

// Byte order would put 上 (U+4E0A) before 北 (U+5317); a Chinese user expects pinyin order.
TEST(Sort, TextsFollowPinyinBetweenNumbersAndEmptyCells)
{
    const std::vector<CellValue> keys = {
        CellValue::text("天津"), CellValue::number(3),  CellValue::text("上海"), CellValue(),
        CellValue::text("北京"), CellValue::number(-1), CellValue::text("上海")};
    EXPECT_EQ(SortOrder::of(keys, true), (std::vector<int>{5, 1, 4, 2, 6, 0, 3}));
    EXPECT_EQ(SortOrder::of(keys, false), (std::vector<int>{1, 5, 0, 2, 6, 4, 3}));
    EXPECT_LT(SortOrder::compareText("王五", "张三"), 0); // wang before zhang; bytes say otherwise
}

TEST(Sort, TotalsFollowTheSortedValuesAndSingleRowDoesNothing)
{
    Workbook wb;
    wb.SetRows(520);
    for (int r = 3; r < 515; ++r) // 512 rows
        wb.DoSetCellData(2, r, double((r * 37) % 101));
    wb.DoSetCellFormula(2, 2, "sum(C4:C515)+C4");
    const double before = wb.DoGetCellData(2, 2).number();
    wb.DoSortRows(3, 514, 2, true);
    double lastValue = -1;
    for (int r = 3; r < 515; ++r) {
        EXPECT_LE(lastValue, wb.DoGetCellData(2, r).number());
        lastValue = wb.DoGetCellData(2, r).number();
    }
    EXPECT_EQ(wb.DoGetCellData(2, 2).number(), before - (3 * 37 % 101) + wb.DoGetCellData(2, 3).number());
    const std::size_t steps = wb.undoStack().undoCount();
    wb.DoSortRows(5, 5, 2, true);
    EXPECT_EQ(wb.undoStack().undoCount(), steps);
}

TEST(Selection, StaysInsideTheSheetWhenItShrinks)
{
    Workbook wb;
    Selection sel(wb);
    wb.SetRows(100);
    sel.DoSelectRange(2, 50, 4, 99);
    sel.DoGotoCell(3, 90);
    wb.SetRows(20);
    EXPECT_LT(sel.CurrentRow(), 20);
    EXPECT_LT(sel.DoGetSelection().row2, 20);
    wb.DoDeleteCols(1, 25);
    EXPECT_EQ(sel.CurrentCol(), 0);
}

TEST(Selection, BelongsToItsSheetThroughInsertsAndUndoAndIsForgottenOnReset)
{
    Workbook wb;
    Selection sel(wb);
    sel.DoGotoCell(4, 7);
    wb.DoInsertSheet("前", 0);
    EXPECT_EQ(sel.DoGetSelection(1), (CellRange{4, 7, 4, 7}));
    EXPECT_EQ(sel.DoGetSelection(0), (CellRange{0, 0, 0, 0}));
    wb.DoDeleteSheets(1);
    wb.DoUndo(); // the same sheet comes back, and with it where the user was
    EXPECT_EQ(sel.state(1).col * 100 + sel.state(1).row, 407);
    wb.DoResetWorkbook();
    EXPECT_EQ(sel.CurrentCol() + sel.CurrentRow(), 0);
}
