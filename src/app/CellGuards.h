#pragma once

// The rules the main window applies to events of its spreadsheet: which cells may be
// edited (headings and total rows are protected), whether anything may be done on a
// sheet at all, what leaving an edited cell triggers, and the codes the format
// toolbar exchanges with the sheet (font style codes and alignment codes).

#include <optional>
#include <string>

namespace vantor {

// May the cell (0-based col, row) of the given sheet id be edited?
bool mayEditCell(short sheet, int col, int row);

// What typing `text` into a data cell of a detail sheet stores: in the number-only columns
// the plain number it shows; nothing when the cell refuses it.
std::optional<std::string> inputForCell(short sheet, int col, int row, const std::string &text);

// May the user act on a sheet? Only while a project is open.
bool mayAct(bool projectOpen);

// What leaving an edited cell recomputes: the row (and with it the total row) on the
// sheets that have row formulas, only the total-row sums on the others.
enum class LeaveAction { RecomputeRow, RecomputeTotals };
LeaveAction leaveActionFor(short sheet);

// Font style codes used by DoSetCellFont / DoGetCellFont.
struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const FontStyle &) const = default;
};

// "正常", "加粗", "倾斜", "下画线" and their concatenations in that order.
std::string styleName(FontStyle style);
// The code of a style name; any other name gives 0.
int styleCode(const std::string &name);
inline int styleCode(FontStyle style)
{
    return styleCode(styleName(style));
}
// Which toggles a code contains; codes outside 0..7 contain none.
FontStyle styleFromCode(int code);

// The alignment button that shows a code of DoGetCellAlignment (33 left, 36 centred,
// 34 right); none for any other code.
enum class AlignButton { None, Left, Center, Right };
AlignButton alignButtonFor(int code);
int alignmentCodeOf(AlignButton button); // 0 for None

// The font size typed or chosen in the size box, as a whole number; nothing when the
// text is not a usable size.
std::optional<int> parseFontSize(const std::string &text);

} // namespace vantor
