#pragma once

// Many cell edits of one detail sheet recomputed as one action: a fill from a ledger, a
// paste, an import. Each edit gets the same row recomputation as a cell the user leaves,
// but the total row is taken off while the batch runs and written once at the end, so a
// write never recalculates the sums over the whole sheet, and the derived cells of all
// rows form one undo step together with everything else the caller does in the batch.
//
//   RowRecomputeBatch batch(workbook, id, freezeHeadings);
//   workbook.setCellInput(col, row, text);   // as typed
//   batch.cellEdited(row, col);              // as left
//   ...
//   batch.finish();                          // or let the destructor do it

#include "sheet_component/engine/UndoGroup.h"

namespace vantor {

class Workbook;

class RowRecomputeBatch {
public:
    // Works on the workbook's current sheet, which must stay current until finish().
    RowRecomputeBatch(Workbook &workbook, int id, bool freezeHeadings);
    ~RowRecomputeBatch();
    RowRecomputeBatch(const RowRecomputeBatch &) = delete;
    RowRecomputeBatch &operator=(const RowRecomputeBatch &) = delete;

    // The recomputation of data row `row` after an edit of column `col` (nothing for the
    // heading and total rows, and only the totals at the end for kinds without row rules).
    // Returns false when an amount was beyond the currency range.
    bool cellEdited(int row, int col);
    // Writes the total row (sums and rate) and freezes the headings again when asked to.
    void finish();

private:
    Workbook &m_workbook;
    int m_id;
    bool m_freeze;
    bool m_finished = false;
    UndoGroup m_group;
};

} // namespace vantor
