#include "output/ExcelNames.h"

#include <algorithm>
#include <cctype>

namespace vantor {

namespace {

// Length of the UTF-8 sequence starting with byte c (1 for a stray continuation byte).
int sequenceLength(unsigned char c)
{
    if (c >= 0xF0)
        return 4;
    if (c >= 0xE0)
        return 3;
    if (c >= 0xC0)
        return 2;
    return 1;
}

// The longest prefix of whole characters that takes at most `units` UTF-16 units.
std::string cutToUnits(const std::string &text, int units)
{
    std::size_t i = 0;
    int used = 0;
    while (i < text.size()) {
        const int len = sequenceLength(static_cast<unsigned char>(text[i]));
        const int cost = len == 4 ? 2 : 1;
        if (used + cost > units || i + len > text.size())
            break;
        used += cost;
        i += len;
    }
    return text.substr(0, i);
}

std::string lower(const std::string &text)
{
    std::string out = text;
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string cleaned(std::string_view wanted)
{
    std::string out;
    for (char c : wanted) {
        switch (c) {
        case ':':
        case '\\':
        case '/':
        case '?':
        case '*':
        case '[':
        case ']':
            out += '_';
            break;
        default:
            // Control characters have no place in a tab label.
            if (static_cast<unsigned char>(c) >= 0x20)
                out += c;
        }
    }
    while (!out.empty() && (out.front() == '\'' || out.front() == ' '))
        out.erase(out.begin());
    while (!out.empty() && (out.back() == '\'' || out.back() == ' '))
        out.pop_back();
    return out;
}

} // namespace

std::string ExcelNames::take(std::string_view wanted)
{
    ++m_count;
    std::string base = cutToUnits(cleaned(wanted), MaxLength);
    // Cutting may leave an apostrophe or blank at the end.
    while (!base.empty() && (base.back() == '\'' || base.back() == ' '))
        base.pop_back();
    if (base.empty())
        base = "Sheet" + std::to_string(m_count);
    std::string name = base;
    for (int n = 2; m_used.count(lower(name)) || lower(name) == "history"; ++n) {
        const std::string suffix = "(" + std::to_string(n) + ")";
        name = cutToUnits(base, MaxLength - static_cast<int>(suffix.size())) + suffix;
    }
    m_used.insert(lower(name));
    return name;
}

} // namespace vantor
