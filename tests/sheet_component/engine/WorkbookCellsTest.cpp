#include "EngineTestSupport.h"

#include "sheet_component/engine/DisplayFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vantor;
using vantor::test::dumpSheet;

namespace {

void makeBook(Workbook &wb, int cols, int rows)
{
    wb.SetCols(cols);
    wb.SetRows(rows);
}

} // namespace

TEST(WorkbookCells, OutOfRangeWritesAreIgnoredAndReadEmpty)
{
    Workbook wb;
    makeBook(wb, 3, 3);
    const std::size_t steps = wb.undoStack().undoCount();
    wb.DoSetCellData(3, 0, 1.0);
    wb.DoSetCellData(0, 3, 1.0);
    wb.DoSetCellData(-1, 0, 1.0);
    EXPECT_EQ(wb.undoStack().undoCount(), steps);
    EXPECT_TRUE(wb.DoGetCellData(3, 0).isEmpty());
    EXPECT_TRUE(wb.DoGetCellData(-1, -1).isEmpty());
    EXPECT_TRUE(wb.DoGetSheetCellData(0, 0, 7).isEmpty());
}

TEST(WorkbookCells, NonFiniteNumbersBecomeValueErrors)
{
    Workbook wb;
    wb.DoSetCellData(0, 0, std::numeric_limits<double>::quiet_NaN());
    wb.DoSetCellData(0, 1, std::numeric_limits<double>::infinity());
    EXPECT_EQ(wb.DoGetCellData(0, 0), CellValue::error(CellError::Value));
    EXPECT_EQ(wb.displayText(0, 0, 1), "#VALUE!");
}

TEST(WorkbookCells, FormulaValueAndClearFormulaKeepsValue)
{
    Workbook wb;
    wb.DoSetCellData(0, 0, 2.0);
    wb.DoSetCellData(0, 1, 3.0);
    ASSERT_TRUE(wb.DoSetCellFormula(0, 2, "=A1*a2"));
    EXPECT_EQ(wb.DoGetCellData(0, 2), CellValue::number(6));
    EXPECT_EQ(wb.formulaText(0, 0, 2), "A1*A2");
    wb.DoClearCellFormula(0, 2);
    EXPECT_FALSE(wb.sheet(0).hasFormula(0, 2));
    EXPECT_EQ(wb.DoGetCellData(0, 2), CellValue::number(6));
    // The value no longer follows its former inputs.
    wb.DoSetCellData(0, 0, 10.0);
    EXPECT_EQ(wb.DoGetCellData(0, 2), CellValue::number(6));
}

TEST(WorkbookCells, ClearCellContentsKeepsFormat)
{
    Workbook wb;
    wb.DoSetCellFormula(0, 0, "1+1");
    wb.DoSetCellAlignment(0, 0, AlignCenter);
    wb.DoClearCell(0, 0, ClearContents);
    EXPECT_TRUE(wb.DoGetCellData(0, 0).isEmpty());
    EXPECT_FALSE(wb.sheet(0).hasFormula(0, 0));
    EXPECT_EQ(wb.DoGetCellAlignment(0, 0), AlignCenter);
    wb.DoClearCell(0, 0, ClearAll);
    EXPECT_TRUE(wb.sheet(0).isBlank(0, 0));
}

TEST(WorkbookCells, InputAsTyped)
{
    struct Case {
        const char *input;
        CellValue expected;
    };
    const Case cases[] = {
        {"123.45", CellValue::number(123.45)},
        {" -1,234.5 ", CellValue::number(-1234.5)},
        {"12a", CellValue::text("12a")},
        {"'7", CellValue::text("'7")},
        {"=2*3", CellValue::number(6)},
        {"=", CellValue::text("=")},
    };
    Workbook wb;
    for (const Case &c : cases) {
        wb.setCellInput(0, 0, c.input);
        EXPECT_EQ(wb.DoGetCellData(0, 0), c.expected) << c.input;
    }
    wb.setCellInput(0, 0, "");
    EXPECT_TRUE(wb.DoGetCellData(0, 0).isEmpty());
}

TEST(WorkbookSize, GrowAndShrinkRowsAndCols)
{
    Workbook wb;
    makeBook(wb, 4, 30);
    wb.DoSetCellData(3, 29, "last");
    wb.DoSetCellData(0, 0, "first");
    wb.SetRows(12403);
    EXPECT_EQ(wb.Rows(), 12403);
    EXPECT_EQ(wb.DoGetCellData(3, 29).text(), "last");
    wb.SetRows(20);
    EXPECT_EQ(wb.Rows(), 20);
    EXPECT_TRUE(wb.DoGetCellData(3, 29).isEmpty());
    wb.SetRows(30);
    EXPECT_TRUE(wb.DoGetCellData(3, 29).isEmpty()) << "shrinking must really drop the cells";
    wb.SetCols(26);
    EXPECT_EQ(wb.Cols(), 26);
    wb.SetCols(1);
    EXPECT_EQ(wb.Cols(), 1);
    EXPECT_EQ(wb.DoGetCellData(0, 0).text(), "first");
    wb.SetRows(0);
    wb.SetCols(0);
    EXPECT_EQ(wb.Rows(), 0);
    EXPECT_TRUE(wb.DoGetCellData(0, 0).isEmpty());
}

TEST(WorkbookSize, UndoOfShrinkRestoresTheRemovedCells)
{
    Workbook wb;
    makeBook(wb, 4, 30);
    wb.DoSetCellData(2, 25, 5.0);
    wb.DoSetCellFormula(2, 0, "sum(C20:C30)");
    wb.DoSetRowHeight(25, 44);
    const std::string before = dumpSheet(wb, 0);
    wb.SetRows(20);
    EXPECT_EQ(wb.DoGetCellData(2, 0), CellValue::number(0));
    wb.DoUndo();
    EXPECT_EQ(dumpSheet(wb, 0), before);
    EXPECT_EQ(wb.DoGetCellData(2, 0), CellValue::number(5));
}

TEST(WorkbookState, ModifiedFlagFollowsChanges)
{
    Workbook wb;
    EXPECT_FALSE(wb.IsModified());
    wb.DoSetCellData(0, 0, 1.0);
    EXPECT_TRUE(wb.IsModified());
    wb.DoSetModified(false);
    EXPECT_FALSE(wb.IsModified());
    wb.DoSetColWidth(0, 100);
    EXPECT_TRUE(wb.IsModified());
    wb.DoSetModified(false);
    wb.DoUndo();
    EXPECT_TRUE(wb.IsModified());
    wb.DoSetModified(false);
    wb.DoGotoCell(2, 2); // moving around is no change
    EXPECT_FALSE(wb.IsModified());
}
