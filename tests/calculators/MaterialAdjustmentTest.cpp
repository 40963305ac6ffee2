#include "calculators/MaterialAdjustment.h"

#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace vantor {
namespace {

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
        {"-100", {"5", "5", "5"}, {"-33.34", "-33.33", "-33.33"}},
        // the variance itself is brought to cents first, halves to even: 0.125 → 0.12
        {"0.125", {"1", "1"}, {"0.06", "0.06"}},
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

// A zero book sum is refused by apply() below.
TEST(MaterialAdjustmentSpread, NoRowsGiveNoSharesOverflowThrows)
{
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
    s.wb.DoSetCellData(1, 3, "甲"); // typed before: stays undoable
    ScriptedPrompter p;
    // the selection reaches into the headings: only data rows take part
    EXPECT_EQ(MaterialAdjustment::apply(s.wb, 22, CellRange{0, 0, 0, 5}, "100", p, true),
              MaterialAdjustment::Outcome::Written);
    EXPECT_EQ(s.at(6, 5), 9); // zero book value: its adjustment stays
    EXPECT_EQ(s.at(7, 4), 140);
    EXPECT_EQ(s.at(7, 2), 209);         // the total row follows
    EXPECT_EQ(s.wb.nextUndoSheet(), 0); // a step the window can show and undo
    s.wb.DoUndo();
    EXPECT_TRUE(s.wb.DoGetCellData(6, 3).isEmpty());
    EXPECT_EQ(s.at(7, 3), 30);
    EXPECT_EQ(s.at(7, 2), 109);
    s.wb.DoUndo();
    EXPECT_TRUE(s.wb.DoGetCellData(1, 3).isEmpty());
}

TEST(MaterialAdjustmentApply, RefusalsWriteNothingAndSayWhy)
{
    using O = MaterialAdjustment::Outcome;
    const struct {
        int id; // 5: a summary sheet, without an adjustment column
        std::string text;
        std::vector<double> books;
        const char *message;
        O outcome;
    } cases[] = {
        {22, "100", {50, -50}, MaterialAdjustment::ZeroBookSum, O::ZeroBookSum},
        {5, "100", {}, MaterialAdjustment::NoAdjustmentColumn, O::NoAdjustmentColumn},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        Workbook wb;
        if (!DetailSheetBuilder::build(wb, c.id))
            wb.SetCols(10);
        for (std::size_t i = 0; i < c.books.size(); ++i)
            wb.DoSetCellData(5, 3 + static_cast<int>(i), c.books[i]);
        wb.undoStack().clear();
        ScriptedPrompter p;
        EXPECT_EQ(MaterialAdjustment::apply(wb, c.id, CellRange{0, 3, 0, 4}, c.text, p, true), c.outcome);
        EXPECT_EQ(p.messages(), std::vector<std::string>{c.message});
        EXPECT_FALSE(wb.CanUndo());
        EXPECT_TRUE(wb.DoGetCellData(6, 3).isEmpty());
    }
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
    EXPECT_EQ(wb.DoGetCellData(7, 4).number(), 6.67);
    EXPECT_EQ(wb.DoGetCellData(8, 4).number(), 8.67);
}

} // namespace
} // namespace vantor
