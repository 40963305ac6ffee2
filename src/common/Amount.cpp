#include "common/Amount.h"

#include "common/Rounding.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vantor {

namespace {

[[noreturn]] void overflow()
{
    throw AmountOverflow("金额超出可表示的范围");
}

// Count of ten-thousandths from a digit string, or nullopt beyond int64.
std::optional<int64_t> unitsFromDigits(std::string_view digits, int exponent, bool negative)
{
    std::string count = roundDigitsHalfEven(digits, exponent, Amount::kDecimals);
    if (count.size() > 19)
        return std::nullopt;
    // Parse the magnitude as unsigned so that INT64_MIN stays reachable.
    uint64_t magnitude = 0;
    auto res = std::from_chars(count.data(), count.data() + count.size(), magnitude);
    if (res.ec != std::errc() || res.ptr != count.data() + count.size())
        return std::nullopt;
    constexpr uint64_t maxPositive = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (negative) {
        if (magnitude > maxPositive + 1)
            return std::nullopt;
        return magnitude == maxPositive + 1 ? std::numeric_limits<int64_t>::min() : -static_cast<int64_t>(magnitude);
    }
    if (magnitude > maxPositive)
        return std::nullopt;
    return static_cast<int64_t>(magnitude);
}

int64_t checked(__int128 value)
{
    if (value > std::numeric_limits<int64_t>::max() || value < std::numeric_limits<int64_t>::min())
        overflow();
    return static_cast<int64_t>(value);
}

// numerator / denominator rounded to a whole number, halves to even.
__int128 divideHalfEven(__int128 numerator, __int128 denominator)
{
    __int128 q = numerator / denominator;
    __int128 r = numerator % denominator;
    if (r == 0)
        return q;
    const bool negative = (numerator < 0) != (denominator < 0);
    __int128 twiceRemainder = r < 0 ? -r * 2 : r * 2;
    __int128 absDen = denominator < 0 ? -denominator : denominator;
    if (twiceRemainder > absDen || (twiceRemainder == absDen && (q % 2 != 0)))
        q += negative ? -1 : 1;
    return q;
}

constexpr int64_t kPowers[] = {1, 10, 100, 1000, 10000};

} // namespace

std::optional<Amount> Amount::parse(std::string_view text)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::string digits;
    int fractionDigits = 0;
    bool seenPoint = false;
    bool seenComma = false;
    int groupLength = 0; // digits since the last comma (integer part)
    int integerDigits = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits.push_back(c);
            if (seenPoint) {
                ++fractionDigits;
            } else {
                ++integerDigits;
                ++groupLength;
            }
        } else if (c == ',' && !seenPoint) {
            // Thousands commas: the first group 1..3 digits, every later one exactly 3.
            if (integerDigits == 0 || (seenComma ? groupLength != 3 : groupLength > 3))
                return std::nullopt;
            seenComma = true;
            groupLength = 0;
        } else if (c == '.' && !seenPoint) {
            if (seenComma && groupLength != 3)
                return std::nullopt;
            seenPoint = true;
        } else {
            return std::nullopt;
        }
    }
    if (seenComma && !seenPoint && groupLength != 3)
        return std::nullopt;
    if (digits.empty())
        return std::nullopt;
    auto units = unitsFromDigits(digits, -fractionDigits, negative);
    if (!units)
        return std::nullopt;
    return Amount(*units);
}

std::optional<Amount> Amount::fromDouble(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    if (std::fabs(value) > 1e16) // far beyond the range; avoids long digit strings
        return std::nullopt;
    DecimalDigits d = decimalDigitsOf(value);
    auto units = unitsFromDigits(d.digits, d.exponent, d.negative);
    if (!units)
        return std::nullopt;
    return Amount(*units);
}

double Amount::toDouble() const
{
    constexpr int64_t exactLimit = int64_t(1) << 53;
    if (m_units > -exactLimit && m_units < exactLimit)
        return static_cast<double>(m_units) / static_cast<double>(kScale); // one correct rounding
    std::string text = toString(kDecimals);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string Amount::toString(int decimals) const
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > kDecimals)
        decimals = kDecimals;
    const int64_t step = kPowers[kDecimals - decimals];
    __int128 count = divideHalfEven(m_units, step); // in units of 10^-decimals
    const bool negative = count < 0;
    unsigned __int128 magnitude =
        negative ? static_cast<unsigned __int128>(-count) : static_cast<unsigned __int128>(count);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    if (static_cast<int>(digits.size()) <= decimals)
        digits.insert(0, static_cast<size_t>(decimals + 1) - digits.size(), '0');
    std::string out;
    if (negative)
        out.push_back('-');
    out.append(digits, 0, digits.size() - static_cast<size_t>(decimals));
    if (decimals > 0) {
        out.push_back('.');
        out.append(digits, digits.size() - static_cast<size_t>(decimals), std::string::npos);
    }
    return out;
}

Amount Amount::rounded(int decimals) const
{
    if (decimals >= kDecimals)
        return *this;
    if (decimals < 0)
        decimals = 0;
    const int64_t step = kPowers[kDecimals - decimals];
    return Amount(checked(divideHalfEven(m_units, step) * step));
}

Amount Amount::operator-() const
{
    if (m_units == std::numeric_limits<int64_t>::min())
        overflow();
    return Amount(-m_units);
}

Amount Amount::operator+(Amount other) const
{
    int64_t result = 0;
    if (__builtin_add_overflow(m_units, other.m_units, &result))
        overflow();
    return Amount(result);
}

Amount Amount::operator-(Amount other) const
{
    int64_t result = 0;
    if (__builtin_sub_overflow(m_units, other.m_units, &result))
        overflow();
    return Amount(result);
}

Amount &Amount::operator+=(Amount other)
{
    *this = *this + other;
    return *this;
}

Amount &Amount::operator-=(Amount other)
{
    *this = *this - other;
    return *this;
}

Amount Amount::times(Amount other) const
{
    const __int128 product = static_cast<__int128>(m_units) * other.m_units;
    return Amount(checked(divideHalfEven(product, kScale)));
}

Amount Amount::dividedBy(Amount other) const
{
    if (other.m_units == 0)
        throw std::domain_error("金额除数为零");
    const __int128 numerator = static_cast<__int128>(m_units) * kScale;
    return Amount(checked(divideHalfEven(numerator, other.m_units)));
}

Amount Amount::abs() const
{
    return m_units < 0 ? -*this : *this;
}

} // namespace vantor
