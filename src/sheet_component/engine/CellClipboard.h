#pragma once

// The component's own clipboard: a block of cells copied with values, formulas, formats and
// merges, pasted back into a workbook as one undo step; and the tab-separated text exchanged
// with other programs through the system clipboard. It belongs to a view, not to the workbook:
// the workbook holds no clipboard, and copying never changes it. Style ids in a copied block
// refer to the workbook's style table, so a view clears its clipboard when the workbook is reset
// or loaded.

#include "sheet_component/engine/SheetEdit.h"
#include "sheet_component/engine/SheetTypes.h"

#include <functional>
#include <string>
#include <vector>

namespace vantor {

class Workbook;

// Where a user's cut or paste may write: cells `accept` refuses are left alone, and a paste
// never reaches past lastCol / lastRow (nor grows the sheet beyond them).
struct WriteGuard {
    std::function<bool(int col, int row)> accept;
    int lastCol = 1 << 20;
    int lastRow = 1 << 24;
    bool allows(int col, int row) const { return col <= lastCol && row <= lastRow && (!accept || accept(col, row)); }
};

class CellClipboard {
public:
    // Copies a block of a sheet (-1: the current sheet), clipped to the sheet.
    void copy(const Workbook &workbook, CellRange range, int sheet = -1);
    // Copies the block of the current sheet and clears its contents (the cells the guard allows),
    // as one undo step. Returns the number of cells with content that the guard kept.
    int cut(Workbook &workbook, CellRange range, const WriteGuard &guard = {});
    // Pastes with its top-left at (col, row) of the current sheet. whole: values, formulas
    // (references moved by the distance pasted, as spreadsheets do), formats and merges;
    // otherwise values only. Returns the number of cells left out by the guard.
    int paste(Workbook &workbook, int col, int row, bool whole = true, const WriteGuard &guard = {}) const;
    bool isEmpty() const { return m_cols == 0; }
    void clear();
    // The size of the block, placed at (0, 0); empty without one.
    CellRange range() const;

    // Tab-separated text of a block (values as stored, rows ended by "\n"); for the system clipboard.
    static std::string rangeAsText(const Workbook &workbook, CellRange range, int sheet = -1);
    // Writes tab-separated text with its top-left at (col, row), as typed input cell by cell, as
    // one undo step. Grows the sheet when needed, within the guard's limits. Returns the number of
    // cells left out by the guard.
    static int pasteText(Workbook &workbook, int col, int row, const std::string &text, int sheet = -1,
                         const WriteGuard &guard = {});

private:
    int m_cols = 0, m_rows = 0;
    int m_srcCol = 0, m_srcRow = 0;
    std::vector<CellSnapshot> m_cells; // row-major
    std::vector<CellRange> m_merges;   // relative to the block
};

} // namespace vantor
