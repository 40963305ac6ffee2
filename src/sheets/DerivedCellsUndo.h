#pragma once

// One undo step for many derived cells written at once. Recomputing a whole sheet writes
// tens of thousands of cells; recording each write as an undo command of its own costs
// more than the computing. The writes are made with recording paused and gathered here
// (position, what the cell held before, the new number), and this one command undoes
// and redoes them together. A cell that held a formula gets its formula back on undo.

#include "sheet_component/engine/CellValue.h"
#include "sheet_component/engine/UndoStack.h"

#include <string>
#include <vector>

namespace vantor {

class Sheet;
class Workbook;

class DerivedCellsUndo : public UndoCommand {
public:
    // For cells of the workbook's current sheet.
    explicit DerivedCellsUndo(const Workbook &workbook);

    // Writes `number` into the cell, remembering what it held before.
    void write(Workbook &workbook, int col, int row, double number);
    bool empty() const { return m_changes.empty(); }

    void undo(Workbook &workbook) override;
    void redo(Workbook &workbook) override;
    // The step belongs to the sheet it wrote: without this an undo could not tell which sheet
    // to show, and the step (a paste, a fill …) would block the history below it.
    const void *target() const override { return m_sheet; }
    bool refersTo(const void *object) const override { return object == m_sheet; }

private:
    struct Change {
        int col, row;
        CellValue before;
        std::string beforeFormula;
        double after;
    };
    // Index of the sheet now, or -1 when it is gone.
    int sheetIndex(const Workbook &workbook) const;

    const Sheet *m_sheet;
    std::vector<Change> m_changes;
};

} // namespace vantor
