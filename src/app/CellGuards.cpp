#include "app/CellGuards.h"

#include "sheets/DetailEditCommands.h"
#include "sheets/DetailLayouts.h"
#include "sheets/NumericInput.h"

#include "sheet_component/engine/CellFormat.h"

#include <array>
#include <charconv>
#include <cmath>

namespace vantor {

bool mayEditCell(short sheet, int col, int row)
{
    return !DetailEditCommands::isProtectedFrame(sheet, col, row);
}

std::optional<std::string> inputForCell(short sheet, int col, int row, const std::string &text)
{
    if (row < DetailLayouts::FirstDataRow && sheet != DetailEditCommands::ContraSheet)
        return text;
    return NumericInput::storedInput(sheet, col, text);
}

bool mayAct(bool projectOpen)
{
    return projectOpen;
}

LeaveAction leaveActionFor(short sheet)
{
    const bool rowFormulas = (sheet >= 10 && sheet <= 49) || (sheet >= 52 && sheet <= 56) || sheet == 74;
    return rowFormulas ? LeaveAction::RecomputeRow : LeaveAction::RecomputeTotals;
}

namespace {

constexpr const char *kBold = "加粗";
constexpr const char *kItalic = "倾斜";
constexpr const char *kUnderline = "下画线";

// Index = code.
const std::array<FontStyle, 8> kStyles = {{
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

std::string styleName(FontStyle style)
{
    std::string name;
    if (style.bold)
        name += kBold;
    if (style.italic)
        name += kItalic;
    if (style.underline)
        name += kUnderline;
    return name.empty() ? std::string("正常") : name;
}

int styleCode(const std::string &name)
{
    for (int code = 1; code < static_cast<int>(kStyles.size()); ++code)
        if (styleName(kStyles[code]) == name)
            return code;
    return 0;
}

FontStyle styleFromCode(int code)
{
    if (code < 0 || code >= static_cast<int>(kStyles.size()))
        return {};
    return kStyles[code];
}

AlignButton alignButtonFor(int code)
{
    switch (code) {
    case AlignLeft:
        return AlignButton::Left;
    case AlignCenter:
        return AlignButton::Center;
    case AlignRight:
        return AlignButton::Right;
    default:
        return AlignButton::None;
    }
}

int alignmentCodeOf(AlignButton button)
{
    switch (button) {
    case AlignButton::Left:
        return AlignLeft;
    case AlignButton::Center:
        return AlignCenter;
    case AlignButton::Right:
        return AlignRight;
    case AlignButton::None:
        break;
    }
    return 0;
}

std::optional<int> parseFontSize(const std::string &text)
{
    size_t b = text.find_first_not_of(" \t");
    size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos)
        return std::nullopt;
    std::string_view s(text.data() + b, e - b + 1);
    double value = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // halves to the even neighbour
    if (rounded < 1 || rounded > 409)
        return std::nullopt;
    return static_cast<int>(rounded);
}

} // namespace vantor
