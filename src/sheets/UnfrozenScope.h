#pragma once

// Scope guard for work on a detail sheet: the frozen heading rows are released on
// entry and, when the view option "不滚动行" is checked, rows 0 … 2 are frozen again
// on exit, also when the work throws.

#include "sheet_component/engine/Workbook.h"

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
            m_workbook.DoSetUnScrollRow(0, 2);
    }
    UnfrozenScope(const UnfrozenScope &) = delete;
    UnfrozenScope &operator=(const UnfrozenScope &) = delete;

private:
    Workbook &m_workbook;
    bool m_freezeAfter;
};

} // namespace vantor
