#include "common/WrittenAmount.h"

#include "common/Utf8Text.h"

namespace vantor {

namespace {

bool isSpace(char32_t c)
{
    return c == U' ' || c == U'\t' || c == 0x00A0 || c == 0x2009 || c == 0x202F || c == 0x2007;
}

} // namespace

std::optional<std::string> WrittenAmount::decimalText(std::string_view written, bool percent)
{
    std::u32string s = Utf8Text::decode(written);
    for (char32_t &c : s)
        c = Utf8Text::halfWidth(c);
    auto trim = [&s] {
        while (!s.empty() && isSpace(s.front()))
            s.erase(0, 1);
        while (!s.empty() && isSpace(s.back()))
            s.pop_back();
    };
    trim();
    bool negative = false;
    auto takeSign = [&] {
        if (!s.empty() && (s.front() == U'-' || s.front() == U'+')) {
            negative = s.front() == U'-';
            s.erase(0, 1);
            trim();
            return true;
        }
        if (!s.empty() && (s.back() == U'-' || s.back() == U'+')) {
            negative = s.back() == U'-';
            s.pop_back();
            trim();
            return true;
        }
        return false;
    };
    bool signed_ = takeSign();
    if (s.size() >= 2 && s.front() == U'(' && s.back() == U')') {
        if (signed_)
            return std::nullopt;
        negative = signed_ = true;
        s = s.substr(1, s.size() - 2);
        trim();
    }
    if (percent && !s.empty() && s.back() == U'%') {
        s.pop_back();
        trim();
    }
    if (!s.empty() && (s.front() == U'¥' || s.front() == 0xFFE5)) {
        s.erase(0, 1);
        trim();
    }
    if (!s.empty() && s.back() == U'元') {
        s.pop_back();
        trim();
    }
    if (!signed_)
        takeSign();
    else if (!s.empty() && (s.front() == U'-' || s.front() == U'+' || s.back() == U'-' || s.back() == U'+'))
        return std::nullopt;

    // Digits with separators in groups of three, an optional point and fraction.
    std::string intPart, fraction;
    bool point = false, grouped = false;
    int sinceSeparator = -1; // digits since the last separator; -1 before any
    for (char32_t c : s) {
        if (c >= U'0' && c <= U'9') {
            (point ? fraction : intPart) += static_cast<char>(c);
            if (!point && sinceSeparator >= 0)
                ++sinceSeparator;
        } else if (c == U'.' && !point) {
            if (sinceSeparator >= 0 && sinceSeparator != 3)
                return std::nullopt;
            point = true;
        } else if (!point && (c == U',' || isSpace(c))) {
            if (intPart.empty() || (sinceSeparator >= 0 && sinceSeparator != 3) ||
                (sinceSeparator < 0 && intPart.size() > 3))
                return std::nullopt;
            sinceSeparator = 0;
            grouped = true;
        } else {
            return std::nullopt;
        }
    }
    if (grouped && !point && sinceSeparator != 3)
        return std::nullopt;
    if (intPart.empty() && fraction.empty())
        return std::nullopt;
    std::size_t lead = 0;
    while (lead + 1 < intPart.size() && intPart[lead] == '0')
        ++lead;
    std::string out = intPart.empty() ? std::string("0") : intPart.substr(lead);
    if (!fraction.empty())
        out += "." + fraction;
    const bool zero = out.find_first_not_of("0.") == std::string::npos;
    return negative && !zero ? "-" + out : out;
}

} // namespace vantor
