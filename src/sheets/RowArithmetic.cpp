#include "sheets/RowArithmetic.h"

#include <limits>

namespace vantor {

namespace {

[[noreturn]] void overflow()
{
    throw AmountOverflow("金额超出可表示的范围");
}

// numerator / denominator (denominator > 0) rounded to a whole number, halves to even.
__int128 divideHalfEven(__int128 numerator, __int128 denominator)
{
    __int128 q = numerator / denominator;
    __int128 r = numerator % denominator;
    if (r == 0)
        return q;
    __int128 twice = (r < 0 ? -r : r) * 2;
    if (twice > denominator || (twice == denominator && q % 2 != 0))
        q += numerator < 0 ? -1 : 1;
    return q;
}

__int128 pow10(int n)
{
    __int128 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

__int128 multiplyChecked(__int128 a, __int128 b)
{
    __int128 r;
    if (__builtin_mul_overflow(a, b, &r))
        overflow();
    return r;
}

// Whole hundredths (scaled by 100) to an Amount of ten-thousandths.
Amount fromHundredths(__int128 hundredths)
{
    __int128 units = multiplyChecked(hundredths, 100);
    if (units > std::numeric_limits<int64_t>::max() || units < std::numeric_limits<int64_t>::min())
        overflow();
    return Amount::fromUnits(static_cast<int64_t>(units));
}

} // namespace

Amount RowArithmetic::sum(Amount a, Amount b, Amount c)
{
    return a + b + c;
}

Amount RowArithmetic::difference(Amount a, Amount b)
{
    return a - b;
}

Amount RowArithmetic::product(Amount a, Amount b, Amount c, int extraDecimals)
{
    // The exact product has 12 + extraDecimals decimals; round it to 2.
    __int128 exact = multiplyChecked(static_cast<__int128>(a.units()) * b.units(), c.units());
    return fromHundredths(divideHalfEven(exact, pow10(10 + extraDecimals)));
}

Amount RowArithmetic::quotient(Amount a, Amount b)
{
    if (b.isZero())
        return Amount();
    return a.dividedBy(b);
}

Amount RowArithmetic::rate(Amount adjusted, Amount appraised)
{
    if (adjusted.isZero())
        return Amount();
    // (b − a) ÷ |a| × 100, in hundredths: (B − A) × 100 × 100 ÷ |A| on the unit counts.
    __int128 a = adjusted.units();
    __int128 diff = static_cast<__int128>(appraised.units()) - a;
    return fromHundredths(divideHalfEven(diff * 10000, a < 0 ? -a : a));
}

Amount RowArithmetic::apply(char op, Amount a, Amount b, Amount c)
{
    switch (op) {
    case '+':
        return sum(a, b, c);
    case '-':
        return difference(a, b);
    case '*':
        return product(a, b, c);
    case '/':
        return quotient(a, b);
    case '%':
        return rate(a, b);
    default:
        return Amount();
    }
}

} // namespace vantor
