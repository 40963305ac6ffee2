#pragma once

// Currency amounts held exactly as a whole number of ten-thousandths of a yuan.
// Every calculation with money goes through this type: sums are exact, products
// and quotients are rounded to four decimals with halves going to the even
// neighbour, and nothing ever wraps around silently - an operation whose result
// does not fit throws AmountOverflow. Conversions from text and from double pass
// through the decimal digits of the input, so 0.125 stays 0.125 and not the
// binary neighbour a double would give.

#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vantor {

class AmountOverflow : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

class Amount {
public:
    static constexpr int kDecimals = 4;
    static constexpr int64_t kScale = 10000;

    constexpr Amount() = default;
    static constexpr Amount fromUnits(int64_t units) { return Amount(units); }
    constexpr int64_t units() const { return m_units; }

    // Plain decimal text: optional surrounding blanks, optional sign, digits with
    // optional thousands commas, optional fraction. More than four decimals round
    // half to even. Anything else (exponents, letters, empty text, out of range)
    // gives nullopt.
    static std::optional<Amount> parse(std::string_view text);
    // Through the shortest decimal text that reads back as the same double, then
    // rounded to four decimals half to even; nullopt for NaN, infinities and
    // values beyond the range.
    static std::optional<Amount> fromDouble(double value);

    double toDouble() const;
    // Exactly `decimals` fraction digits (0..4; rounded half to even when fewer
    // than four), '-' for negative values, no grouping. Never "-0.00".
    std::string toString(int decimals = kDecimals) const;

    // Rounded to `decimals` (0..4) fraction digits, halves to the even neighbour.
    Amount rounded(int decimals) const;

    Amount operator-() const;
    Amount operator+(Amount other) const;
    Amount operator-(Amount other) const;
    Amount &operator+=(Amount other);
    Amount &operator-=(Amount other);
    // Exact product/quotient rounded to four decimals half to even. dividedBy
    // throws std::domain_error for a zero divisor.
    Amount times(Amount other) const;
    Amount dividedBy(Amount other) const;

    Amount abs() const;
    constexpr bool isZero() const { return m_units == 0; }

    friend constexpr auto operator<=>(Amount, Amount) = default;
    friend constexpr bool operator==(Amount, Amount) = default;

private:
    constexpr explicit Amount(int64_t units) : m_units(units) {}
    int64_t m_units = 0;
};

} // namespace vantor
