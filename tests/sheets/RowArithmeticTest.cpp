#include "sheets/RowArithmetic.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace vantor {

inline void PrintTo(const Amount &a, std::ostream *os)
{
    *os << a.toString(4);
}

namespace {

Amount A(const char *text)
{
    return *Amount::parse(text);
}

struct OpRow {
    char op;
    const char *a, *b, *c;
    const char *expected;
};

TEST(RowArithmetic, OperationsByOperator)
{
    const OpRow rows[] = {
        {'+', "1.0001", "2", "3", "6.0001"},
        {'-', "5", "7.5", "100", "-2.5"},   // c takes no part in a difference
        {'*', "3", "33.333", "1", "100"},   // 99.999 to two decimals
        {'*', "0.5", "0.25", "1", "0.12"},  // 0.125: the tie goes to the even 2
        {'*', "2.5", "0.005", "1", "0.01"}, // 0.0125
        {'*', "100000", "85", "0.01", "85000"},
        {'/', "100", "3", "0", "33.3333"},
        {'/', "0.0001", "2", "0", "0"},      // 0.00005: tie to the even 0
        {'/', "0.0003", "2", "0", "0.0002"}, // 0.00015: tie to the even 2
        {'/', "5", "0", "0", "0"},           // no division by zero: 0
        {'%', "800", "801", "0", "0.12"},    // 0.125
        {'%', "-800", "-799", "0", "0.12"},  // the base is |adjusted|
        {'%', "3", "4", "0", "33.33"},
        {'%', "0", "1000", "0", "0"}, // adjusted 0: rate 0, no division error
        {'?', "1", "2", "3", "0"},
    };
    for (const OpRow &r : rows) {
        SCOPED_TRACE(std::string(1, r.op) + " " + r.a + " " + r.b + " " + r.c);
        EXPECT_EQ(RowArithmetic::apply(r.op, A(r.a), A(r.b), A(r.c)), A(r.expected));
    }
}

TEST(RowArithmetic, ProductIsRoundedOnceFromTheExactValue)
{
    // 0.1225 × 0.1224 = 0.014994: rounding first to four decimals (0.0150) and then to
    // two would give 0.02.
    EXPECT_EQ(RowArithmetic::product(A("0.1225"), A("0.1224"), A("1")), A("0.01"));
}

TEST(RowArithmetic, PercentFactorEntersAsAnExactFraction)
{
    // 1 × 0.1 × 12.5 % = 0.0125: the tie goes to the even 0.01
    EXPECT_EQ(RowArithmetic::product(A("1"), A("0.1"), A("12.5"), 2), A("0.01"));
    // 1 × 100 × 33.3355 % = 33.3355: the fraction 0.333355 is not cut to four decimals first
    EXPECT_EQ(RowArithmetic::product(A("1"), A("100"), A("33.3355"), 2), A("33.34"));
}

TEST(RowArithmetic, ResultsBeyondTheCurrencyRangeThrow)
{
    const Amount big = Amount::fromUnits(std::numeric_limits<int64_t>::max());
    EXPECT_THROW(RowArithmetic::sum(big, A("1")), AmountOverflow);
    EXPECT_THROW(RowArithmetic::product(big, big, big), AmountOverflow);
    EXPECT_THROW(RowArithmetic::product(A("900000000"), A("900000000"), A("1")), AmountOverflow);
    EXPECT_THROW(RowArithmetic::rate(A("0.0001"), A("900000000000000")), AmountOverflow);
    // The most negative amount still has a rate without overflow in its absolute value.
    const Amount least = Amount::fromUnits(std::numeric_limits<int64_t>::min());
    EXPECT_EQ(RowArithmetic::rate(least, Amount()), A("100"));
}

} // namespace
} // namespace vantor
