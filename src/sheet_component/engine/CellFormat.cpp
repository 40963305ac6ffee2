#include "sheet_component/engine/CellFormat.h"

#include "sheet_component/engine/FontStyle.h"

#include <algorithm>
#include <functional>

namespace vantor {

namespace {

// Index = code.
constexpr std::array<FontStyle, 8> kFontStyles = {{
    {false, false, false},
    {true, false, false},
    {false, true, false},
    {false, false, true},
    {true, true, false},
    {true, false, true},
    {false, true, true},
    {true, true, true},
}};

} // namespace

FontStyle FontStyle::fromCode(int code)
{
    if (code < 0 || code >= static_cast<int>(kFontStyles.size()))
        return {};
    return kFontStyles[static_cast<std::size_t>(code)];
}

int FontStyle::code() const
{
    const auto it = std::find(kFontStyles.begin(), kFontStyles.end(), *this);
    return static_cast<int>(it - kFontStyles.begin());
}

bool fontStyleBold(int code)
{
    return FontStyle::fromCode(code).bold;
}

bool fontStyleItalic(int code)
{
    return FontStyle::fromCode(code).italic;
}

bool fontStyleUnderline(int code)
{
    return FontStyle::fromCode(code).underline;
}

int fontStyleCode(bool bold, bool italic, bool underline)
{
    return FontStyle{bold, italic, underline}.code();
}

namespace {
void mix(std::size_t &seed, std::size_t value)
{
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}
} // namespace

std::size_t CellFormatHash::operator()(const CellFormat &f) const
{
    std::size_t h = std::hash<std::string>{}(f.fontName);
    for (int v : {f.fontSize, f.fontStyle, f.alignment, f.threeD, f.textStyle, int(f.locked), int(f.showZero),
                  f.number.kind, int(f.number.percent), f.number.decimals, f.number.negative, f.number.grouping,
                  f.number.extra1, f.number.extra2, f.borders.left, f.borders.top, f.borders.right, f.borders.bottom})
        mix(h, std::hash<int>{}(v));
    mix(h, std::hash<std::string>{}(f.inputMask));
    return h;
}

} // namespace vantor
