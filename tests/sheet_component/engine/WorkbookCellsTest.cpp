#include "EngineTestSupport.h"

#include "sheet_component/engine/Selection.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vantor;

TEST(WorkbookCells, OutOfRangeAndNonFiniteWritesAreSafe)
{
    Workbook wb;
    wb.SetCols(3);
    wb.SetRows(3);
    wb.undoStack().clear();
    for (auto [col, row] : {std::pair{3, 0}, {0, 3}, {-1, 0}})
        wb.DoSetCellData(col, row, 1.0);
    EXPECT_FALSE(wb.CanUndo());
    EXPECT_TRUE(wb.DoGetCellData(-1, -1).isEmpty());
    EXPECT_TRUE(wb.DoGetSheetCellData(0, 0, 7).isEmpty());
    wb.DoSetCellData(0, 0, std::numeric_limits<double>::quiet_NaN());
    wb.DoSetCellData(0, 1, std::numeric_limits<double>::infinity());
    EXPECT_EQ(wb.DoGetCellData(0, 0), CellValue::error(CellError::Value));
    EXPECT_EQ(wb.displayText(0, 0, 1), "#VALUE!");
}

TEST(WorkbookCells, InputAsTypedFormulasAndClearing)
{
    const std::pair<const char *, CellValue> cases[] = {
        {" -1,234.5 ", CellValue::number(-1234.5)},
        {"12a", CellValue::text("12a")},
        {"'7", CellValue::text("'7")},
        {"=2*3", CellValue::number(6)},
        {"=", CellValue::text("=")},
        {"", CellValue()},
    };
    Workbook wb;
    for (const auto &[input, expected] : cases) {
        wb.setCellInput(0, 0, input);
        EXPECT_EQ(wb.DoGetCellData(0, 0), expected) << input;
    }
    wb.DoSetCellData(0, 0, 2.0);
    ASSERT_TRUE(wb.DoSetCellFormula(0, 2, "=A1*a1"));
    EXPECT_EQ(wb.formulaText(0, 0, 2), "A1*A1");
    wb.DoClearCellFormula(0, 2); // keeps the value, which no longer follows its inputs
    wb.DoSetCellData(0, 0, 10.0);
    EXPECT_EQ(wb.DoGetCellData(0, 2), CellValue::number(4));
    wb.DoSetCellAlignment(0, 2, AlignCenter);
    wb.DoClearCell(0, 2, ClearContents);
    EXPECT_TRUE(wb.DoGetCellData(0, 2).isEmpty());
    EXPECT_EQ(wb.DoGetCellAlignment(0, 2), AlignCenter);
    wb.DoClearCell(0, 2, ClearAll);
    EXPECT_TRUE(wb.sheet(0).isBlank(0, 2));
}

TEST(WorkbookSize, ShrinkingDropsCellsAndUndoBringsThemBack)
{
    Workbook wb;
    wb.SetCols(4);
    wb.SetRows(30);
    wb.DoSetCellData(2, 25, 5.0);
    wb.DoSetCellFormula(2, 0, "sum(C20:C30)");
    wb.DoSetRowHeight(25, 44);
    wb.SetRows(12403);
    EXPECT_EQ(wb.DoGetCellData(2, 25).number(), 5);
    wb.undoStack().clear();
    const std::string before = test::dumpSheet(wb, 0);
    wb.SetRows(20);
    EXPECT_EQ(wb.DoGetCellData(2, 0), CellValue::number(0));
    wb.SetRows(30);
    EXPECT_TRUE(wb.DoGetCellData(2, 25).isEmpty()) << "shrinking must really drop the cells";
    wb.DoUndo();
    wb.DoUndo();
    EXPECT_EQ(test::dumpSheet(wb, 0), before);
    EXPECT_EQ(wb.DoGetCellData(2, 0), CellValue::number(5));
}

TEST(WorkbookState, ModifiedFlagFollowsChangesNotMoves)
{
    Workbook wb;
    Selection sel(wb);
    wb.DoSetColWidth(0, 100);
    EXPECT_TRUE(wb.IsModified());
    wb.DoSetModified(false);
    sel.DoGotoCell(2, 2);
    EXPECT_FALSE(wb.IsModified());
}
