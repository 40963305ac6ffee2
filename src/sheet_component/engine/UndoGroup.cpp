#include "sheet_component/engine/UndoGroup.h"

#include "sheet_component/engine/Workbook.h"

namespace vantor {

UndoGroup::UndoGroup(Workbook &workbook) : m_workbook(workbook)
{
    m_workbook.beginUndoGroup();
}

UndoGroup::~UndoGroup()
{
    m_workbook.endUndoGroup();
}

UndoPause::UndoPause(Workbook &workbook) : m_workbook(workbook)
{
    m_workbook.undoStack().pause();
}

UndoPause::~UndoPause()
{
    m_workbook.undoStack().resume();
}

} // namespace vantor
