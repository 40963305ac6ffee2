#include "app/EditTracker.h"

namespace vantor {

bool EditTracker::mayEdit(short sheet, int col, int row)
{
    m_editStarted = mayEditCell(sheet, col, row);
    return m_editStarted;
}

std::optional<LeaveRequest> EditTracker::activeCellChanged(const ProgramState &state, bool detailView, int oldCol,
                                                           int oldRow)
{
    if (!state.isDataEntry() || !detailView || oldRow < 3 || !m_editStarted)
        return std::nullopt;
    m_editStarted = false;
    return LeaveRequest{leaveActionFor(state.currentSheet), state.currentSheet, oldRow, oldCol};
}

} // namespace vantor
