#include "calculators/NumberEntryRules.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(NumberEntryRules, OnlyDigitsAreTyped)
{
    for (char32_t ch : {U'0', U'5', U'9'})
        EXPECT_TRUE(NumberEntryRules::acceptsCharacter(ch));
    for (char32_t ch : {U'-', U'.', U'a', U' ', U'\b', U'\'', U'五', U'０'})
        EXPECT_FALSE(NumberEntryRules::acceptsCharacter(ch));
}

TEST(NumberEntryRules, TextAfterAChangeForTheRowCount)
{
    struct Case {
        const char *typed;
        const char *shown;
    };
    for (const Case &c : {Case{"5", "5"}, Case{"0", "20"}, Case{"", "20"}, Case{"000", "20"}, Case{"20000", "12403"},
                          Case{"12403", "12403"}, Case{"12404", "12403"}, Case{"99999999999999999999999", "12403"},
                          Case{"100", "100"}, Case{"007", "007"}}) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(NumberEntryRules::normalised(c.typed, 20, 12403), c.shown);
    }
}

TEST(NumberEntryRules, ResultWithinZeroAndTheMaximum)
{
    EXPECT_EQ(NumberEntryRules::result("5", 12403), 5);
    EXPECT_EQ(NumberEntryRules::result("", 12403), 0);
    EXPECT_EQ(NumberEntryRules::result("99999999999999999999", 255), 255);
    EXPECT_EQ(NumberEntryRules::valueOf("12ab"), 12);
}

} // namespace
} // namespace vantor
