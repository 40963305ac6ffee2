#include "sheets/DerivedCellsUndo.h"

#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"

namespace vantor {

DerivedCellsUndo::DerivedCellsUndo(const Workbook &workbook) : m_sheet(&workbook.sheet(workbook.CurrentSheet())) {}

int DerivedCellsUndo::sheetIndex(const Workbook &workbook) const
{
    for (int i = 0; i < workbook.SheetCount(); ++i)
        if (&workbook.sheet(i) == m_sheet)
            return i;
    return -1;
}

void DerivedCellsUndo::write(Workbook &workbook, int col, int row, double number)
{
    const int sheet = sheetIndex(workbook);
    if (sheet < 0)
        return;
    m_changes.push_back({col, row, m_sheet->value(col, row), m_sheet->formulaText(col, row), number});
    UndoPause pause(workbook);
    workbook.DoSetCellData(col, row, number, sheet);
}

void DerivedCellsUndo::undo(Workbook &workbook)
{
    const int sheet = sheetIndex(workbook);
    if (sheet < 0)
        return;
    for (auto it = m_changes.rbegin(); it != m_changes.rend(); ++it) {
        if (!it->beforeFormula.empty())
            workbook.DoSetCellFormula(it->col, it->row, it->beforeFormula, sheet);
        else
            workbook.DoSetCellData(it->col, it->row, it->before, sheet);
    }
}

void DerivedCellsUndo::redo(Workbook &workbook)
{
    const int sheet = sheetIndex(workbook);
    if (sheet < 0)
        return;
    for (const Change &c : m_changes)
        workbook.DoSetCellData(c.col, c.row, c.after, sheet);
}

} // namespace vantor
