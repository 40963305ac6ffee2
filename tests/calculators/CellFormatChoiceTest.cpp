#include "calculators/CellFormatChoice.h"

#include "sheet_component/engine/Workbook.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

const CellRange Block{1, 1, 2, 3};

TEST(CellFormatChoice, LockAppearanceTextStyleAndNothingChosen)
{
    Workbook wb;
    CellFormatChoice choice;
    EXPECT_FALSE(choice.apply(wb, Block));
    EXPECT_FALSE(wb.CanUndo());

    choice.protection = CellFormatChoice::Protection::Lock;
    choice.appearance = 2;
    choice.textStyle = 1;
    ASSERT_TRUE(choice.apply(wb, Block));
    EXPECT_TRUE(wb.DoGetCellLock(2, 3));
    EXPECT_FALSE(wb.DoGetCellLock(3, 3));
    EXPECT_EQ(wb.cellFormat(1, 1).threeD, 2);
    EXPECT_EQ(wb.cellFormat(1, 1).textStyle, 1);
    EXPECT_EQ(wb.undoStack().undoCount(), 1u);

    CellFormatChoice unlock;
    unlock.protection = CellFormatChoice::Protection::Unlock;
    ASSERT_TRUE(unlock.apply(wb, Block));
    EXPECT_FALSE(wb.DoGetCellLock(2, 3));
    wb.DoUndo();
    EXPECT_TRUE(wb.DoGetCellLock(2, 3));
}

} // namespace
} // namespace vantor
