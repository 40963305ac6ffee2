#pragma once

// What the cell-format dialog (dlgFormat, 单元格式) sets on every cell of the selection:
// protection, appearance, text style and number type, each group only when the user chose
// an option of it. Applied in that order, as one undo step.

namespace vantor {

class Workbook;
struct CellRange;

struct CellFormatChoice {
    enum class Protection { Unchanged, Lock, Unlock };
    enum class NumberType { Unchanged, Plain, Numeric };
    enum class ZeroDisplay { Unchanged, Show, Hide };

    Protection protection = Protection::Unchanged;
    int appearance = -1; // DoSetCell3DState: 0 flat, 1 raised, 2 sunken; -1 unchanged
    int textStyle = -1;  // DoSetCellTextStyle: 0 single line, 1 word wrap, 2 overflow tip; -1 unchanged
    NumberType numberType = NumberType::Unchanged;
    bool percent = false;                             // numeric cells only
    ZeroDisplay zeroDisplay = ZeroDisplay::Unchanged; // numeric cells only

    bool operator==(const CellFormatChoice &) const = default;

    // Applies the choice to every cell of the range on the current sheet. Returns false when
    // nothing was chosen or the range is empty.
    bool apply(Workbook &workbook, const CellRange &range) const;
};

} // namespace vantor
