#pragma once

// What the user's typing and pasting into the sheet shown in the main window does. The window
// forwards the spreadsheet's events here and decides nothing itself: whether a cell may be
// edited (headings and total rows are protected), what a typed text stores, how far a paste may
// write, and the two moments that recompute: an edited cell left (its row completes, the total
// row follows) and a block of cells written at once (a paste: every cell counts as typed and
// left, the total row is written once). Only a detail sheet of a data-entry project recomputes;
// the object remembers nothing but whether an edit started since a cell was last left.

#include <string>

namespace vantor {

class Prompter;
class Workbook;

// What the window shows when an event arrives.
struct EditContext {
    int sheet = -1;              // the sheet id shown
    bool detailEntry = false;    // a detail sheet of a data-entry project is shown
    bool freezeHeadings = false; // the view option "不滚动行"
};

class DetailCellEdits {
public:
    static constexpr const char *AmountRangeMessage =
        "计算结果超出了金额的有效范围，相关单元格保持原值，请检查本行输入的数值。";

    // May the user write the cell (0-based col, row) of sheet `sheet`? Not in the frame of a
    // detail sheet: its heading rows and total row, on 表11 its title row and the labels of its
    // contra rows.
    static bool mayEditCell(int sheet, int col, int row);
    // The same before an edit starts; remembers the answer as the start of an edit.
    bool mayEdit(int sheet, int col, int row);
    // The text of the cell being edited changed.
    void textTyped() { m_editStarted = true; }
    // Nothing is being typed any more (an undo replays, a paste has written its cells).
    void forget() { m_editStarted = false; }
    bool editStarted() const { return m_editStarted; }

    // The text typed into a cell, about to be stored: in the number-only columns of a detail
    // sheet it becomes the plain number it shows; a text such a column refuses is named to the
    // user and false returned (the editor stays open).
    static bool acceptInput(const EditContext &context, int col, int row, std::string &text, Prompter &prompter);

    // The cell (col, row) was left. After an edit of a data row the row is recomputed and the
    // total row rebuilt, inside the edit's undo step; an amount beyond the currency range is
    // reported. Returns whether the sheet changed.
    bool cellLeft(Workbook &workbook, const EditContext &context, int col, int row, Prompter &prompter);

    // The last column and row a paste at the active cell may write: never beyond the row limit,
    // never sideways beyond the data columns nor into the rate column.
    static void limitWrite(const Workbook &workbook, const EditContext &context, int *lastCol, int *lastRow);
    // A block was written (col1, row1) … (col2, row2); `leftOut` cells could not be written and
    // are named to the user.
    void cellsWritten(Workbook &workbook, const EditContext &context, int col1, int row1, int col2, int row2,
                      int leftOut, Prompter &prompter);

private:
    bool m_editStarted = false;
};

} // namespace vantor
