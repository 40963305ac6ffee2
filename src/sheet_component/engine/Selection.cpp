#include "sheet_component/engine/Selection.h"

#include "sheet_component/engine/Workbook.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace vantor {

Selection::Selection(Workbook &workbook) : m_workbook(workbook)
{
    m_subscription = m_workbook.addChangeListener([this](const WorkbookChange &change) { onWorkbookChanged(change); });
}

Selection::~Selection()
{
    m_workbook.removeChangeListener(m_subscription);
}

int Selection::resolve(int sheet) const
{
    const int index = sheet < 0 ? m_workbook.CurrentSheet() : sheet;
    if (index < 0 || index >= m_workbook.SheetCount())
        throw std::out_of_range("sheet index " + std::to_string(sheet) + " out of range");
    return index;
}

SheetViewState Selection::state(int sheet) const
{
    const auto it = m_states.find(m_workbook.sheet(resolve(sheet)).id());
    return it == m_states.end() ? SheetViewState{} : it->second;
}

void Selection::set(int sheet, const SheetViewState &state)
{
    m_states[m_workbook.sheet(sheet).id()] = state;
    if (m_listener)
        m_listener(sheet);
}

CellRange Selection::DoGetSelection(int sheet) const
{
    return state(sheet).selection;
}

int Selection::CurrentCol() const
{
    return state(-1).col;
}

int Selection::CurrentRow() const
{
    return state(-1).row;
}

void Selection::DoSelectRange(int col1, int row1, int col2, int row2)
{
    const int index = resolve(-1);
    SheetViewState s = state(index);
    s.selection = CellRange::normalized(col1, row1, col2, row2);
    if (!s.selection.contains(s.col, s.row)) {
        s.col = s.selection.col1;
        s.row = s.selection.row1;
    }
    set(index, s);
}

void Selection::DoGotoCell(int col, int row)
{
    const int index = resolve(-1);
    const Sheet &sheet = m_workbook.sheet(index);
    col = std::clamp(col, 0, std::max(sheet.cols() - 1, 0));
    row = std::clamp(row, 0, std::max(sheet.rows() - 1, 0));
    set(index, SheetViewState{CellRange{col, row, col, row}, col, row});
}

void Selection::restore(int sheet, const SheetViewState &saved)
{
    const int index = resolve(sheet);
    const Sheet &s = m_workbook.sheet(index);
    SheetViewState v;
    v.col = std::clamp(saved.col, 0, std::max(s.cols() - 1, 0));
    v.row = std::clamp(saved.row, 0, std::max(s.rows() - 1, 0));
    v.selection = CellRange{v.col, v.row, v.col, v.row};
    if (!saved.selection.isEmpty()) {
        v.selection = CellRange::normalized(saved.selection.col1, saved.selection.row1, saved.selection.col2,
                                            saved.selection.row2);
        if (!v.selection.contains(v.col, v.row)) {
            v.col = v.selection.col1;
            v.row = v.selection.row1;
        }
    }
    set(index, v);
}

void Selection::restore(const std::vector<SheetViewState> &states)
{
    for (std::size_t i = 0; i < states.size() && i < static_cast<std::size_t>(m_workbook.SheetCount()); ++i)
        restore(static_cast<int>(i), states[i]);
}

namespace {

void clampInto(const Sheet &sheet, SheetViewState &s)
{
    const int maxCol = std::max(sheet.cols() - 1, 0), maxRow = std::max(sheet.rows() - 1, 0);
    s.selection.col1 = std::clamp(s.selection.col1, 0, maxCol);
    s.selection.col2 = std::clamp(s.selection.col2, 0, maxCol);
    s.selection.row1 = std::clamp(s.selection.row1, 0, maxRow);
    s.selection.row2 = std::clamp(s.selection.row2, 0, maxRow);
    s.col = std::clamp(s.col, 0, maxCol);
    s.row = std::clamp(s.row, 0, maxRow);
}

} // namespace

void Selection::onWorkbookChanged(const WorkbookChange &change)
{
    switch (change.kind) {
    case WorkbookChange::Reset:
        m_states.clear();
        break;
    case WorkbookChange::Layout:
        // Rows or columns deleted (or the sheet made smaller) pull the cursor back inside.
        for (int i = 0; i < m_workbook.SheetCount(); ++i) {
            if (change.sheet >= 0 && change.sheet != i)
                continue;
            const Sheet &sheet = m_workbook.sheet(i);
            if (auto it = m_states.find(sheet.id()); it != m_states.end())
                clampInto(sheet, it->second);
        }
        break;
    case WorkbookChange::Sheets:
    case WorkbookChange::Cells:
        break;
    }
}

} // namespace vantor
