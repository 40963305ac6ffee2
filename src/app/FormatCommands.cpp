#include "app/FormatCommands.h"

#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/UnfrozenScope.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vantor {

namespace {

// The selection clipped to the sheet: a whole-row or whole-column selection may
// carry coordinates outside it.
CellRange clippedSelection(const Workbook &wb)
{
    CellRange r = wb.DoGetSelection();
    if (r.isEmpty())
        return r;
    r.col1 = std::max(r.col1, 0);
    r.row1 = std::max(r.row1, 0);
    r.col2 = std::min(r.col2, wb.Cols() - 1);
    r.row2 = std::min(r.row2, wb.Rows() - 1);
    return r;
}

template <typename F> void forEachSelected(Workbook &wb, F &&f)
{
    const CellRange r = clippedSelection(wb);
    if (r.isEmpty())
        return;
    for (int row = r.row1; row <= r.row2; ++row)
        for (int col = r.col1; col <= r.col2; ++col) {
            f(col, row);
            wb.DoRedrawCell(col, row);
        }
}

} // namespace

void applyFontName(Workbook &wb, const std::string &name, bool frozenChecked)
{
    if (name.empty())
        return;
    UndoGroup group(wb);
    UnfrozenScope unfrozen(wb, frozenChecked);
    forEachSelected(wb, [&](int col, int row) {
        const FontSpec f = wb.DoGetCellFont(col, row);
        wb.DoSetCellFont(col, row, f.size, f.style, name);
    });
}

void applyFontSize(Workbook &wb, int size, bool frozenChecked)
{
    if (size <= 0)
        return;
    UndoGroup group(wb);
    UnfrozenScope unfrozen(wb, frozenChecked);
    forEachSelected(wb, [&](int col, int row) {
        const FontSpec f = wb.DoGetCellFont(col, row);
        wb.DoSetCellFont(col, row, size, f.style, f.name);
    });
}

void applyFontStyle(Workbook &wb, FontStyle style, int size, const std::string &name, bool frozenChecked)
{
    const int code = style.code();
    UndoGroup group(wb);
    UnfrozenScope unfrozen(wb, frozenChecked);
    forEachSelected(wb, [&](int col, int row) { wb.DoSetCellFont(col, row, size, code, name); });
}

void applyAlignment(Workbook &wb, int code)
{
    UndoGroup group(wb);
    forEachSelected(wb, [&](int col, int row) { wb.DoSetCellAlignment(col, row, code); });
}

void mergeSelection(Workbook &wb)
{
    const CellRange r = clippedSelection(wb);
    if (r.isEmpty() || (r.col1 == r.col2 && r.row1 == r.row2))
        return;
    UndoGroup group(wb);
    wb.DoJoinCells(r.col1, r.row1, r.col2, r.row2);
    wb.DoRedrawCell(r.col1, r.row1);
}

void unmergeActiveCell(Workbook &wb)
{
    UndoGroup group(wb);
    wb.DoUnjoinCells(wb.CurrentCol(), wb.CurrentRow());
}

FormatToolbarState formatStateOf(const Workbook &wb, int col, int row)
{
    const FontSpec f = wb.DoGetCellFont(col, row);
    FormatToolbarState s;
    s.fontName = f.name;
    s.fontSize = f.size;
    s.style = FontStyle::fromCode(f.style);
    s.align = alignButtonFor(wb.DoGetCellAlignment(col, row));
    return s;
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
