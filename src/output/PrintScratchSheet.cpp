#include "output/PrintScratchSheet.h"

#include "sheet_component/engine/Workbook.h"

namespace vantor {

PrintScratchSheet::PrintScratchSheet(Workbook &workbook, int sourceSheet)
    : m_workbook(workbook), m_pause(workbook), m_index(workbook.SheetCount()),
      m_current(workbook.CurrentSheet()), m_modified(workbook.IsModified())
{
    m_workbook.DoAddSheet(Label, 1);
    try {
        m_workbook.DoCopySheet(m_index, sourceSheet);
        m_workbook.DoSetCurrentSheet(m_index);
        m_workbook.DoSetUnScrollRow(-1, -1, m_index);
        // The form shows values; formulas could only go wrong when rows move.
        const Sheet &sheet = m_workbook.sheet(m_index);
        for (int r = 0; r < sheet.rows(); ++r)
            for (int c = 0; c < sheet.storedCols(r); ++c)
                if (sheet.hasFormula(c, r))
                    m_workbook.DoClearCellFormula(c, r, m_index);
    } catch (...) {
        restore();
        throw;
    }
}

PrintScratchSheet::~PrintScratchSheet()
{
    restore();
}

void PrintScratchSheet::restore()
{
    if (m_index < m_workbook.SheetCount())
        m_workbook.DoDeleteSheets(m_index, 1);
    if (m_current >= 0 && m_current < m_workbook.SheetCount())
        m_workbook.DoSetCurrentSheet(m_current);
    m_workbook.DoSetModified(m_modified);
}

} // namespace vantor
