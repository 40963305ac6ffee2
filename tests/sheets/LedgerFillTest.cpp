// The ledger fill: splitting lines, the cells a user may type into, the limits, and that a
// fill ends exactly where typing every cell and leaving it would end.

#include "sheets/LedgerFill.h"

#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailLayouts.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vantor {
namespace {

using Fields = std::vector<std::string>;

TEST(LedgerFillTest, ReadsLinesSplitsAtTabsAndUndoesTheDumpEscapes)
{
    // Unknown escapes and a lone backslash at the end stay as they are.
    const std::pair<const char *, Fields> lines[] = {{"", {""}},
                                                     {"a\tb", {"a", "b"}},
                                                     {"a\t\t", {"a", "", ""}},
                                                     {"a\tb\r", {"a", "b"}},
                                                     {"O'Brien\\t制表\\n换行\\\\", {"O'Brien\t制表\n换行\\"}},
                                                     {"C:\\dir\\", {"C:\\dir\\"}}};
    for (const auto &[line, fields] : lines)
        EXPECT_EQ(LedgerFill::splitLine(line), fields) << line;
    std::istringstream in("\xEF\xBB\xBF"
                          "1\ta\r\n\n2\tb"); // a byte order mark is skipped
    EXPECT_EQ(LedgerFill::read(in), (LedgerFill::Rows{{"1", "a"}, {""}, {"2", "b"}}));
}

TEST(LedgerFillTest, CellsAUserMayTypeInto)
{
    struct Case {
        int id, col, row;
        bool may;
    };
    const std::vector<Case> table{
        {16, 5, 2, false}, {16, 9, 3, true}, {78, 1, 4, false}, {78, 2, 1, true}, {60, 4, 12402, true},
    };
    for (const Case &c : table)
        EXPECT_EQ(LedgerFill::mayEdit(c.id, c.col, c.row), c.may) << c.id << " " << c.col << " " << c.row;
}

TEST(LedgerFillTest, ChecksTheRowLimitTheColumnsAndTheFixedRows)
{
    Workbook wb;
    DetailSheetBuilder::build(wb, 16); // 10 columns
    const LedgerFill::Rows one{{"a"}};
    EXPECT_FALSE(LedgerFill::check(wb, 16, 3, one));
    EXPECT_TRUE(LedgerFill::check(wb, 16, 2, one));
    EXPECT_FALSE(LedgerFill::check(wb, 16, LedgerFill::MaxRows - 1, one));
    EXPECT_TRUE(LedgerFill::check(wb, 16, LedgerFill::MaxRows - 1, LedgerFill::Rows{{"a"}, {"b"}}));
    EXPECT_FALSE(LedgerFill::check(wb, 16, 3, LedgerFill::Rows{Fields(10, "1")}));
    EXPECT_TRUE(LedgerFill::check(wb, 16, 3, LedgerFill::Rows{Fields(11, "1")}));
    // Empty fields beyond the last column are no problem: they change nothing.
    Fields trailing(10, "1");
    trailing.push_back("");
    EXPECT_FALSE(LedgerFill::check(wb, 16, 3, LedgerFill::Rows{trailing}));
}

// A ledger with numbers in most columns and gaps in a pattern, so that derived cells are
// sometimes typed after the rule wrote them and sometimes before.
LedgerFill::Rows patternLedger(int cols)
{
    LedgerFill::Rows rows;
    for (int r = 0; r < 7; ++r) {
        Fields fields;
        for (int c = 0; c < cols; ++c) {
            if ((r + c) % 4 == 0)
                fields.push_back("");
            else if (c == 1)
                fields.push_back("名称" + std::to_string(r));
            else
                fields.push_back(std::to_string((r + 1) * (c + 2)) + "." + std::to_string((r * 7 + c) % 10) + "5");
        }
        rows.push_back(fields);
    }
    rows.push_back({});
    return rows;
}

TEST(LedgerFillTest, EndsWhereTypingEveryCellAndLeavingItEnds)
{
    for (int id : {16, 22, 30, 40, 43, 49, 74}) {
        SCOPED_TRACE(id);
        Workbook filled, typed;
        DetailSheetBuilder::build(filled, id);
        DetailSheetBuilder::build(typed, id);
        const LedgerFill::Rows rows = patternLedger(DetailLayouts::dataColumnCount(id) + 2);
        const int first = 25; // rows 26 … 33 as the user counts: the sheet grows past 28
        ASSERT_FALSE(LedgerFill::check(filled, id, first, rows));
        LedgerFill::fill(filled, id, first, rows, true);

        typed.SetRows(first + static_cast<int>(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i)
            for (std::size_t c = 0; c < rows[i].size(); ++c)
                if (!rows[i][c].empty()) {
                    const int row = first + static_cast<int>(i);
                    typed.setCellInput(static_cast<int>(c), row, rows[i][c]);
                    RowFormulas::cellEdited(typed, id, row, static_cast<int>(c), true);
                }

        ASSERT_EQ(filled.Rows(), typed.Rows());
        for (int row = 0; row < typed.Rows(); ++row)
            for (int col = 0; col < typed.Cols(); ++col) {
                EXPECT_EQ(filled.DoGetCellData(col, row), typed.DoGetCellData(col, row)) << col << "," << row;
                EXPECT_EQ(filled.formulaText(0, col, row), typed.formulaText(0, col, row)) << col << "," << row;
            }
        EXPECT_EQ(filled.sheet(0).frozenRows(), typed.sheet(0).frozenRows());
    }
}

TEST(LedgerFillTest, AFillThatTypesNothingKeepsTheTotalRowAndAFillIsOneUndoStep)
{
    Workbook wb;
    DetailSheetBuilder::build(wb, 22);
    wb.setCellInput(5, 3, "100");
    RowFormulas::cellEdited(wb, 22, 3, 5, true);
    ASSERT_EQ(wb.formulaText(0, 5, 2), "sum(F4:F28)");
    const std::string rate = wb.formulaText(0, 11, 2);
    ASSERT_FALSE(rate.empty());
    const auto result = LedgerFill::fill(wb, 22, 3, LedgerFill::Rows{{""}, {"", ""}}, true);
    EXPECT_EQ(result.cells, 0);
    EXPECT_EQ(wb.formulaText(0, 5, 2), "sum(F4:F28)");
    EXPECT_EQ(wb.formulaText(0, 11, 2), rate);
    wb.undoStack().clear();
    LedgerFill::fill(wb, 22, 4, LedgerFill::Rows{{"1", "甲", "", "", "", "10"}}, true);
    EXPECT_DOUBLE_EQ(wb.DoGetCellData(7, 4).number(), 10);
    wb.DoUndo(); // one step
    EXPECT_TRUE(wb.DoGetCellData(5, 4).isEmpty());
    EXPECT_FALSE(wb.CanUndo());
}

} // namespace
} // namespace vantor
