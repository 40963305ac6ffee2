#include "sheets/RowRecomputeBatch.h"

#include "support/DetailSheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantor {
namespace {

// Ledger rows typed into a sheet, left to right, one row after the other.
const std::vector<std::vector<std::string>> kLedger = {
    {"", "甲", "个", "3", "", "100", "0.5", "", "3", "33.333", "", "", "x"},
    {"", "乙's", "吨", "0", "", "12.5", "", "", "", "", "", "", ""},
    {"", "丙", "kg", "7", "", "-70", "1", "", "2", "12.125", "", "", ""},
    {"", "", "", "abc", "", "1,000", "", "=1+1", "1", "801", "", "", ""},
};

TEST(RowRecomputeBatch, GivesWhatLeavingEachCellGivesAsOneUndoStep)
{
    for (int id : {16, 22, 26, 30, 40, 41, 43, 47, 49, 52, 60, 74, 78}) {
        SCOPED_TRACE(id);
        Workbook typed, batched;
        test::buildSheet(typed, id);
        test::buildSheet(batched, id);
        {
            RowRecomputeBatch batch(batched, id, true);
            for (std::size_t r = 0; r < kLedger.size(); ++r)
                for (int col = 0; col < static_cast<int>(kLedger[r].size()) && col < typed.Cols(); ++col) {
                    const int row = 3 + static_cast<int>(r);
                    if (kLedger[r][col].empty())
                        continue;
                    test::typeAndLeave(typed, id, col, row, kLedger[r][col]);
                    batched.setCellInput(col, row, kLedger[r][col]);
                    batch.cellEdited(row, col);
                }
        }
        EXPECT_EQ(batched.undoStack().undoCount(), 1u);
        test::expectSameSheets(batched, typed);
    }
}

TEST(RowRecomputeBatch, TotalsFollowTheRowsTheBatchAdded)
{
    Workbook wb;
    test::buildSheet(wb, 16);
    {
        RowRecomputeBatch batch(wb, 16, true);
        wb.SetRows(2003);
        for (int row = 3; row < 2003; ++row)
            for (int col : {5, 6}) {
                wb.setCellInput(col, row, "1.25");
                batch.cellEdited(row, col);
            }
    }
    EXPECT_EQ(test::num(wb, 5, 2), 2500.0);
    EXPECT_EQ(test::num(wb, 8, 2), -100.0);
    EXPECT_EQ(test::num(wb, 8, 2002), -100.0);
}

} // namespace
} // namespace vantor
