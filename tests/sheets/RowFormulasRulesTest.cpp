#include "sheets/DetailLayouts.h"
#include "sheets/RowFormulas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace vantor {
namespace {

// The rule table is checked by what must hold for every rule, not copied row by row.
TEST(RowFormulaRules, RulesReadAndWriteDataColumnsOfTheirKindAndAreTriggeredByTheirInputs)
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
                EXPECT_TRUE(as.target >= 1 && as.target <= l->dataColumns) << as.target;
                EXPECT_NE(as.target, l->rateColumn);
                EXPECT_TRUE(as.op == '+' || as.op == '*' || as.op == '/');
                for (const RuleOperand *o : {&as.a, &as.b, &as.c}) {
                    EXPECT_TRUE(o->col == -1 || (o->col >= 1 && o->col <= l->dataColumns)) << o->col;
                    EXPECT_NE(o->col, as.target) << "a rule reads its own target";
                }
                // Editing an operand (or any column of a rule without edited columns) triggers it.
                for (int c : rule.editedColumns.empty() ? std::vector<int>{1} : rule.editedColumns) {
                    const auto triggered = RowFormulas::assignmentsFor(id, c);
                    EXPECT_NE(std::find(triggered.begin(), triggered.end(), &as), triggered.end()) << c;
                }
                const auto all = RowFormulas::assignmentsFor(id, -1);
                EXPECT_NE(std::find(all.begin(), all.end(), &as), all.end());
            }
        }
    for (int id : {0, 9, 16, 60, 78, 79})
        EXPECT_TRUE(RowFormulas::assignmentsFor(id, -1).empty()) << id;
    // The remarks column of a kind never triggers a rule with edited columns.
    EXPECT_TRUE(RowFormulas::assignmentsFor(22, DetailLayouts::layout(22)->remarksColumn()).empty());
}

TEST(RowFormulaRules, SumFormulasNameColumnsAThroughZAndNeverTheTotalRow)
{
    EXPECT_EQ(RowFormulas::columnLetter(25), "Z");
    EXPECT_EQ(RowFormulas::columnLetter(26), "");
    EXPECT_EQ(RowFormulas::columnLetter(-1), "");
    EXPECT_EQ(RowFormulas::totalSumFormula(14, 12403), "sum(O4:O12403)");
    // A sheet cut down to its frame never sums into its own total row.
    EXPECT_EQ(RowFormulas::totalSumFormula(5, 3), "sum(F4:F4)");
}

} // namespace
} // namespace vantor
