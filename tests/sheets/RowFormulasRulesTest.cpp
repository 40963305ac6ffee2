#include "sheets/DetailLayouts.h"
#include "sheets/RowFormulas.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace vantor {
namespace {

// Renders the assignments an edit triggers as "c7:=c5+c6; c4:=c5/c3".
std::string rulesText(int id, int col)
{
    auto operand = [](const RuleOperand &o) {
        if (o.col >= 0)
            return o.percent ? "(c" + std::to_string(o.col) + "*0.01)" : "c" + std::to_string(o.col);
        return o.constant.toString(2) == "1.00" ? std::string("1") : o.constant.toString(2);
    };
    std::string out;
    for (const RowAssignment *as : RowFormulas::assignmentsFor(id, col)) {
        if (!out.empty())
            out += "; ";
        out += "c" + std::to_string(as->target) + ":=" + operand(as->a) + as->op + operand(as->b);
        bool thirdUsed = as->c.col >= 0 || !as->c.constant.isZero();
        if (thirdUsed)
            out += std::string(1, as->op) + operand(as->c);
    }
    return out;
}

struct RuleRow {
    std::vector<int> kinds;
    std::vector<int> columns;
    const char *rules;
};

TEST(RowFormulaRules, EachKindAndEditedColumnTriggersItsRules)
{
    const RuleRow rows[] = {
        {{22, 23, 24, 25, 27, 28}, {3, 5, 6}, "c7:=c5+c6; c4:=c5/c3"},
        {{22, 23, 24, 25, 27, 28}, {8, 9}, "c10:=c8*c9*1"},
        {{26, 29, 31, 32}, {4, 6, 7}, "c8:=c6+c7; c5:=c6/c4"},
        {{26, 29, 31, 32}, {9, 10}, "c11:=c9*c10*1"},
        {{30}, {4, 5}, "c6:=c4+c5"},
        {{30}, {7, 8, 9}, "c10:=c7*c8*(c9*0.01)"},
        {{40}, {5, 7, 11, 12}, "c6:=c7/c5; c15:=c11/c5; c13:=c11*c12*0.01"},
        {{41}, {6, 11, 12}, "c15:=c11/c6; c13:=c11*c12*0.01"},
        {{42, 43, 44, 45, 46}, {12, 13}, "c14:=c12*c13*0.01"},
        {{47}, {4, 6}, "c5:=c6/c4"},
        {{47}, {8, 9}, "c10:=c8*c9*1"},
        {{49}, {4, 5, 6}, "c7:=c4+c5+c6"},
        {{49}, {9, 10, 11}, "c12:=c9+c10+c11"},
        {{74}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "c6:=c4+c5"},
    };
    // Every (kind, column) pair not listed triggers nothing.
    std::map<std::pair<int, int>, std::string> expected;
    for (const RuleRow &r : rows)
        for (int k : r.kinds)
            for (int c : r.columns)
                expected[{k, c}] = r.rules;
    for (int id = 0; id <= 80; ++id) {
        for (int col = 0; col <= 26; ++col) {
            auto it = expected.find({id, col});
            std::string want = it == expected.end() ? "" : it->second;
            if (id == 74)
                want = "c6:=c4+c5"; // any column
            EXPECT_EQ(rulesText(id, col), want) << "kind " << id << " column " << col;
        }
    }
}

TEST(RowFormulaRules, ColumnMinusOneAsksForEveryRuleOfTheKind)
{
    EXPECT_EQ(rulesText(22, -1), "c7:=c5+c6; c4:=c5/c3; c10:=c8*c9*1");
    EXPECT_EQ(rulesText(30, -1), "c6:=c4+c5; c10:=c7*c8*(c9*0.01)");
    EXPECT_EQ(rulesText(74, -1), "c6:=c4+c5");
    EXPECT_EQ(rulesText(16, -1), "");
    EXPECT_EQ(rulesText(60, -1), "");
}

TEST(RowFormulaRules, RuleTargetsAreDataColumnsOfTheirKind)
{
    for (const RowRule &rule : RowFormulas::rules())
        for (int id : rule.kinds)
            for (const RowAssignment &as : rule.assignments) {
                const DetailLayout *l = DetailLayouts::layout(id);
                ASSERT_NE(l, nullptr);
                EXPECT_GE(as.target, 1);
                EXPECT_LE(as.target, l->dataColumns) << id;
                EXPECT_NE(as.target, l->rateColumn) << id;
            }
}

TEST(RowFormulaRules, KindsThatRecomputeRows)
{
    for (int id = 0; id <= 80; ++id) {
        bool expected = (id >= 10 && id <= 49) || (id >= 52 && id <= 56) || id == 74;
        EXPECT_EQ(RowFormulas::recomputesRows(id), expected) << id;
    }
}

TEST(RowFormulaRules, ColumnLettersAndSumFormulas)
{
    EXPECT_EQ(RowFormulas::columnLetter(0), "A");
    EXPECT_EQ(RowFormulas::columnLetter(2), "C");
    EXPECT_EQ(RowFormulas::columnLetter(25), "Z");
    EXPECT_EQ(RowFormulas::columnLetter(26), "");
    EXPECT_EQ(RowFormulas::columnLetter(-1), "");
    EXPECT_EQ(RowFormulas::totalSumFormula(5, 28), "sum(F4:F28)");
    EXPECT_EQ(RowFormulas::totalSumFormula(14, 12403), "sum(O4:O12403)");
    // A sheet cut down to its frame never sums into its own total row.
    EXPECT_EQ(RowFormulas::totalSumFormula(5, 3), "sum(F4:F4)");
}

struct RateRow {
    std::vector<int> kinds;
    int column;
    const char *formula;
};

TEST(RowFormulaRules, TotalRateFormulaOfEveryKind)
{
    const RateRow rows[] = {
        {{10, 15, 16, 19, 20, 21, 35, 39}, 8, "IF(G3<>0,ROUND((H3-G3)/ABS(G3)*100,2),0)"},
        {{11, 12, 14, 18, 38, 48}, 9, "IF(H3<>0,ROUND((I3-H3)/ABS(H3)*100,2),0)"},
        {{13}, 10, "IF(H3<>0,ROUND((J3-H3)/ABS(H3)*100,2),0)"},
        {{17}, 7, "IF(F3<>0,ROUND((G3-F3)/ABS(F3)*100,2),0)"},
        {{22, 23, 24, 25, 27, 28, 47}, 11, "IF(H3<>0,ROUND((K3-H3)/ABS(H3)*100,2),0)"},
        {{26, 29, 31, 32}, 12, "IF(I3<>0,ROUND((L3-I3)/ABS(I3)*100,2),0)"},
        {{30}, 11, "IF(G3<>0,ROUND((K3-G3)/ABS(G3)*100,2),0)"},
        {{33, 53, 54, 55}, 9, "IF(G3<>0,ROUND((I3-G3)/ABS(G3)*100,2),0)"},
        {{34, 56}, 6, "IF(E3<>0,ROUND((F3-E3)/ABS(E3)*100,2),0)"},
        {{36}, 5, "IF(D3<>0,ROUND((E3-D3)/ABS(D3)*100,2),0)"},
        {{37}, 10, "IF(I3<>0,ROUND((J3-I3)/ABS(I3)*100,2),0)"},
        {{40, 41}, 14, "IF(K3<>0,ROUND((N3-K3)/ABS(K3)*100,2),0)"},
        {{42, 43, 44, 45, 46}, 15, "IF(L3<>0,ROUND((O3-L3)/ABS(L3)*100,2),0)"},
        {{49}, 13, "IF(I3<>0,ROUND((M3-I3)/ABS(I3)*100,2),0)"},
        {{52}, 12, "IF(K3<>0,ROUND((L3-K3)/ABS(K3)*100,2),0)"},
    };
    std::map<int, const RateRow *> byKind;
    for (const RateRow &r : rows)
        for (int k : r.kinds)
            byKind[k] = &r;
    for (int id = 0; id <= 80; ++id) {
        SCOPED_TRACE(id);
        auto it = byKind.find(id);
        if (it == byKind.end()) {
            EXPECT_EQ(RowFormulas::totalRateFormula(id), "");
        } else {
            EXPECT_EQ(RowFormulas::totalRateFormula(id), it->second->formula);
            EXPECT_EQ(DetailLayouts::rateColumn(id), it->second->column);
        }
    }
}

} // namespace
} // namespace vantor
