#include "app/FormatCommands.h"

#include "app/FrozenRowsGuard.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"

#include <algorithm>

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
    FrozenRowsGuard freeze(wb, frozenChecked);
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
    FrozenRowsGuard freeze(wb, frozenChecked);
    forEachSelected(wb, [&](int col, int row) {
        const FontSpec f = wb.DoGetCellFont(col, row);
        wb.DoSetCellFont(col, row, size, f.style, f.name);
    });
}

void applyFontStyle(Workbook &wb, FontStyle style, int size, const std::string &name, bool frozenChecked)
{
    const int code = styleCode(style);
    UndoGroup group(wb);
    FrozenRowsGuard freeze(wb, frozenChecked);
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
    s.style = styleFromCode(f.style);
    s.align = alignButtonFor(wb.DoGetCellAlignment(col, row));
    return s;
}

} // namespace vantor
