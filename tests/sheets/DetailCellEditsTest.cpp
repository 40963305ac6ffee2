// What typing and leaving do on the sheet the window shows: the cells the user may edit and the
// edit-started flag. The refusal of text, the paste limits and a pasted block are met through
// the window (tests/app/DetailCommandsWiringTest.cpp); a block recomputed as typed cells in
// RowRecomputeBatchTest.
#include "sheets/DetailCellEdits.h"

#include "support/DetailSheet.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::ScriptedPrompter;

// Headings and total rows are refused; 表11 (78) protects its title row and the labels of its
// contra rows 1 … 4.
TEST(DetailCellEdits, HeadingsTotalRowsAndContraLabelsAreRefused)
{
    const struct {
        int sheet, col, row;
        bool allowed;
    } cases[] = {
        {16, 5, 1, false}, {16, 3, 2, false}, {16, 0, 3, true}, {0, 2, 2, false}, {-1, 0, 3, true},
        {78, 7, 0, false}, {78, 1, 4, false}, {78, 2, 1, true}, {78, 0, 5, true}, {60, 4, 12402, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DetailCellEdits::mayEditCell(c.sheet, c.col, c.row), c.allowed)
            << c.sheet << " " << c.col << " " << c.row;
}

// Only an edit started on a data row of a data-entry detail sheet recomputes, once; a refused
// edit or mere moving recomputes nothing, and the flag waits for its own cell to be left.
TEST(DetailCellEdits, LeavingRecomputesOnlyAStartedEditOfADataRow)
{
    Workbook wb;
    test::buildSheet(wb, 22);
    wb.setCellInput(5, 3, "100");
    ScriptedPrompter p;
    DetailCellEdits edits;
    EXPECT_FALSE(edits.mayEdit(22, 5, 2));
    EXPECT_FALSE(edits.cellLeft(wb, {22, true, true}, 5, 2, p));
    edits.textTyped();
    for (EditContext other : {EditContext{22, false, true}, EditContext{22, true, true}}) {
        EXPECT_FALSE(edits.cellLeft(wb, other, 5, other.detailEntry ? 2 : 3, p));
        EXPECT_TRUE(edits.editStarted());
    }
    EXPECT_TRUE(edits.cellLeft(wb, {22, true, true}, 5, 3, p));
    EXPECT_EQ(test::num(wb, 7, 3), 100);
    EXPECT_FALSE(edits.cellLeft(wb, {22, true, true}, 5, 3, p));
    // An amount beyond the currency range is named to the user; the rest of the row still runs.
    EXPECT_TRUE(p.shown.empty());
    wb.setCellInput(6, 3, "900000000000000");
    wb.setCellInput(5, 3, "900000000000000");
    edits.mayEdit(22, 5, 3);
    EXPECT_TRUE(edits.cellLeft(wb, {22, true, true}, 5, 3, p));
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].text, DetailCellEdits::AmountRangeMessage);
}

} // namespace
} // namespace vantor
