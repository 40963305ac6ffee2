#include "sheets/RowFormulas.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailLayouts.h"
#include "sheets/DetailSheetBuilder.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>

namespace vantor {

inline void PrintTo(const Amount &a, std::ostream *os)
{
    *os << a.toString(4);
}

namespace {

Amount A(const std::string &text)
{
    return *Amount::parse(text);
}

// The workbook keeps formulas in its own letter case; compare without it.
std::string lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string formulaAt(const Workbook &wb, int col, int row)
{
    return lower(wb.formulaText(0, col, row));
}

struct Fixture {
    explicit Fixture(int id) : id(id) { DetailSheetBuilder::build(wb, id); }

    void set(const std::map<int, std::string> &cells, int row = 3)
    {
        for (const auto &[col, input] : cells)
            wb.setCellInput(col, row, input);
    }
    Amount at(int col, int row = 3) const { return *RowFormulas::readAmount(wb, col, row); }

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
        // Kinds without row rules only get their rate.
        {{16}, {{6, "800"}, {7, "803"}}, 7, {{8, "0.38"}}},
    };
    for (const RowCase &rc : cases) {
        for (int id : rc.kinds) {
            SCOPED_TRACE("kind " + std::to_string(id) + ", edited column " + std::to_string(rc.edited));
            Fixture f(id);
            f.set(rc.inputs);
            EXPECT_TRUE(RowFormulas::cellEdited(f.wb, id, 3, rc.edited, true));
            for (const auto &[col, value] : rc.expected)
                EXPECT_EQ(f.at(col), A(value)) << "column " << col;
        }
    }
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
        EXPECT_EQ(f.at(l->rateColumn, 4), A("0.12"));
        EXPECT_EQ(f.at(l->rateColumn, 2), A("0.25"));
    }
}

TEST(RowFormulas, EmptyTextAndZeroCellsReadAsZeroAndNeverDivide)
{
    Fixture f(22);
    f.set({{3, "abc"}, {5, "1,000"}, {6, "O'Neil"}});
    EXPECT_TRUE(RowFormulas::cellEdited(f.wb, 22, 3, 5, true));
    EXPECT_EQ(f.at(4), Amount()); // quantity is text: no division, price 0
    EXPECT_EQ(f.at(7), A("1000"));
    Fixture g(16); // no adjusted value: rate 0 in the row and the total, not a division error
    g.set({{5, "100"}, {7, "500"}});
    EXPECT_TRUE(RowFormulas::cellEdited(g.wb, 16, 3, 7, true));
    EXPECT_EQ(g.at(8), Amount());
    EXPECT_EQ(g.wb.DoGetCellData(8, 2), CellValue::number(0));
}

// The total row sums exactly the summed columns of the kind over the data rows, follows the
// row count, and an edit in the headings or the total row itself computes nothing.
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
            const std::string sum = lower(RowFormulas::totalSumFormula(c, 28));
            EXPECT_EQ(formulaAt(f.wb, c, 2), l.isSummed(c)                 ? sum
                                             : c == l.rateColumn && c != 0 ? lower(RowFormulas::totalRateFormula(id))
                                                                           : "")
                << c;
        }
        EXPECT_EQ(f.at(l.roles.book, 2), A("101"));
        f.wb.SetRows(40);
        f.set({{l.roles.book, "1"}}, 39);
        RowFormulas::cellEdited(f.wb, id, 39, l.roles.book, true);
        EXPECT_EQ(f.at(l.roles.book, 2), A("102"));
    }
    // writeTotals rebuilds the total row alone, as one step, without recomputing rows.
    Fixture g(40);
    g.set({{5, "10"}, {10, "200"}, {13, "250"}}, 3);
    g.wb.undoStack().clear();
    RowFormulas::writeTotals(g.wb, 40, false);
    EXPECT_EQ(g.wb.undoStack().undoCount(), 1u);
    EXPECT_TRUE(g.wb.DoGetCellData(14, 3).isEmpty());
}

TEST(RowFormulas, OutOfRangeAmountLeavesItsCellAndIsCounted)
{
    Fixture f(22);
    f.set({{3, "2"}, {5, "900000000000000"}, {6, "900000000000000"}, {7, "5"}});
    EXPECT_FALSE(RowFormulas::cellEdited(f.wb, 22, 3, 5, true));
    EXPECT_EQ(f.at(7), A("5")); // the sum does not fit: the old value stays
    Fixture h(74);
    h.set({{4, "900000000000000"}, {5, "900000000000000"}}, 5);
    h.set({{4, "1"}, {5, "2"}}, 6);
    EXPECT_EQ(RowFormulas::recomputeRows(h.wb, 74, 3, 27, false), 1);
    EXPECT_EQ(h.at(6, 6), A("3"));
    EXPECT_TRUE(h.wb.DoGetCellData(6, 5).isEmpty());
}

TEST(RowFormulas, RecomputingManyRowsAppliesEveryRuleAndTotalsOnce)
{
    Fixture f(22);
    f.wb.SetRows(1003);
    for (int row = 3; row < 1003; ++row)
        f.set({{3, "3"}, {5, "100"}, {8, "2"}, {9, "0.125"}}, row);
    f.set({{5, "7"}}, 2); // a stale value in the total row is replaced by its sum
    f.wb.undoStack().clear();
    EXPECT_EQ(RowFormulas::recomputeRows(f.wb, 22, 0, 5000, true), 0);
    EXPECT_EQ(f.wb.undoStack().undoCount(), 1u);
    EXPECT_EQ(f.at(10, 500), A("0.25"));
    EXPECT_EQ(f.at(5, 2), A("100000"));
    EXPECT_EQ(f.wb.DoGetCellData(4, 1).text(), "单价"); // nothing written above the data rows
}

// Undo and redo take the whole recomputation back, on its own sheet even when another is current.
TEST(RowFormulas, RecomputingManyRowsUndoesAndRedoesAsOneStepOnItsSheet)
{
    Workbook wb;
    wb.DoAddSheet("b22", 1);
    wb.DoSetCurrentSheet(1);
    DetailSheetBuilder::build(wb, 22);
    for (auto [col, text] : {std::pair{3, "4"}, {5, "10"}})
        wb.setCellInput(col, 3, text);
    for (auto [col, text] : {std::pair{3, "2"}, {5, "5"}, {7, "=1+1"}})
        wb.setCellInput(col, 4, text);
    wb.undoStack().clear();
    RowFormulas::recomputeRows(wb, 22, 3, 27, true);
    EXPECT_EQ(wb.formulaText(1, 7, 4), "");
    ASSERT_EQ(wb.undoStack().undoCount(), 1u);
    wb.DoSetCurrentSheet(0);
    wb.DoUndo();
    EXPECT_TRUE(wb.DoGetSheetCellData(4, 3, 1).isEmpty());
    EXPECT_NE(wb.formulaText(1, 7, 4), ""); // the user's formula is back
    wb.DoRedo();
    EXPECT_EQ(wb.DoGetSheetCellData(5, 2, 1).number(), 15);
}

TEST(RowFormulas, ContraAndSummarySheetsGetNoFormulas)
{
    for (int id : {78, 1, 0}) {
        Workbook wb;
        wb.SetCols(6);
        wb.setCellInput(2, 3, "5");
        EXPECT_TRUE(RowFormulas::cellEdited(wb, id, 3, 2, true));
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(formulaAt(wb, c, 2), "") << id;
    }
}

} // namespace
} // namespace vantor
