#include "project/EngineProjectWorkbook.h"

#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/Workbook.h"

namespace vantor {

void EngineProjectWorkbook::load(const std::string &path)
{
    std::vector<SheetViewState> views;
    std::unique_ptr<Workbook> loaded = CllFile::load(path, &views);
    m_workbook.assignFrom(std::move(*loaded));
    if (m_view)
        m_view->restore(views);
    m_workbook.DoSetModified(false);
}

void EngineProjectWorkbook::save(const std::string &path)
{
    CllFile::save(m_workbook, path, m_view);
}

void EngineProjectWorkbook::reset()
{
    m_workbook.DoResetWorkbook();
}

bool EngineProjectWorkbook::isModified() const
{
    return m_workbook.IsModified();
}

void EngineProjectWorkbook::setModified(bool modified)
{
    m_workbook.DoSetModified(modified);
}

void EngineProjectWorkbook::setReadOnly(bool readOnly)
{
    m_workbook.SetReadOnly(readOnly);
}

int EngineProjectWorkbook::sheetCount() const
{
    return m_workbook.SheetCount();
}

std::string EngineProjectWorkbook::sheetLabel(int index) const
{
    return m_workbook.DoGetSheetLabel(index);
}

void EngineProjectWorkbook::showSheet(int index)
{
    m_workbook.DoSetCurrentSheet(index);
}

} // namespace vantor
