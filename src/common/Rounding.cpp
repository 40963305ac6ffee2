#include "common/Rounding.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace vantor {

DecimalDigits decimalDigitsOf(double x)
{
    DecimalDigits out;
    if (!std::isfinite(x) || x == 0.0) {
        out.digits = "0";
        return out;
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific);
    std::string_view text(buf, static_cast<size_t>(res.ptr - buf));
    if (!text.empty() && text.front() == '-') {
        out.negative = true;
        text.remove_prefix(1);
    }
    const size_t ePos = text.find('e');
    std::string_view mantissa = text.substr(0, ePos);
    int exp10 = 0;
    std::string_view expText = text.substr(ePos + 1);
    if (!expText.empty() && expText.front() == '+')
        expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exp10);
    for (char c : mantissa)
        if (c != '.')
            out.digits.push_back(c);
    // mantissa d.ddd times 10^exp10 equals the integer dddd times 10^(exp10 - fraction digits)
    out.exponent = exp10 - static_cast<int>(out.digits.size() - 1);
    while (out.digits.size() > 1 && out.digits.back() == '0') {
        out.digits.pop_back();
        ++out.exponent;
    }
    return out;
}

std::string roundDigitsHalfEven(std::string_view digits, int exponent, int decimals)
{
    size_t start = digits.find_first_not_of('0');
    if (start == std::string_view::npos)
        return "0";
    digits.remove_prefix(start);
    // The value is digits * 10^exponent; we want it as a count of 10^-decimals.
    const long long shift = static_cast<long long>(exponent) + decimals;
    if (shift >= 0) {
        std::string out(digits);
        out.append(static_cast<size_t>(shift), '0');
        return out;
    }
    const long long drop = -shift;
    if (drop > static_cast<long long>(digits.size())) // below half a unit
        return "0";
    const size_t keep = digits.size() - static_cast<size_t>(drop);
    std::string kept(digits.substr(0, keep));
    const char first = digits[keep];
    const bool restNonZero = digits.find_first_not_of('0', keep + 1) != std::string_view::npos;
    const bool lastOdd = !kept.empty() && ((kept.back() - '0') % 2 == 1);
    const bool up = first > '5' || (first == '5' && (restNonZero || lastOdd));
    if (kept.empty())
        kept = "0";
    if (up) {
        size_t i = kept.size();
        while (i > 0) {
            --i;
            if (kept[i] == '9') {
                kept[i] = '0';
            } else {
                ++kept[i];
                break;
            }
            if (i == 0) {
                kept.insert(kept.begin(), '1');
                break;
            }
        }
    }
    size_t nz = kept.find_first_not_of('0');
    if (nz == std::string::npos)
        return "0";
    return kept.substr(nz);
}

double roundHalfEven(double x, int digits)
{
    if (!std::isfinite(x) || x == 0.0)
        return std::isfinite(x) ? 0.0 : x;
    // Beyond these a double has nothing left to round, or nothing left at all.
    if (digits > 400)
        return x;
    if (digits < -400)
        return 0.0;
    DecimalDigits d = decimalDigitsOf(x);
    // A double carries 15 reliable significant digits; the 16th and 17th of its
    // shortest form are residue of binary arithmetic ((H3-G3)/ABS(G3)*100 gives
    // 39.074999999999996 where the amounts say 39.075). Dropping them first lets
    // a decimal half reach the even rule instead of falling just short of it.
    constexpr int kSignificant = 15;
    const int length = static_cast<int>(d.digits.size());
    if (length > kSignificant) {
        const int cut = length - kSignificant;
        d.digits = roundDigitsHalfEven(d.digits, 0, -cut);
        d.exponent += cut;
    }
    if (d.exponent >= -digits)
        return x; // already has no more than `digits` decimals
    std::string count = roundDigitsHalfEven(d.digits, d.exponent, digits);
    if (count == "0")
        return 0.0;
    std::string text = count + "e" + std::to_string(-digits);
    double value = 0.0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range)
        value = HUGE_VAL; // rounding 1.7e308 to hundreds of digits overflows
    return d.negative ? -value : value;
}

} // namespace vantor
