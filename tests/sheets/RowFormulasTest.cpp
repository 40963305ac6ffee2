// The row formulas: every kind's rules and rates, text and zero operands, the total row, amounts
// beyond the currency range, and the whole-sheet recomputation as one undo step.
#include "sheets/RowFormulas.h"

#include "sheets/DetailLayouts.h"
#include "support/DetailSheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

namespace vantor {
namespace {

using test::amount;

// The workbook keeps formulas in its own letter case; compare without it.
std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

struct Fixture {
    explicit Fixture(int id) : id(id) { test::buildSheet(wb, id); }

    void set(const std::map<int, std::string> &cells, int row = 3)
    {
        for (const auto &[col, input] : cells)
            wb.setCellInput(col, row, input);
    }
    Amount at(int col, int row = 3) const { return *RowFormulas::readAmount(wb, col, row); }
    std::string formula(int col, int row) const { return lower(wb.formulaText(0, col, row)); }

    int id;
    Workbook wb;
};

struct RowCase {
    std::vector<int> kinds;
    std::map<int, std::string> inputs;
    int edited;
    std::map<int, std::string> expected; // cells of the edited row after leaving the cell
};

TEST(RowFormulas, EveryKindCompletesItsRow)
{
    const RowCase cases[] = {
        // Inventories: adjusted = book + adjustment, unit price = book ÷ quantity (four decimals).
        {{22, 23, 24, 25, 27, 28}, {{3, "3"}, {5, "100"}, {6, "0.5"}}, 5, {{7, "100.5"}, {4, "33.3333"}, {11, "-100"}}},
        {{22, 23, 24, 25, 27, 28}, {{3, "0"}, {5, "100"}}, 3, {{4, "0"}, {7, "100"}}},
        {{22, 23, 24, 25, 27, 28}, {{7, "100"}, {8, "3"}, {9, "33.333"}}, 9, {{10, "100"}, {11, "0"}}},
        {{26, 29, 31, 32}, {{4, "4"}, {6, "10"}, {7, "-2"}}, 7, {{8, "8"}, {5, "2.5"}, {12, "-100"}}},
        // 在用低值易耗品: the amount takes the 成新率% as a fraction.
        {{30}, {{6, "300"}, {7, "3"}, {8, "100"}, {9, "85.5"}}, 9, {{10, "256.5"}, {11, "-14.5"}}},
        // Buildings: unit costs per ㎡, net value from 原值 × 成新率%.
        {{40},
         {{5, "200"}, {7, "100000"}, {10, "100000"}, {11, "150000"}, {12, "80"}},
         12,
         {{6, "500"}, {15, "750"}, {13, "120000"}, {14, "20"}}},
        {{40}, {{5, "0"}, {7, "100"}, {11, "100"}, {12, "50"}}, 5, {{6, "0"}, {15, "0"}, {13, "50"}, {14, "0"}}},
        {{41}, {{6, "3"}, {10, "300"}, {11, "1000"}, {12, "37.5"}}, 11, {{15, "333.3333"}, {13, "375"}, {14, "25"}}},
        {{42, 43, 44, 45, 46}, {{11, "1000"}, {12, "1234.56"}, {13, "85"}}, 13, {{14, "1049.38"}, {15, "4.94"}}},
        // 设备安装工程: the two 合计 columns.
        {{49}, {{4, "1.1"}, {5, "2.2"}, {6, "3.3"}}, 6, {{7, "6.6"}}},
        {{74}, {{4, "100"}, {5, "-0.01"}}, 2, {{6, "99.99"}}},
        // Kinds without row rules only get their rate; text and 0 never divide.
        {{16}, {{6, "800"}, {7, "803"}}, 7, {{8, "0.38"}}},
        {{16}, {{5, "100"}, {7, "500"}}, 7, {{8, "0"}}},
        {{22}, {{3, "abc"}, {5, "1,000"}, {6, "O'Neil"}}, 5, {{4, "0"}, {7, "1000"}}},
    };
    for (const RowCase &rc : cases) {
        for (int id : rc.kinds) {
            SCOPED_TRACE("kind " + std::to_string(id) + ", edited column " + std::to_string(rc.edited));
            Fixture f(id);
            f.set(rc.inputs);
            EXPECT_TRUE(RowFormulas::cellEdited(f.wb, id, 3, rc.edited, true));
            for (const auto &[col, value] : rc.expected)
                EXPECT_EQ(f.at(col), amount(value)) << "column " << col;
        }
    }
}

// The rule table is checked by what must hold for every rule, not copied row by row.
TEST(RowFormulas, RulesStayInsideTheirKindsDataColumnsAndTheirInputsTriggerThem)
{
    for (const RowRule &rule : RowFormulas::rules())
        for (int id : rule.kinds) {
            SCOPED_TRACE(id);
            const DetailLayout *l = DetailLayouts::layout(id);
            ASSERT_NE(l, nullptr);
            EXPECT_TRUE(RowFormulas::recomputesRows(id));
            for (int c : rule.editedColumns)
                EXPECT_TRUE(c >= 1 && c <= l->dataColumns) << "edited column " << c;
            for (const RowAssignment &as : rule.assignments) {
                EXPECT_TRUE(as.target >= 1 && as.target <= l->dataColumns && as.target != l->rateColumn);
                for (const RuleOperand *o : {&as.a, &as.b, &as.c})
                    EXPECT_TRUE(o->col == -1 || (o->col >= 1 && o->col <= l->dataColumns && o->col != as.target));
                for (int c : rule.editedColumns.empty() ? std::vector<int>{1} : rule.editedColumns) {
                    const auto triggered = RowFormulas::assignmentsFor(id, c);
                    EXPECT_NE(std::find(triggered.begin(), triggered.end(), &as), triggered.end()) << c;
                }
            }
        }
    for (int id : {0, 16, 60, 78, 79})
        EXPECT_TRUE(RowFormulas::assignmentsFor(id, -1).empty()) << id;
    EXPECT_TRUE(RowFormulas::assignmentsFor(22, DetailLayouts::layout(22)->remarksColumn()).empty());
}

TEST(RowFormulas, EveryKindWithARateColumnWritesItsRateInTheRowAndTheTotal)
{
    for (int id = 10; id <= 77; ++id) {
        const DetailLayout *l = DetailLayouts::layout(id);
        if (l->rateColumn == 0 || !RowFormulas::recomputesRows(id))
            continue;
        SCOPED_TRACE(id);
        Fixture f(id);
        // Rows 4 and 5 through column 1, which has no rules; the total row: 1600 against 1604.
        f.set({{l->roles.adjusted, "800"}, {l->roles.appraised, "803"}}, 3);
        f.set({{l->roles.adjusted, "800"}, {l->roles.appraised, "801"}}, 4);
        RowFormulas::cellEdited(f.wb, id, 3, 1, true);
        RowFormulas::cellEdited(f.wb, id, 4, 1, true);
        EXPECT_EQ(f.at(l->rateColumn, 4), amount("0.12"));
        EXPECT_EQ(f.at(l->rateColumn, 2), amount("0.25"));
    }
}

// The total row sums exactly the summed columns of the kind over the data rows and follows the
// row count; 表11 and the summary sheets get no formulas.
TEST(RowFormulas, TotalRowSumsTheSummedColumnsOverTheDataRows)
{
    for (int id : {16, 49, 60}) {
        SCOPED_TRACE(id);
        Fixture f(id);
        const DetailLayout &l = *DetailLayouts::layout(id);
        f.set({{l.roles.book, "100.25"}}, 3);
        f.set({{l.roles.book, "0.75"}}, 27);
        RowFormulas::cellEdited(f.wb, id, 3, l.roles.book, true);
        for (int c = 0; c < f.wb.Cols(); ++c) {
            const std::string rate = c == l.rateColumn && c != 0 ? RowFormulas::totalRateFormula(id) : "";
            EXPECT_EQ(f.formula(c, 2), lower(l.isSummed(c) ? RowFormulas::totalSumFormula(c, 28) : rate)) << c;
        }
        EXPECT_EQ(f.at(l.roles.book, 2), amount("101"));
        f.wb.SetRows(40);
        f.set({{l.roles.book, "1"}}, 39);
        RowFormulas::cellEdited(f.wb, id, 39, l.roles.book, true);
        EXPECT_EQ(f.at(l.roles.book, 2), amount("102"));
    }
    // A sheet cut down to its frame never sums into its own total row.
    EXPECT_EQ(RowFormulas::totalSumFormula(5, 3), "sum(F4:F4)");
    EXPECT_EQ(RowFormulas::totalSumFormula(14, 12403), "sum(O4:O12403)");
    for (int id : {78, 1}) {
        Fixture f(id);
        f.set({{2, "5"}});
        EXPECT_TRUE(RowFormulas::cellEdited(f.wb, id, 3, 2, true));
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(f.formula(c, 2), "") << id;
    }
}

TEST(RowFormulas, OutOfRangeAmountLeavesItsCellAndIsCounted)
{
    Fixture f(22);
    f.set({{3, "2"}, {5, "900000000000000"}, {6, "900000000000000"}, {7, "5"}});
    EXPECT_FALSE(RowFormulas::cellEdited(f.wb, 22, 3, 5, true));
    EXPECT_EQ(f.at(7), amount("5")); // the sum does not fit: the old value stays
    Fixture h(74);
    h.set({{4, "900000000000000"}, {5, "900000000000000"}}, 5);
    h.set({{4, "1"}, {5, "2"}}, 6);
    EXPECT_EQ(RowFormulas::recomputeRows(h.wb, 74, 3, 27, false), 1);
    EXPECT_EQ(h.at(6, 6), amount("3"));
    EXPECT_TRUE(h.wb.DoGetCellData(6, 5).isEmpty());
}

// Many rows recomputed: every rule, the total row once, one undo step that undoes and redoes on
// its own sheet even when another is current, and gives back a user's formula.
TEST(RowFormulas, RecomputingManyRowsIsOneUndoStepOfItsSheet)
{
    Workbook wb;
    wb.DoAddSheet("b22", 1);
    wb.DoSetCurrentSheet(1);
    test::buildSheet(wb, 22);
    wb.SetRows(1003);
    for (int row = 3; row < 1003; ++row)
        for (auto [col, text] : {std::pair{3, "3"}, {5, "100"}, {8, "2"}, {9, "0.125"}})
            wb.setCellInput(col, row, text);
    wb.setCellInput(7, 4, "=1+1");
    wb.setCellInput(5, 2, "7"); // a stale value in the total row is replaced by its sum
    wb.undoStack().clear();
    EXPECT_EQ(RowFormulas::recomputeRows(wb, 22, 0, 5000, true), 0);
    ASSERT_EQ(wb.undoStack().undoCount(), 1u);
    EXPECT_EQ(test::num(wb, 10, 500), 0.25);
    EXPECT_EQ(test::num(wb, 5, 2), 100000);
    EXPECT_EQ(wb.formulaText(1, 7, 4), "");
    EXPECT_EQ(wb.DoGetCellData(4, 1).text(), "单价"); // nothing written above the data rows
    wb.DoSetCurrentSheet(0);
    wb.DoUndo();
    EXPECT_TRUE(wb.DoGetSheetCellData(4, 3, 1).isEmpty());
    EXPECT_NE(wb.formulaText(1, 7, 4), ""); // the user's formula is back
    wb.DoRedo();
    EXPECT_EQ(wb.DoGetSheetCellData(5, 2, 1).number(), 100000);
    // writeTotals rebuilds the total row alone, as one step, without recomputing rows.
    Fixture g(40);
    g.set({{5, "10"}, {10, "200"}, {13, "250"}}, 3);
    g.wb.undoStack().clear();
    RowFormulas::writeTotals(g.wb, 40, false);
    EXPECT_EQ(g.wb.undoStack().undoCount(), 1u);
    EXPECT_TRUE(g.wb.DoGetCellData(14, 3).isEmpty());
}

} // namespace
} // namespace vantor
