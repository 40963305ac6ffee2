#include "EngineTestSupport.h"

#include "sheet_component/engine/UndoGroup.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

// A detail-style sheet: totals in row 3 (index 2) summing rows 4..rows of each column.
void totalsBook(Workbook &wb, int cols, int rows)
{
    wb.SetCols(cols);
    wb.SetRows(rows);
    for (int c = 0; c < cols; ++c) {
        const std::string L = columnName(c);
        wb.DoSetCellFormula(c, 2, "sum(" + L + "4:" + L + std::to_string(rows) + ")");
    }
}

} // namespace

TEST(Recalc, OneChangedCellEvaluatesOnlyItsDependents)
{
    Workbook wb;
    totalsBook(wb, 26, 2000);
    wb.DoSetCellData(4, 100, 7.5);
    EXPECT_EQ(wb.lastRecalcCount(), 1u);
    EXPECT_EQ(wb.DoGetCellData(4, 2).number(), 7.5);
    wb.DoSetCellData(4, 1999, 2.5);
    EXPECT_EQ(wb.DoGetCellData(4, 2).number(), 10);
    // A cell no formula reads triggers nothing.
    wb.DoSetCellData(4, 1, 1.0);
    EXPECT_EQ(wb.lastRecalcCount(), 0u);
}

TEST(Recalc, CyclesGiveCycleErrorsAndRecoverWhenBroken)
{
    Workbook wb;
    wb.DoSetCellFormula(0, 0, "B1+1");
    wb.DoSetCellFormula(1, 0, "A1+1");
    EXPECT_EQ(wb.DoGetCellData(0, 0), CellValue::error(CellError::Cycle));
    EXPECT_EQ(wb.DoGetCellData(1, 0), CellValue::error(CellError::Cycle));
    wb.DoSetCellData(1, 0, 5.0);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 6);
    // Self reference and a cycle through a range.
    wb.DoSetCellFormula(2, 0, "C1");
    EXPECT_EQ(wb.DoGetCellData(2, 0), CellValue::error(CellError::Cycle));
    wb.DoSetCellFormula(3, 5, "sum(D1:D10)");
    EXPECT_EQ(wb.DoGetCellData(3, 5), CellValue::error(CellError::Cycle));
}

TEST(Recalc, GetcellAcrossSheetsFollowsChanges)
{
    Workbook wb;
    wb.DoAddSheet("b16");
    wb.DoAddSheet("b1");
    // getcell(column, row, sheet), all 1-based: sheet 2 is index 1.
    wb.DoSetCellFormula(0, 0, "getcell(3,3,2)*2", 2);
    EXPECT_EQ(wb.DoGetSheetCellData(0, 0, 2).number(), 0);
    wb.DoSetCellData(2, 2, 21.0, 1);
    EXPECT_EQ(wb.DoGetSheetCellData(0, 0, 2).number(), 42);
    // A formula on the read sheet feeding the getcell.
    wb.DoSetCellFormula(2, 2, "D3+1", 1);
    wb.DoSetCellData(3, 2, 9.0, 1);
    EXPECT_EQ(wb.DoGetSheetCellData(0, 0, 2).number(), 20);
    // Undo follows through getcell too.
    wb.DoUndo();
    EXPECT_EQ(wb.DoGetSheetCellData(0, 0, 2).number(), 2);
}

TEST(Recalc, GetcellSeesSheetsInsertedBeforeItsSource)
{
    Workbook wb;
    wb.DoAddSheet("src");
    wb.DoSetCellData(0, 0, 5.0, 1);
    wb.DoSetCellFormula(0, 0, "getcell(1,1,2)", 0);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 5);
    wb.DoInsertSheet("new", 1, 1); // sheet 2 is now the empty "new"
    EXPECT_TRUE(wb.DoGetCellData(0, 0).isEmpty() || wb.DoGetCellData(0, 0).number() == 0);
    wb.DoUndo();
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 5);
    wb.DoDeleteSheets(1, 1);
    EXPECT_NE(wb.DoGetCellData(0, 0).number(), 5);
    wb.DoUndo();
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 5);
    wb.DoSetCellData(0, 0, 8.0, 1);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 8) << "dependencies must survive delete and undo";
}

