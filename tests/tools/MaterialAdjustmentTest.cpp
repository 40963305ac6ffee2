#include "tools/MaterialAdjustment.h"

#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace vantor
{
namespace
{

using test::ScriptedPrompter;
using Shares = std::vector<std::optional<Amount>>;

Amount A(const char *text)
{
    return *Amount::parse(text);
}

std::vector<std::string> texts(const Shares &shares)
{
    std::vector<std::string> out;
    for (const auto &s : shares)
        out.push_back(s ? s->toString(2) : "-");
    return out;
}

TEST(MaterialAdjustmentSpread, HandComputedCents)
{
    struct Case {
        const char *variance;
        std::vector<const char *> books;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        // 33.333… each; the cent left over goes to the first of equal rows
        {"100", {"1", "1", "1"}, {"33.34", "33.33", "33.33"}},
        // 2.5 cents each: halves to even give 2 + 2, the odd cent to the first row
        {"0.05", {"1", "1"}, {"0.03", "0.02"}},
        // zero book values get nothing and do not count
        {"10", {"0", "1", "0", "3"}, {"-", "2.50", "-", "7.50"}},
        // a negative variance: -33.333… rounds to -33.33 each, one cent more taken from the first
        {"-100", {"5", "5", "5"}, {"-33.34", "-33.33", "-33.33"}},
        // the variance itself is brought to cents first, halves to even: 0.125 → 0.12
        {"0.125", {"1", "1"}, {"0.06", "0.06"}},
        // mixed signs that do not cancel: shares may exceed the variance
        {"10", {"3", "-1"}, {"15.00", "-5.00"}},
        // 1.00 over 7 equal rows: 0.142857… each → 0.14 × 7 = 0.98, two cents to the first rows
        {"1", {"1", "1", "1", "1", "1", "1", "1"}, {"0.15", "0.15", "0.14", "0.14", "0.14", "0.14", "0.14"}},
        // 1/6, 2/6, 3/6 of 100 cents: 16.67 → 17, 33.33 → 33, 50 → 50; rounding alone adds up
        {"1", {"1", "2", "3"}, {"0.17", "0.33", "0.50"}},
        // 0.01 over 3 rows weighted 1:1:2 → 0.25, 0.25, 0.5 cents → 0, 0, 0 (halves to even);
        // the cent goes to the largest remainder: the third row
        {"0.01", {"1", "1", "2"}, {"0.00", "0.00", "0.01"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.variance);
        std::vector<Amount> books;
        for (const char *b : c.books)
            books.push_back(A(b));
        const auto shares = MaterialAdjustment::spread(A(c.variance), books);
        ASSERT_TRUE(shares.has_value());
        EXPECT_EQ(texts(*shares), c.expected);
        Amount sum;
        for (const auto &s : *shares)
            if (s)
                sum += *s;
        EXPECT_EQ(sum, A(c.variance).rounded(2));
    }
}

TEST(MaterialAdjustmentSpread, ZeroSumRefusedAllZeroWritesNothingOverflowThrows)
{
    const std::vector<Amount> cancelling = {A("50"), A("-50"), A("0")};
    EXPECT_FALSE(MaterialAdjustment::spread(A("100"), cancelling).has_value());

    const std::vector<Amount> zeros = {A("0"), A("0")};
    const auto shares = MaterialAdjustment::spread(A("100"), zeros);
    ASSERT_TRUE(shares.has_value());
    EXPECT_EQ(texts(*shares), (std::vector<std::string>{"-", "-"}));

    EXPECT_TRUE(MaterialAdjustment::spread(A("100"), {}).has_value());
    const std::vector<Amount> huge = {A("900000000000000"), A("-899999999999999.9999")};
    EXPECT_THROW(MaterialAdjustment::spread(A("900000000000000"), huge), AmountOverflow);
}

// Kind 22: quantity 3, unit price 4, book amount 5, adjustment 6, adjusted 7.
struct Sheet22 {
    Workbook wb;
    Sheet22()
    {
        DetailSheetBuilder::build(wb, 22);
        const std::vector<double> books = {30, 70, 0};
        for (std::size_t i = 0; i < books.size(); ++i) {
            wb.DoSetCellData(5, 3 + static_cast<int>(i), books[i]);
            RowFormulas::cellEdited(wb, 22, 3 + static_cast<int>(i), 5, true);
        }
        wb.DoSetCellData(6, 5, 9.0); // zero book value: its adjustment stays
        RowFormulas::cellEdited(wb, 22, 5, 6, true);
        wb.undoStack().clear();
    }
    double at(int col, int row) const { return wb.DoGetCellData(col, row).number(); }
};

TEST(MaterialAdjustmentApply, WritesSharesRecomputesRowsOneUndoStep)
{
    Sheet22 s;
    ScriptedPrompter p;
    // the selection reaches into the headings: only data rows take part
    EXPECT_EQ(MaterialAdjustment::apply(s.wb, 22, CellRange{0, 0, 0, 5}, "100", p, true),
              MaterialAdjustment::Outcome::Written);
    EXPECT_TRUE(p.shown.empty());
    EXPECT_EQ(s.at(6, 4), 70);
    EXPECT_EQ(s.at(6, 5), 9); // zero book value: its adjustment stays
    EXPECT_EQ(s.at(7, 4), 140);
    EXPECT_EQ(s.at(6, 2), 109); // the total row follows
    EXPECT_EQ(s.at(7, 2), 209);
    EXPECT_EQ(s.wb.undoStack().undoCount(), 1u);
    s.wb.DoUndo();
    EXPECT_TRUE(s.wb.DoGetCellData(6, 3).isEmpty());
    EXPECT_EQ(s.at(7, 3), 30);
}

TEST(MaterialAdjustmentApply, RefusalsWriteNothingAndSayWhy)
{
    struct Case {
        std::string text;
        std::vector<double> books;
        const char *message;
        MaterialAdjustment::Outcome outcome;
    };
    const std::vector<Case> cases = {
        {"", {30, 70}, MaterialAdjustment::NotANumber, MaterialAdjustment::Outcome::NotANumber},
        {"12..5", {30, 70}, MaterialAdjustment::NotANumber, MaterialAdjustment::Outcome::NotANumber},
        {"100", {50, -50}, MaterialAdjustment::ZeroBookSum, MaterialAdjustment::Outcome::ZeroBookSum},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        Workbook wb;
        DetailSheetBuilder::build(wb, 22);
        for (std::size_t i = 0; i < c.books.size(); ++i)
            wb.DoSetCellData(5, 3 + static_cast<int>(i), c.books[i]);
        wb.undoStack().clear();
        ScriptedPrompter p;
        EXPECT_EQ(MaterialAdjustment::apply(wb, 22, CellRange{0, 3, 0, 4}, c.text, p, true), c.outcome);
        ASSERT_EQ(p.messages().size(), 1u);
        EXPECT_EQ(p.messages()[0], c.message);
        EXPECT_FALSE(wb.CanUndo());
        EXPECT_TRUE(wb.DoGetCellData(6, 3).isEmpty());
    }
    Workbook summary; // a sheet without an adjustment column
    summary.SetCols(10);
    summary.undoStack().clear();
    ScriptedPrompter p;
    EXPECT_EQ(MaterialAdjustment::apply(summary, 5, CellRange{0, 3, 0, 4}, "100", p, true),
              MaterialAdjustment::Outcome::NoAdjustmentColumn);
    EXPECT_EQ(p.messages(), (std::vector<std::string>{MaterialAdjustment::NoAdjustmentColumn}));
    EXPECT_FALSE(summary.CanUndo());
}

TEST(MaterialAdjustmentApply, OtherInventoryLayoutUsesItsOwnColumns)
{
    // Kind 26: book amount 6, adjustment 7, adjusted 8.
    Workbook wb;
    DetailSheetBuilder::build(wb, 26);
    wb.DoSetCellData(6, 3, 1.0);
    wb.DoSetCellData(6, 4, 2.0);
    ScriptedPrompter p;
    ASSERT_EQ(MaterialAdjustment::apply(wb, 26, CellRange{0, 3, 0, 4}, "10", p, false),
              MaterialAdjustment::Outcome::Written);
    EXPECT_EQ(wb.DoGetCellData(7, 3).number(), 3.33);
    EXPECT_EQ(wb.DoGetCellData(7, 4).number(), 6.67);
    EXPECT_EQ(wb.DoGetCellData(8, 4).number(), 8.67);
}

} // namespace
} // namespace vantor
