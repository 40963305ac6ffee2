#pragma once

// The format toolbar's commands over the selection of the current sheet: font name,
// font size, style from the toolbar's toggles, alignment, merge and unmerge. Each is
// one undo step. `frozenChecked` is the state of 视图 > 不滚动行: the header freeze is
// lifted for the work and put back afterwards only when it is checked. Also the codes the
// toolbar's alignment buttons and font size box exchange with the sheet.

#include "sheet_component/engine/FontStyle.h"

#include <optional>
#include <string>

namespace vantor {

class Workbook;

// The alignment button that shows a code of DoGetCellAlignment (33 left, 36 centred,
// 34 right); none for any other code.
enum class AlignButton { None, Left, Center, Right };
AlignButton alignButtonFor(int code);
int alignmentCodeOf(AlignButton button); // 0 for None

// The font size typed or chosen in the size box, as a whole number; nothing when the
// text is not a usable size.
std::optional<int> parseFontSize(const std::string &text);

// Keeps each cell's size and style, sets the name.
void applyFontName(Workbook &wb, const std::string &name, bool frozenChecked);
// Keeps each cell's name and style, sets the size.
void applyFontSize(Workbook &wb, int size, bool frozenChecked);
// Sets size, style and name alike on every selected cell: the style comes from the
// toolbar, not from the cells.
void applyFontStyle(Workbook &wb, FontStyle style, int size, const std::string &name, bool frozenChecked);
// code: 33 left, 36 centred, 34 right.
void applyAlignment(Workbook &wb, int code);
void mergeSelection(Workbook &wb);
void unmergeActiveCell(Workbook &wb);

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
