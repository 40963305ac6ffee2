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

// getcell(column, row, sheet), all 1-based, names a place, not a cell: it follows the
// values there through edits, undo, sheets inserted before its source and rows inserted.
TEST(Recalc, GetcellFollowsWhatSitsAtItsPlace)
{
    Workbook wb;
    wb.DoAddSheet("src");
    wb.DoSetCellFormula(0, 0, "getcell(1,2,2)*2", 0);
    wb.DoSetCellData(0, 1, 21.0, 1);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 42);
    wb.DoSetCellFormula(0, 1, "B2+1", 1); // a formula on the read sheet feeding the getcell
    wb.DoSetCellData(1, 1, 9.0, 1);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 20);
    wb.DoUndo();
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 2);
    wb.DoInsertSheet("new", 1, 1); // sheet 2 is now the empty "new"
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 0);
    wb.DoUndo();
    wb.DoDeleteSheets(1, 1);
    wb.DoUndo();
    wb.DoSetCellData(1, 1, 4.0, 1);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 10) << "dependencies must survive delete and undo";
    wb.DoInsertRows(1, 1, 1);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 0);
    wb.DoSetCellData(0, 1, 3.0, 1);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 6);
}

TEST(Recalc, InsertRowsMovesReferencesAndKeepsTotals)
{
    Workbook wb;
    totalsBook(wb, 3, 20);
    wb.DoSetCellData(1, 3, 1.0);
    wb.DoSetCellData(1, 19, 2.0);
    wb.DoSetCellFormula(2, 5, "B4*10");
    wb.DoInsertRows(3, 2);
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
    EXPECT_EQ(wb.DoGetCellData(1, 2).number(), 16);
    EXPECT_EQ(wb.DoGetCellData(2, 9), CellValue::error(CellError::Ref));
    wb.DoUndo();
    EXPECT_EQ(wb.DoGetCellData(2, 10).number(), 2);
    EXPECT_EQ(wb.DoGetCellData(1, 2).number(), 17);
    // The restored formulas are live: a change reaches them.
    wb.DoSetCellData(1, 4, 5.0);
    EXPECT_EQ(wb.DoGetCellData(2, 10).number(), 6);
    EXPECT_EQ(wb.DoGetCellData(1, 2).number(), 21);
}

// A(r) = A(r+1) + 1: each formula reads the one below, the worst evaluation order; written
// bottom-up so that each write has no dependents yet. Then the loop is closed and broken again.
TEST(Recalc, LongChainsAndCyclesEvaluateWithoutExhaustingTheStack)
{
    Workbook wb;
    const int n = 4000;
    wb.SetRows(n + 1);
    {
        UndoGroup group(wb);
        for (int r = n - 1; r >= 0; --r)
            wb.DoSetCellFormula(0, r, "A" + std::to_string(r + 2) + "+1");
    }
    wb.DoSetCellData(0, n, 1.0);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), n + 1);
    wb.DoSetCellFormula(0, n, "A1+1");
    for (int r = 0; r <= n; r += 500)
        EXPECT_TRUE(wb.DoGetCellData(0, r).isError()) << r;
    wb.DoSetCellData(0, n, 0.0);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), n);
}
