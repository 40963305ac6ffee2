#include "sheet_component/engine/WorkbookCommands.h"

#include <algorithm>

namespace vantor {

namespace {

CellRange bounds(CellRange acc, int col, int row)
{
    if (acc.isEmpty())
        return CellRange{col, row, col, row};
    return CellRange{std::min(acc.col1, col), std::min(acc.row1, row), std::max(acc.col2, col),
                     std::max(acc.row2, row)};
}

} // namespace

void CellsCommand::apply(Workbook &wb, bool undo)
{
    CellRange range;
    if (undo) {
        for (auto it = m_changes.rbegin(); it != m_changes.rend(); ++it) {
            SheetEdit::restore(*m_sheet, it->col, it->row, it->before);
            range = bounds(range, it->col, it->row);
        }
    } else {
        for (const Change &c : m_changes) {
            SheetEdit::restore(*m_sheet, c.col, c.row, c.after);
            range = bounds(range, c.col, c.row);
        }
    }
    WorkbookAccess::cellsChanged(wb, *m_sheet, range);
    WorkbookAccess::touched(wb, m_sheet, WorkbookChange::Cells, range);
}

void StylesCommand::apply(Workbook &wb, bool undo)
{
    CellRange range;
    for (const Change &c : m_changes) {
        SheetEdit::setStyle(*m_sheet, c.col, c.row, undo ? c.before : c.after);
        range = bounds(range, c.col, c.row);
    }
    WorkbookAccess::touched(wb, m_sheet, WorkbookChange::Cells, range);
}

void SizesCommand::apply(Workbook &wb, bool undo)
{
    for (const Change &c : m_changes) {
        const int v = undo ? c.before : c.after;
        if (m_rows)
            SheetEdit::setRowHeight(*m_sheet, c.index, v);
        else
            SheetEdit::setColWidth(*m_sheet, c.index, v);
    }
    WorkbookAccess::touched(wb, m_sheet, WorkbookChange::Layout);
}

void MergesCommand::apply(Workbook &wb, bool undo)
{
    SheetEdit::setMerges(*m_sheet, undo ? m_before : m_after);
    WorkbookAccess::touched(wb, m_sheet, WorkbookChange::Layout);
}

void StructCommand::apply(Workbook &wb, bool undo)
{
    Sheet &s = *m_sheet;
    const bool doInsert = m_insert != undo; // undoing a delete inserts, and the other way round
    StructRecord rec;
    if (m_rows)
        rec = doInsert ? SheetEdit::insertRows(s, m_at, m_count) : SheetEdit::deleteRows(s, m_at, m_count);
    else
        rec = doInsert ? SheetEdit::insertCols(s, m_at, m_count) : SheetEdit::deleteCols(s, m_at, m_count);
    std::vector<std::uint32_t> changed = rec.changedSlots;
    if (undo) {
        // Put back exactly what the original edit rewrote or removed.
        if (m_rows)
            SheetEdit::restoreRows(s, m_at, m_record, !m_insert);
        else
            SheetEdit::restoreCols(s, m_at, m_record, !m_insert);
        changed = SheetEdit::formulaSlots(s);
    } else {
        m_record = std::move(rec);
        // Inserting moves every reference along with its cell and only adds empty cells to
        // ranges, so no value changes; only getcell reads (absolute positions) need a look.
        if (doInsert)
            changed.clear();
    }
    WorkbookAccess::structureChanged(wb, s, changed);
    WorkbookAccess::touched(wb, m_sheet, WorkbookChange::Layout);
}

void ResizeCommand::apply(Workbook &wb, bool undo)
{
    const int cols = undo ? m_colsBefore : m_colsAfter;
    const int rows = undo ? m_rowsBefore : m_rowsAfter;
    SheetEdit::resize(*m_sheet, cols, rows);
    WorkbookAccess::structureChanged(wb, *m_sheet, {});
    WorkbookAccess::touched(wb, m_sheet, WorkbookChange::Layout);
}

void SheetsCommand::insertHeld(Workbook &wb)
{
    auto &sheets = WorkbookAccess::sheets(wb);
    const int at = std::clamp(m_index, 0, static_cast<int>(sheets.size()));
    const int n = static_cast<int>(m_held.size());
    std::vector<Sheet *> added;
    m_sheets.clear();
    for (int i = 0; i < n; ++i) {
        added.push_back(m_held[static_cast<std::size_t>(i)].get());
        m_sheets.push_back(added.back());
        sheets.insert(sheets.begin() + at + i, std::move(m_held[static_cast<std::size_t>(i)]));
    }
    m_held.clear();
    int &current = WorkbookAccess::current(wb);
    if (current >= at && static_cast<int>(sheets.size()) > n)
        current += n;
    current = std::clamp(current, 0, static_cast<int>(sheets.size()) - 1);
    for (Sheet *s : added)
        WorkbookAccess::contentReplaced(wb, *s);
    WorkbookAccess::sheetsReordered(wb);
    WorkbookAccess::touched(wb, nullptr, WorkbookChange::Sheets);
}

void SheetsCommand::removeToHeld(Workbook &wb)
{
    auto &sheets = WorkbookAccess::sheets(wb);
    // Find the run by identity when it is known: indexes may have moved under changes that
    // were not recorded (UndoPause).
    int at = m_index;
    if (!m_sheets.empty()) {
        for (int i = 0; i < static_cast<int>(sheets.size()); ++i)
            if (sheets[static_cast<std::size_t>(i)].get() == m_sheets.front()) {
                at = i;
                break;
            }
    }
    if (at < 0 || at >= static_cast<int>(sheets.size()))
        return;
    const int n = std::min(m_count, static_cast<int>(sheets.size()) - at);
    m_index = at;
    m_sheets.clear();
    for (int i = 0; i < n; ++i)
        m_sheets.push_back(sheets[static_cast<std::size_t>(at + i)].get());
    for (int i = 0; i < n; ++i) {
        WorkbookAccess::forgetSheet(wb, sheets[static_cast<std::size_t>(at + i)].get());
        m_held.push_back(std::move(sheets[static_cast<std::size_t>(at + i)]));
    }
    sheets.erase(sheets.begin() + at, sheets.begin() + at + n);
    int &current = WorkbookAccess::current(wb);
    if (current >= at + n)
        current -= n;
    else if (current >= at)
        current = at;
    current = std::clamp(current, 0, std::max(static_cast<int>(sheets.size()) - 1, 0));
    WorkbookAccess::sheetsReordered(wb);
    WorkbookAccess::touched(wb, nullptr, WorkbookChange::Sheets);
}

void SheetsCommand::apply(Workbook &wb, bool undo)
{
    if (m_insert != undo)
        insertHeld(wb);
    else
        removeToHeld(wb);
}

void SwapContentCommand::apply(Workbook &wb, bool undo)
{
    (void)undo;
    SheetEdit::swapContent(*m_sheet, *m_held);
    WorkbookAccess::contentReplaced(wb, *m_sheet);
    WorkbookAccess::touched(wb, m_sheet, WorkbookChange::Layout);
}

void PermuteCommand::apply(Workbook &wb, bool undo)
{
    if (undo) {
        std::vector<int> inverse(m_order.size());
        for (std::size_t i = 0; i < m_order.size(); ++i)
            inverse[static_cast<std::size_t>(m_order[i])] = static_cast<int>(i);
        SheetEdit::permuteRows(*m_sheet, m_first, inverse);
    } else {
        SheetEdit::permuteRows(*m_sheet, m_first, m_order);
    }
    const CellRange range{0, m_first, m_sheet->cols() - 1, m_first + static_cast<int>(m_order.size()) - 1};
    WorkbookAccess::cellsChanged(wb, *m_sheet, range);
    WorkbookAccess::touched(wb, m_sheet, WorkbookChange::Cells, range);
}

} // namespace vantor