TEST(Recalc, GetcellReadsAbsolutePositionsAfterRowInsert)
{
    Workbook wb;
    wb.DoAddSheet("src");
    wb.DoSetCellData(0, 1, 1.0, 1);
    wb.DoSetCellData(0, 2, 2.0, 1);
    wb.DoSetCellFormula(0, 0, "getcell(1,2,2)", 0);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 1);
    wb.DoInsertRows(1, 1, 1);
    EXPECT_TRUE(wb.DoGetCellData(0, 0).isEmpty() || wb.DoGetCellData(0, 0).number() == 0);
    wb.DoSetCellData(0, 1, 3.0, 1);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 3);
}

TEST(Recalc, InsertRowsMovesReferencesAndKeepsTotals)
{
    Workbook wb;
    totalsBook(wb, 3, 20);
    wb.DoSetCellData(1, 3, 1.0);
    wb.DoSetCellData(1, 19, 2.0);
    wb.DoSetCellFormula(2, 5, "B4*10");
    wb.DoInsertRows(3, 2);
    EXPECT_EQ(wb.Rows(), 22);
    EXPECT_EQ(wb.formulaText(0, 1, 2), "sum(B6:B22)");
    EXPECT_EQ(wb.formulaText(0, 2, 7), "B6*10");
    EXPECT_EQ(wb.DoGetCellData(1, 2).number(), 3);
    EXPECT_EQ(wb.DoGetCellData(2, 7).number(), 10);
    // A row inserted inside the summed block is summed.
    wb.DoInsertRows(10, 1);
    wb.DoSetCellData(1, 10, 4.0);
    EXPECT_EQ(wb.DoGetCellData(1, 2).number(), 7);
}

TEST(Recalc, DeleteRowsShrinksRangesAndBreaksReferences)
{
    Workbook wb;
    totalsBook(wb, 3, 20);
    for (int r = 3; r < 20; ++r)
        wb.DoSetCellData(1, r, 1.0);
    wb.DoSetCellFormula(2, 10, "B5+1");
    wb.DoDeleteRows(4, 1);
    EXPECT_EQ(wb.formulaText(0, 1, 2), "sum(B4:B19)");
    EXPECT_EQ(wb.DoGetCellData(1, 2).number(), 16);
    EXPECT_EQ(wb.DoGetCellData(2, 9), CellValue::error(CellError::Ref));
    wb.DoUndo();
    EXPECT_EQ(wb.formulaText(0, 2, 10), "B5+1");
    EXPECT_EQ(wb.DoGetCellData(2, 10).number(), 2);
    EXPECT_EQ(wb.DoGetCellData(1, 2).number(), 17);
}

TEST(Recalc, LongChainsRunningUpTheSheetEvaluateWithoutExhaustingTheStack)
{
    Workbook wb;
    const int n = 4000;
    wb.SetRows(n + 1);
    // A(r) = A(r+1) + 1: each formula reads the one below, so evaluation order is the worst.
    // Written bottom-up, so that each write has no dependents yet.
    {
        UndoGroup group(wb);
        for (int r = n - 1; r >= 0; --r)
            wb.DoSetCellFormula(0, r, "A" + std::to_string(r + 2) + "+1");
    }
    wb.DoSetCellData(0, n, 1.0);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), n + 1);
    EXPECT_EQ(wb.DoGetCellData(0, n / 2).number(), n / 2 + 1);
}

TEST(Recalc, AVeryLongCycleEndsInCycleErrors)
{
    Workbook wb;
    const int n = 3000;
    wb.SetRows(n);
    for (int r = n - 2; r >= 0; --r)
        wb.DoSetCellFormula(0, r, "A" + std::to_string(r + 2) + "+1");
    wb.DoSetCellFormula(0, n - 1, "A1+1"); // closes the loop
    for (int r = 0; r < n; r += 500)
        EXPECT_TRUE(wb.DoGetCellData(0, r).isError()) << r;
    wb.DoSetCellData(0, n - 1, 0.0); // broken again
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), n - 1);
}
