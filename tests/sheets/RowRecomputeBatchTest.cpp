#include "sheets/RowRecomputeBatch.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"

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

void typeLedger(Workbook &wb, int id, RowRecomputeBatch *batch)
{
    for (std::size_t r = 0; r < kLedger.size(); ++r) {
        const int row = 3 + static_cast<int>(r);
        for (int col = 0; col < static_cast<int>(kLedger[r].size()) && col < wb.Cols(); ++col) {
            if (kLedger[r][col].empty())
                continue;
            wb.setCellInput(col, row, kLedger[r][col]);
            if (batch)
                batch->cellEdited(row, col);
            else
                RowFormulas::cellEdited(wb, id, row, col, true);
        }
    }
}

TEST(RowRecomputeBatch, GivesWhatLeavingEachCellGives)
{
    for (int id : {16, 22, 26, 30, 40, 41, 43, 47, 49, 52, 60, 74, 78}) {
        SCOPED_TRACE(id);
        Workbook one, many;
        for (Workbook *wb : {&one, &many}) {
            if (!DetailSheetBuilder::build(*wb, id))
                wb->SetCols(6);
        }
        typeLedger(one, id, nullptr);
        many.undoStack().clear();
        {
            RowRecomputeBatch batch(many, id, true);
            typeLedger(many, id, &batch);
        }
        EXPECT_EQ(many.undoStack().undoCount(), 1u);
        for (int row = 0; row < one.Rows(); ++row)
            for (int col = 0; col < one.Cols(); ++col) {
                EXPECT_EQ(many.DoGetCellData(col, row), one.DoGetCellData(col, row)) << col << "," << row;
                EXPECT_EQ(many.formulaText(0, col, row), one.formulaText(0, col, row)) << col << "," << row;
            }
        EXPECT_EQ(many.sheet(0).frozenRows(), one.sheet(0).frozenRows());
    }
}

TEST(RowRecomputeBatch, TotalsFollowTheRowsTheBatchAdded)
{
    Workbook wb;
    DetailSheetBuilder::build(wb, 16);
    {
        RowRecomputeBatch batch(wb, 16, true);
        wb.SetRows(2003);
        for (int row = 3; row < 2003; ++row) {
            wb.setCellInput(5, row, "1.25");
            batch.cellEdited(row, 5);
            wb.setCellInput(6, row, "1.25");
            batch.cellEdited(row, 6);
        }
    }
    EXPECT_EQ(wb.DoGetCellData(5, 2).number(), 2500.0);
    EXPECT_EQ(wb.DoGetCellData(8, 2).number(), -100.0);
    EXPECT_EQ(wb.DoGetCellData(8, 2002).number(), -100.0);
}

} // namespace
} // namespace vantor
