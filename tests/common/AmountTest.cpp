#include "common/Amount.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace vantor {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

Amount units(int64_t u)
{
    return Amount::fromUnits(u);
}

struct ParseCase {
    const char *text;
    int64_t units;
};

TEST(AmountParse, AcceptsPlainDecimalsAndRoundsHalfToEven)
{
    const ParseCase cases[] = {
        {"-1,234.5", -12345000},
        {".5", 5000},
        {"0.00005", 0}, // half: even neighbour 0.0000
        {"0.00015", 2},
        {"0.000250001", 3},
        {"-0.00015", -2},
        {"0.99995", 10000}, // carry into the integer part
        {"922337203685477.5807", kMax},
        {"-922337203685477.5808", kMin},
    };
    for (const ParseCase &c : cases) {
        auto a = Amount::parse(c.text);
        ASSERT_TRUE(a.has_value()) << c.text;
        EXPECT_EQ(a->units(), c.units) << c.text;
    }
}

TEST(AmountParse, RejectsEverythingElse)
{
    const char *bad[] = {
        "",
        ".",
        "1e3",
        "1,23",
        "1.234,5",
        "5-",
        "1 234",
        "'; DROP TABLE sheetdata; --",
        "NaN",
        "１２",
        "922337203685477.5808",
        "1,234,",
    };
    for (const char *text : bad)
        EXPECT_FALSE(Amount::parse(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(Amount::parse(std::string_view("1\0"
                                                "2",
                                                3))
                     .has_value());
    EXPECT_FALSE(Amount::parse(std::string(5000, '9')).has_value());
    EXPECT_EQ(Amount::parse("0." + std::string(5000, '0') + "1")->units(), 0);
}

TEST(AmountFromDouble, GoesThroughTheShortestDecimalAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(Amount::fromDouble(0.00005)->units(), 0); // written 5e-05: a tie, to even
    EXPECT_EQ(Amount::fromDouble(0.00015)->units(), 2);
    EXPECT_EQ(Amount::fromDouble(0.1 + 0.2)->units(), 3000);
    EXPECT_EQ(Amount::fromDouble(-1234.56785)->units(), -12345678); // tie, 7 odd -> 8
    EXPECT_EQ(Amount::fromDouble(1e-300)->units(), 0);
    EXPECT_EQ(Amount::fromDouble(9.2e14)->units(), 9200000000000000000LL);
    EXPECT_FALSE(Amount::fromDouble(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(Amount::fromDouble(9.3e14));
}

TEST(AmountText, FixedDecimalsHalvesToEvenNoNegativeZero)
{
    EXPECT_EQ(units(1250).toString(2), "0.12");
    EXPECT_EQ(units(3750).toString(2), "0.38");
    EXPECT_EQ(units(-10).toString(2), "0.00");
    EXPECT_EQ(units(12345678900).toString(2), "1234567.89"); // no grouping
    EXPECT_EQ(units(kMin).toString(4), "-922337203685477.5808");
    EXPECT_EQ(units(kMax).toString(0), "922337203685478");
}

TEST(AmountRounded, HalvesGoToTheEvenNeighbour)
{
    struct Case {
        int64_t units;
        int decimals;
        int64_t expected;
    } cases[] = {
        {1250, 2, 1200},     {3750, 2, 3800},   {-1250, 2, -1200}, {1251, 2, 1300},
        {-25000, 0, -20000}, {12355, 3, 12360}, {5000, 0, 0},      {5001, 0, 10000},
    };
    for (const Case &c : cases)
        EXPECT_EQ(units(c.units).rounded(c.decimals).units(), c.expected) << c.units << " @" << c.decimals;
    EXPECT_EQ(units(kMax).rounded(2).units(), 9223372036854775800LL);
    EXPECT_THROW(units(kMax).rounded(0), AmountOverflow);
}

TEST(AmountArithmetic, IsExactAndNeverWraps)
{
    EXPECT_EQ((units(1000) + units(2000)).units(), 3000); // 0.1 + 0.2 is 0.3
    EXPECT_THROW(units(kMax) + units(1), AmountOverflow);
    EXPECT_THROW(units(kMin) - units(1), AmountOverflow);
    EXPECT_THROW(-units(kMin), AmountOverflow);
    EXPECT_THROW(units(kMin).abs(), AmountOverflow);

    Amount a = units(kMax);
    EXPECT_THROW(a += units(1), AmountOverflow);
    EXPECT_EQ(a.units(), kMax); // unchanged after the failed operation
}

TEST(AmountArithmetic, ProductsAndQuotientsRoundToFourDecimalsHalfEven)
{
    const Amount three = units(30000);
    EXPECT_EQ(units(1000000).dividedBy(three).units(), 333333); // 100 / 3 = 33.3333
    EXPECT_EQ(three.times(units(333330)).units(), 999990);      // 3 x 33.333 = 99.999
    EXPECT_EQ(units(1).times(units(5000)).units(), 0);          // 0.0001 x 0.5 = 0.00005 -> 0
    EXPECT_EQ(units(3).times(units(5000)).units(), 2);          // 0.00015 -> 0.0002
    EXPECT_EQ(units(-3).times(units(5000)).units(), -2);
    EXPECT_EQ(units(3).dividedBy(units(-20000)).units(), -2);
    // Large operands: the intermediate product needs more than 64 bits.
    EXPECT_EQ(units(kMax).times(units(10000)).units(), kMax);
    EXPECT_EQ(units(kMax).dividedBy(units(10000)).units(), kMax);
    EXPECT_THROW(units(kMax).times(units(20000)), AmountOverflow);
    EXPECT_THROW(units(kMin).dividedBy(units(-10000)), AmountOverflow);
    EXPECT_THROW(units(10000).dividedBy(units(0)), std::domain_error);
}

} // namespace
} // namespace vantor
