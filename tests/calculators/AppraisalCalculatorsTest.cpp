#include "calculators/AppraisalCalculators.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantor {
namespace {

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
        {4, {"10", "5"}, "1.628895"},
        {6, {"10", "5"}, "12.577893"},
        {8, {"10", "5"}, "7.721735"},
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

// Refusals: the first failing box is cleared and focused; a zero rate sum clears the rate
// boxes; arithmetic out of range clears nothing.
TEST(AppraisalCalculators, RefusalsNameTheRuleAndTheBoxes)
{
    using I = MessageIcon;
    struct Case {
        int number;
        std::vector<std::string> inputs;
        const char *message;
        MessageIcon icon;
        std::vector<int> cleared;
    };
    const Case cases[] = {
        {0, {"100000", "5", "abc"}, C::MustNotBeZero, I::Information, {2}},
        {3, {"0", "1"}, C::MustNotBeZero, I::Information, {0}},
        {12, {"1", "2", "10.5"}, C::MayBeWrong, I::Information, {2}},
        {7, {"10", "1000.5"}, C::MayBeWrong, I::Information, {1}},
        {10, {"100", "1000", "0.05", "0.05", "-0.05"}, C::SumMustNotBeZero, I::Warning, {2, 4}},
        {11, {"50", "40", "0"}, C::OutOfRange, I::Warning, {}},              // 0 / 0
        {13, {"1", "1e300", "1e-300", "10"}, C::OutOfRange, I::Warning, {}}, // overflow
        {11, {"1", "1", "-1"}, C::OutOfRange, I::Warning, {}},               // (1 + R)^m with R = −1
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.number << " " << c.message);
        const CalculationOutcome out = C::compute(c.number, c.inputs);
        EXPECT_FALSE(out.result.has_value());
        EXPECT_EQ(out.message, c.message);
        EXPECT_EQ(out.icon, c.icon);
        EXPECT_EQ(out.clearBoxes, c.cleared);
        if (c.cleared.size() == 1)
            EXPECT_EQ(out.focusBox, c.cleared[0]);
    }
    // The limits themselves are accepted.
    EXPECT_TRUE(C::compute(12, {"1", "2", "10"}).result);
    EXPECT_TRUE(C::compute(12, {"1", "2", "0"}).result);
}

TEST(AppraisalCalculators, LeadingNumberAndFormat)
{
    const std::pair<const char *, double> numbers[] = {{"12abc", 12}, {"  -3.5e2x", -350}, {"abc", 0}, {"1e", 1},
                                                       {"-", 0},      {"1e999", HUGE_VAL}};
    for (const auto &[text, value] : numbers)
        EXPECT_EQ(C::leadingNumber(text), value) << text;
    EXPECT_EQ(C::format(-0.000001, 5), "0.00000");
    EXPECT_EQ(C::format(2.0 / 3.0, 6), "0.666667");
    EXPECT_EQ(C::format(-1.5e171, 4), "-1.500000000e+171") << "whole magnitude, not cut digits";
}

} // namespace
} // namespace vantor
