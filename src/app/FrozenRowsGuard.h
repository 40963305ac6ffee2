#pragma once

// Scope guard for work on a sheet with frozen header rows: the freeze is removed on
// entry and rows 0 to 2 are frozen again on exit when 不滚动行 is checked, also when
// the work ends by an exception.

#include "sheet_component/engine/Workbook.h"

namespace vantor {

class FrozenRowsGuard {
public:
    FrozenRowsGuard(Workbook &workbook, bool refreezeAfter) : m_workbook(workbook), m_refreeze(refreezeAfter)
    {
        m_workbook.DoSetUnScrollRow(-1, -1);
    }
    ~FrozenRowsGuard()
    {
        if (m_refreeze)
            m_workbook.DoSetUnScrollRow(0, 2);
    }
    FrozenRowsGuard(const FrozenRowsGuard &) = delete;
    FrozenRowsGuard &operator=(const FrozenRowsGuard &) = delete;

private:
    Workbook &m_workbook;
    bool m_refreeze;
};

} // namespace vantor
