#include "sheet_component/engine/DisplayFormat.h"

#include "common/Rounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vantor {

namespace {

std::string groupThousands(const std::string &digits)
{
    // digits: an unsigned number, possibly with a fraction.
    const auto dot = digits.find('.');
    const std::string whole = digits.substr(0, dot);
    const std::string rest = dot == std::string::npos ? std::string() : digits.substr(dot);
    std::string out;
    const int n = static_cast<int>(whole.size());
    for (int i = 0; i < n; ++i) {
        out += whole[static_cast<std::size_t>(i)];
        const int left = n - 1 - i;
        if (left > 0 && left % 3 == 0)
            out += ',';
    }
    return out + rest;
}

} // namespace

std::string formatGeneralNumber(double value)
{
    if (!std::isfinite(value))
        return cellErrorText(CellError::Value);
    if (value == 0)
        return "0";
    char buf[64];
    const double mag = std::fabs(value);
    std::to_chars_result res;
    if (mag >= 1e-6 && mag < 1e15) {
        // Fifteen significant digits hide binary noise such as 0.1 + 0.2.
        const int intDigits = mag >= 1 ? static_cast<int>(std::floor(std::log10(mag))) + 1 : 0;
        const int decimals = std::clamp(15 - intDigits, 0, 20);
        res = std::to_chars(buf, buf + sizeof buf, roundHalfEven(value, decimals), std::chars_format::fixed, decimals);
        std::string s(buf, res.ptr);
        if (s.find('.') != std::string::npos) {
            while (!s.empty() && s.back() == '0')
                s.pop_back();
            if (!s.empty() && s.back() == '.')
                s.pop_back();
        }
        if (s == "-0")
            s = "0";
        return s;
    }
    res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return std::string(buf, res.ptr);
}

std::string formatCellValue(const CellValue &value, const CellFormat &format)
{
    if (value.isEmpty())
        return {};
    if (value.isText())
        return value.text();
    if (value.isError())
        return cellErrorText(value.error());
    double v = value.number();
    if (!std::isfinite(v))
        return cellErrorText(CellError::Value);
    if (v == 0 && !format.showZero)
        return {};
    const NumberStyle &ns = format.number;
    if (ns.kind == 0 && !ns.percent)
        return formatGeneralNumber(v);
    if (ns.percent)
        v *= 100;
    const int decimals = std::clamp(ns.decimals, 0, 15);
    double r = roundHalfEven(v, decimals);
    if (r == 0)
        r = 0; // no "-0.00"
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(r), std::chars_format::fixed, decimals);
    std::string digits(buf, res.ptr);
    if (ns.grouping == 1)
        digits = groupThousands(digits);
    std::string out = r < 0 ? "-" + digits : digits;
    if (ns.percent)
        out += '%';
    return out;
}

} // namespace vantor
