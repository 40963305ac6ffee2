// The ledger fill: splitting lines, the limits, and that a
// fill ends exactly where typing every cell and leaving it would end.

#include "sheets/LedgerFill.h"

#include "sheets/DetailLayouts.h"
#include "support/DetailSheet.h"

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

TEST(LedgerFillTest, ChecksTheRowLimitTheColumnsAndTheFixedRows)
{
    Workbook wb;
    test::buildSheet(wb, 16); // 10 columns
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
        test::buildSheet(filled, id);
        test::buildSheet(typed, id);
        const LedgerFill::Rows rows = patternLedger(DetailLayouts::dataColumnCount(id) + 2);
        const int first = 25; // rows 26 … 33 as the user counts: the sheet grows past 28
        ASSERT_FALSE(LedgerFill::check(filled, id, first, rows));
        LedgerFill::fill(filled, id, first, rows, true);

        typed.SetRows(first + static_cast<int>(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i)
            for (std::size_t c = 0; c < rows[i].size(); ++c)
                if (!rows[i][c].empty())
                    test::typeAndLeave(typed, id, static_cast<int>(c), first + static_cast<int>(i), rows[i][c]);
        test::expectSameSheets(filled, typed);
    }
}

TEST(LedgerFillTest, AFillThatTypesNothingKeepsTheTotalRowAndAFillIsOneUndoStep)
{
    Workbook wb;
    test::buildSheet(wb, 22);
    test::typeAndLeave(wb, 22, 5, 3, "100");
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
