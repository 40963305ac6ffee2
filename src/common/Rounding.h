#pragma once

// Decimal rounding with halves going to the even neighbour ("banker's rounding"),
// done on the decimal digits of a number rather than on its binary value, so that
// a double written as 0.125 rounds like the decimal 0.125 (to 0.12) and 0.375 to
// 0.38. Shared by the formula function round() and by every place that rounds a
// double for display or storage.

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

// Rounds x to `digits` decimals (negative digits round to tens, hundreds, ...).
// The shortest decimal form of x is first cut to 15 significant digits, the
// precision a double holds, so that binary residue does not decide a half.
// NaN and infinities come back unchanged; a result of zero is +0.0.
double roundHalfEven(double x, int digits);

// The shortest decimal form of a finite double: x == (negative ? -1 : 1) *
// digits * 10^exponent, digits without leading zeros ("0" for zero).
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};
DecimalDigits decimalDigitsOf(double x);

// Rounds the non-negative number digits * 10^exponent to a whole multiple of
// 10^-decimals, halves to even, and returns that multiple as a digit string
// without leading zeros ("0" for zero). `digits` holds '0'..'9' only; the result
// has exponent + decimals trailing zeros when that is positive, so callers keep
// it within what they can hold.
std::string roundDigitsHalfEven(std::string_view digits, int exponent, int decimals);

} // namespace vantor
