#include "sheets/RowRecomputeBatch.h"

#include "sheet_component/engine/Workbook.h"
#include "sheets/DerivedCellsUndo.h"
#include "sheets/DetailLayouts.h"
#include "sheets/RowFormulas.h"

namespace vantor {

RowRecomputeBatch::RowRecomputeBatch(Workbook &workbook, int id, bool freezeHeadings)
    : m_workbook(workbook), m_id(id), m_freeze(freezeHeadings), m_group(workbook)
{
    m_workbook.DoSetUnScrollRow(-1, -1);
    for (int c = 0; c < m_workbook.Cols(); ++c)
        m_workbook.DoClearCellFormula(c, DetailLayouts::TotalRow);
}

RowRecomputeBatch::~RowRecomputeBatch()
{
    try {
        finish();
    } catch (...) {
        // A destructor must not throw; finish() has nothing left that normally does.
    }
}

bool RowRecomputeBatch::cellEdited(int row, int col)
{
    if (m_finished || row < DetailLayouts::FirstDataRow || !RowFormulas::recomputesRows(m_id))
        return true;
    // One command per edit keeps the derived cells in order with the caller's own writes, which
    // may overwrite them later in the batch.
    auto cells = std::make_unique<DerivedCellsUndo>(m_workbook);
    const bool inRange = RowFormulas::applyRowRules(m_workbook, m_id, row, col, cells.get());
    if (!cells->empty() && m_workbook.undoStack().isRecording())
        m_workbook.undoStack().push(std::move(cells));
    return inRange;
}

void RowRecomputeBatch::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    RowFormulas::rebuildTotalRow(m_workbook, m_id, m_freeze);
}

} // namespace vantor
