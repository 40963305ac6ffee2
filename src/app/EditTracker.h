#pragma once

// Follows one cell edit from its start to the moment the user leaves the cell, and
// says what must be recomputed then. The main window feeds it the spreadsheet's
// events; it holds only the edit-started flag and decides nothing on its own.

#include "app/CellGuards.h"
#include "app/ProgramState.h"

#include <optional>

namespace vantor {

struct LeaveRequest {
    LeaveAction action = LeaveAction::RecomputeRow;
    short sheet = -1;
    int row = 0;
    int col = 0;
    bool operator==(const LeaveRequest &) const = default;
};

class EditTracker {
public:
    // Before a cell is edited: returns whether the edit is allowed.
    bool mayEdit(short sheet, int col, int row);
    // While a cell's text is typed.
    void textChanged() { m_editStarted = true; }
    // The active cell moved away from (oldCol, oldRow). Returns what to recompute,
    // if anything, and then considers the edit finished.
    std::optional<LeaveRequest> activeCellChanged(const ProgramState &state, bool detailView, int oldCol, int oldRow);

    bool editStarted() const { return m_editStarted; }
    void reset() { m_editStarted = false; }

private:
    bool m_editStarted = false;
};

} // namespace vantor
