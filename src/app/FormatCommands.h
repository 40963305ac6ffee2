#pragma once

// The format toolbar's commands over the selection of the current sheet: font name,
// font size, style from the toolbar's toggles, alignment, merge and unmerge. Each is
// one undo step. `frozenChecked` is the state of 视图 > 不滚动行: the header freeze is
// lifted for the work and put back afterwards only when it is checked.

#include "app/CellGuards.h"

#include <string>

namespace vantor {

class Selection;
class Workbook;

// Keeps each cell's size and style, sets the name.
void applyFontName(Selection &selection, const std::string &name, bool frozenChecked);
// Keeps each cell's name and style, sets the size.
void applyFontSize(Selection &selection, int size, bool frozenChecked);
// Sets size, style and name alike on every selected cell: the style comes from the
// toolbar, not from the cells.
void applyFontStyle(Selection &selection, FontStyle style, int size, const std::string &name, bool frozenChecked);
// code: 33 left, 36 centred, 34 right.
void applyAlignment(Selection &selection, int code);
void mergeSelection(Selection &selection);
void unmergeActiveCell(Selection &selection);

// What the format toolbar shows for a cell.
struct FormatToolbarState {
    std::string fontName;
    int fontSize = 0;
    FontStyle style;
    AlignButton align = AlignButton::None;
    bool operator==(const FormatToolbarState &) const = default;
};
FormatToolbarState formatStateOf(const Workbook &wb, int col, int row);

} // namespace vantor
