#include "tools/AppraisalCalculators.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace vantor
{
namespace
{

using C = AppraisalCalculators;

TEST(AppraisalCalculators, ResultsAgainstHandComputedFigures)
{
    struct Case {
        int number;
        std::vector<std::string> inputs;
        const char *result;
    };
    const Case cases[] = {
        {0, {"100000", "5", "50000"}, "1.90000"},
        {1, {"5", "10"}, "9.50000"},
        {2, {"5"}, "40.00000"},
        {3, {"5", "0"}, "33.33333"},
        {3, {"5", "2"}, "20.00000"},
        {4, {"10", "5"}, "1.628895"},
        {5, {"10", "5"}, "0.613913"},
        {6, {"10", "5"}, "12.577893"},
        {7, {"10", "5"}, "0.079505"},
        {8, {"10", "5"}, "7.721735"},
        {9, {"10", "5"}, "0.129505"},
        // Rates of the building and the land-tenure correction are taken as entered.
        {10, {"100", "1000", "0.02", "0.05", "0.08"}, "500.00000"},
        {11, {"50", "40", "0.08"}, "0.97475"},
        {12, {"80", "100", "0.6"}, "12.53103"},
        {13, {"100000", "200", "100", "0.6"}, "151571.65665"},
        // Text after the number is ignored, text without one reads as 0.
        {1, {"5%", "10年"}, "9.50000"},
        {12, {"100", "100", "abc"}, "0.00000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.number);
        const CalculationOutcome out = C::compute(c.number, c.inputs);
        ASSERT_TRUE(out.result.has_value()) << out.message;
        EXPECT_EQ(*out.result, c.result);
    }
}

TEST(AppraisalCalculators, ValidationStopsAtTheFirstFailingBox)
{
    struct Case {
        int number;
        std::vector<std::string> inputs;
        int box;
        const char *message;
    };
    const Case cases[] = {
        {0, {"100000", "5", "0"}, 2, C::MustNotBeZero},
        {0, {"100000", "5", "abc"}, 2, C::MustNotBeZero},
        {1, {"5", ""}, 1, C::MustNotBeZero},
        {2, {"0"}, 0, C::MustNotBeZero},
        {3, {"0", "1"}, 0, C::MustNotBeZero},
        {11, {"0", "40", "0.08"}, 0, C::MustNotBeZero},
        {12, {"1", "0", "0.6"}, 1, C::MustNotBeZero},
        {12, {"1", "2", "10.5"}, 2, C::MayBeWrong},
        {12, {"1", "2", "-0.1"}, 2, C::MayBeWrong},
        {13, {"1", "2", "0", "0.6"}, 2, C::MustNotBeZero},
        {13, {"1", "2", "3", "11"}, 3, C::MayBeWrong},
        {4, {"201", "5"}, 0, C::MayBeWrong},
        {5, {"0", "5"}, 0, C::MayBeWrong},
        {6, {"10", "0"}, 1, C::MayBeWrong},
        {7, {"10", "1000.5"}, 1, C::MayBeWrong},
        {9, {"-1", "-1"}, 0, C::MayBeWrong},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.number << " box " << c.box);
        const CalculationOutcome out = C::compute(c.number, c.inputs);
        EXPECT_FALSE(out.result.has_value());
        EXPECT_EQ(out.message, c.message);
        EXPECT_EQ(out.icon, MessageIcon::Information);
        EXPECT_EQ(out.clearBoxes, std::vector<int>{c.box});
        EXPECT_EQ(out.focusBox, c.box);
    }
    // The limits themselves are accepted.
    EXPECT_TRUE(C::compute(12, {"1", "2", "10"}).result);
    EXPECT_TRUE(C::compute(12, {"1", "2", "0"}).result);
    EXPECT_TRUE(C::compute(8, {"200", "1000"}).result);
}

TEST(AppraisalCalculators, BuildingNeedsANonZeroRateSum)
{
    const CalculationOutcome out = C::compute(10, {"100", "1000", "0.05", "0.05", "-0.05"});
    EXPECT_FALSE(out.result);
    EXPECT_EQ(out.message, C::SumMustNotBeZero);
    EXPECT_EQ(out.icon, MessageIcon::Warning);
    EXPECT_EQ(out.clearBoxes, (std::vector<int>{2, 4}));
}

TEST(AppraisalCalculators, ArithmeticFailuresGiveTheRangeMessage)
{
    const std::pair<int, std::vector<std::string>> cases[] = {
        {11, {"50", "40", "0"}},              // land tenure with R = 0: 0 / 0
        {12, {"-50", "100", "0.5"}},          // negative base, fractional power
        {13, {"1", "1e300", "1e-300", "10"}}, // overflow
        {11, {"1", "1", "-1"}},               // (1 + R)^m with R = −1
    };
    for (const auto &[number, inputs] : cases) {
        SCOPED_TRACE(number);
        const CalculationOutcome out = C::compute(number, inputs);
        EXPECT_FALSE(out.result);
        EXPECT_EQ(out.message, C::OutOfRange);
        EXPECT_EQ(out.icon, MessageIcon::Warning);
        EXPECT_TRUE(out.clearBoxes.empty());
    }
}

TEST(AppraisalCalculators, LeadingNumberAndFormat)
{
    const std::pair<const char *, double> numbers[] = {
        {"12abc", 12}, {"  -3.5e2x", -350}, {"abc", 0},         {".5", 0.5}, {"1e", 1}, {"+7", 7}, {"-", 0},
        {"", 0},       {"5.", 5},           {"1e999", HUGE_VAL}};
    for (const auto &[text, value] : numbers)
        EXPECT_EQ(C::leadingNumber(text), value) << text;
    EXPECT_EQ(C::format(-0.000001, 5), "0.00000");
    EXPECT_EQ(C::format(-1.5, 5), "-1.50000");
    EXPECT_EQ(C::format(2.0 / 3.0, 6), "0.666667");
}

TEST(AppraisalCalculators, TableIsConsistent)
{
    ASSERT_EQ(C::all().size(), static_cast<std::size_t>(C::Count));
    std::set<std::string> keys;
    for (const auto &g : C::groups())
        keys.insert(g.key);
    for (const Calculator &c : C::all()) {
        EXPECT_TRUE(keys.insert(c.key).second) << c.key;
        EXPECT_TRUE(c.parent == nullptr || keys.count(c.parent)) << c.key;
        EXPECT_FALSE(c.inputs.empty());
        EXPECT_LE(c.inputs.size(), 5u);
        EXPECT_FALSE(c.formula.empty());
        // Empty boxes compute or fail with a message, never throw.
        const CalculationOutcome out = C::compute(static_cast<int>(&c - C::all().data()), {});
        EXPECT_TRUE(out.result || !out.message.empty());
    }
}

} // namespace
} // namespace vantor
