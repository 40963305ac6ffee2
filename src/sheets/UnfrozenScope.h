#pragma once

// Scope guard for work on a sheet with frozen heading rows (the detail sheets' commands, the
// format toolbar's): the freeze is released on entry and, when the view option "不滚动行" is
// checked, rows 0 … 2 (down to the total row) are frozen again on exit, also when the work throws.

#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailLayouts.h"

namespace vantor {

class UnfrozenScope {
public:
    UnfrozenScope(Workbook &workbook, bool freezeAfter) : m_workbook(workbook), m_freezeAfter(freezeAfter)
    {
        m_workbook.DoSetUnScrollRow(-1, -1);
    }
    ~UnfrozenScope()
    {
        if (m_freezeAfter)
            m_workbook.DoSetUnScrollRow(0, DetailLayouts::TotalRow);
    }
    UnfrozenScope(const UnfrozenScope &) = delete;
    UnfrozenScope &operator=(const UnfrozenScope &) = delete;

private:
    Workbook &m_workbook;
    bool m_freezeAfter;
};

} // namespace vantor
