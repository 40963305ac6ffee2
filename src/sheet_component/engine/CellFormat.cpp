#include "sheet_component/engine/CellFormat.h"

#include <functional>

namespace vantor {

bool fontStyleBold(int code)
{
    return code == 1 || code == 4 || code == 5 || code == 7;
}

bool fontStyleItalic(int code)
{
    return code == 2 || code == 4 || code == 6 || code == 7;
}

bool fontStyleUnderline(int code)
{
    return code == 3 || code == 5 || code == 6 || code == 7;
}

int fontStyleCode(bool bold, bool italic, bool underline)
{
    if (bold && italic && underline)
        return 7;
    if (italic && underline)
        return 6;
    if (bold && underline)
        return 5;
    if (bold && italic)
        return 4;
    if (underline)
        return 3;
    if (italic)
        return 2;
    if (bold)
        return 1;
    return 0;
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
