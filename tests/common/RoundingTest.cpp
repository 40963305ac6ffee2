#include "common/Rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vantor {
namespace {

TEST(RoundHalfEven, RoundsTheDecimalTheUserSees)
{
    struct Case {
        double x;
        int digits;
        double expected;
    } cases[] = {
        {0.125, 2, 0.12},  {-0.125, 2, -0.12}, {3.5, 0, 4.0},       {0.5, 0, 0.0},
        {1.005, 2, 1.0},   {9.995, 2, 10.0},   {1250, -2, 1200},    {1350, -2, 1400},
        {1e300, 2, 1e300}, {5e-324, 2, 0.0},   {0.1 + 0.2, 2, 0.3}, {25.124999999999996, 2, 25.12},
        {0.0135, 2, 0.01}, {-7.45, 1, -7.4},   {5e22, -23, 0.0},    {1.5e22, -22, 2e22},
    };
    for (const Case &c : cases)
        EXPECT_EQ(roundHalfEven(c.x, c.digits), c.expected) << c.x << " @" << c.digits;
}

// Rates computed in binary from decimal amounts land a hair beside the decimal
// half; only the first 15 significant digits decide.
TEST(RoundHalfEven, BinaryResidueDoesNotDecideAHalf)
{
    struct Case {
        double adjusted, appraised, expected;
    } cases[] = {
        {7920.0, 11014.74, 39.08}, // 39.074999999999996
        {5200.0, 6713.46, 29.1},   // 29.105000000000004
        {3215.68, 4924.01, 53.12}, // 53.125000000000014
        {3873.92, 7626.78, 96.88}, // 96.87499999999999
    };
    for (const Case &c : cases) {
        const double rate = (c.appraised - c.adjusted) / std::fabs(c.adjusted) * 100;
        EXPECT_EQ(roundHalfEven(rate, 2), c.expected) << c.adjusted << " -> " << c.appraised;
    }
    EXPECT_EQ(roundHalfEven(1.0000000000000002, 0), 1.0);
}

TEST(RoundHalfEven, OddInputsComeBackSafely)
{
    EXPECT_TRUE(std::isnan(roundHalfEven(std::numeric_limits<double>::quiet_NaN(), 2)));
    EXPECT_EQ(roundHalfEven(std::numeric_limits<double>::infinity(), 2), std::numeric_limits<double>::infinity());
    EXPECT_FALSE(std::signbit(roundHalfEven(-0.001, 2))); // no -0 to display
    EXPECT_EQ(roundHalfEven(1.25, std::numeric_limits<int>::max()), 1.25);
    EXPECT_EQ(roundHalfEven(1.25, std::numeric_limits<int>::min()), 0.0);
    EXPECT_EQ(roundHalfEven(std::numeric_limits<double>::max(), 2), std::numeric_limits<double>::max());
}

} // namespace
} // namespace vantor
