#include "sheet_component/engine/CellClipboard.h"

#include "sheet_component/engine/DisplayFormat.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/engine/WorkbookCommands.h"

#include <algorithm>

namespace vantor {

namespace {

// Moves every reference of a formula by (dc, dr), as a copied formula does; references that
// leave the sheet become #REF!.
void shiftFormula(Formula &f, int dc, int dr)
{
    if (dr > 0)
        f.insertRows(0, dr);
    else if (dr < 0)
        f.deleteRows(0, -dr);
    if (dc > 0)
        f.insertCols(0, dc);
    else if (dc < 0)
        f.deleteCols(0, -dc);
}

} // namespace

void CellClipboard::copy(const Workbook &wb, CellRange range, int sheet)
{
    const Sheet &s = wb.sheet(sheet < 0 ? wb.CurrentSheet() : sheet);
    const CellRange r = SheetEdit::clipTo(s, CellRange::normalized(range.col1, range.row1, range.col2, range.row2));
    if (r.isEmpty())
        return;
    clear();
    m_cols = r.colCount();
    m_rows = r.rowCount();
    m_srcCol = r.col1;
    m_srcRow = r.row1;
    m_cells.reserve(static_cast<std::size_t>(m_cols) * static_cast<std::size_t>(m_rows));
    for (int row = r.row1; row <= r.row2; ++row)
        for (int col = r.col1; col <= r.col2; ++col)
            m_cells.push_back(SheetEdit::snapshot(s, col, row));
    for (const CellRange &m : s.merges())
        if (m.col1 >= r.col1 && m.col2 <= r.col2 && m.row1 >= r.row1 && m.row2 <= r.row2)
            m_merges.push_back(CellRange{m.col1 - r.col1, m.row1 - r.row1, m.col2 - r.col1, m.row2 - r.row1});
}

int CellClipboard::cut(Workbook &wb, CellRange range, const WriteGuard &guard)
{
    Sheet &s = WorkbookAccess::sheet(wb, -1);
    const CellRange r = SheetEdit::clipTo(s, range);
    if (r.isEmpty())
        return 0;
    int kept = 0;
    copy(wb, r);
    UndoGroup group(wb);
    auto cmd = std::make_unique<CellsCommand>(&s);
    for (int row = r.row1; row <= r.row2; ++row)
        for (int col = r.col1; col <= r.col2; ++col) {
            CellSnapshot before = SheetEdit::snapshot(s, col, row);
            if (before.value.isEmpty() && !before.hasFormula)
                continue;
            if (!guard.allows(col, row)) {
                ++kept;
                continue;
            }
            CellSnapshot after;
            after.style = before.style;
            cmd->add(col, row, std::move(before), std::move(after));
        }
    if (!cmd->empty())
        WorkbookAccess::run(wb, std::move(cmd));
    return kept;
}

void CellClipboard::clear()
{
    m_cols = m_rows = 0;
    m_cells.clear();
    m_merges.clear();
}

CellRange CellClipboard::range() const
{
    if (isEmpty())
        return CellRange{};
    return CellRange{0, 0, m_cols - 1, m_rows - 1};
}

int CellClipboard::paste(Workbook &wb, int col, int row, bool whole, const WriteGuard &guard) const
{
    if (isEmpty())
        return 0;
    int left = 0;
    Sheet &s = WorkbookAccess::sheet(wb, -1);
    UndoGroup group(wb);
    const int dc = col - m_srcCol, dr = row - m_srcRow;
    auto cmd = std::make_unique<CellsCommand>(&s);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_cols; ++c) {
            const int tc = col + c, tr = row + r;
            if (!s.isValid(tc, tr) || !guard.allows(tc, tr)) {
                ++left;
                continue;
            }
            const CellSnapshot &src = m_cells[static_cast<std::size_t>(r * m_cols + c)];
            CellSnapshot before = SheetEdit::snapshot(s, tc, tr);
            CellSnapshot after;
            if (whole) {
                after = src;
                if (after.formula)
                    shiftFormula(*after.formula, dc, dr);
            } else {
                after.value = src.value;
                after.style = before.style;
            }
            if (!(after == before))
                cmd->add(tc, tr, std::move(before), std::move(after));
        }
    if (!cmd->empty())
        WorkbookAccess::run(wb, std::move(cmd));
    if (!whole || left > 0)
        return left; // merges would span cells that were not written
    const CellRange target = SheetEdit::clipTo(s, CellRange{col, row, col + m_cols - 1, row + m_rows - 1});
    std::vector<CellRange> before = s.merges();
    std::vector<CellRange> after;
    for (const CellRange &m : before)
        if (!m.intersects(target))
            after.push_back(m);
    for (const CellRange &m : m_merges) {
        const CellRange placed =
            SheetEdit::clipTo(s, CellRange{m.col1 + col, m.row1 + row, m.col2 + col, m.row2 + row});
        if (!placed.isEmpty() && (placed.colCount() > 1 || placed.rowCount() > 1))
            after.push_back(placed);
    }
    if (after != before)
        WorkbookAccess::run(wb, std::make_unique<MergesCommand>(&s, std::move(before), std::move(after)));
    return left;
}

namespace {

std::string rawText(const CellValue &v)
{
    if (v.isNumber())
        return formatGeneralNumber(v.number());
    if (v.isText())
        return v.text();
    if (v.isError())
        return cellErrorText(v.error());
    return {};
}

std::string quoteField(const std::string &s)
{
    if (s.find_first_of("\t\n\r\"") == std::string::npos)
        return s;
    std::string out = "\"";
    for (char ch : s) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + '"';
}

std::vector<std::vector<std::string>> parseTabText(const std::string &text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false, fieldStarted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (quoted) {
            if (ch == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += ch;
            }
            continue;
        }
        if (ch == '"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (ch == '\t') {
            row.push_back(std::move(field));
            field.clear();
            fieldStarted = false;
        } else if (ch == '\n' || ch == '\r') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            row.push_back(std::move(field));
            field.clear();
            fieldStarted = false;
            rows.push_back(std::move(row));
            row.clear();
        } else {
            field += ch;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace

std::string CellClipboard::rangeAsText(const Workbook &wb, CellRange range, int sheet)
{
    const Sheet &s = wb.sheet(sheet < 0 ? wb.CurrentSheet() : sheet);
    const CellRange r = SheetEdit::clipTo(s, CellRange::normalized(range.col1, range.row1, range.col2, range.row2));
    std::string out;
    for (int row = r.row1; row <= r.row2; ++row) {
        for (int col = r.col1; col <= r.col2; ++col) {
            if (col > r.col1)
                out += '\t';
            out += quoteField(rawText(s.value(col, row)));
        }
        out += '\n';
    }
    return out;
}

int CellClipboard::pasteText(Workbook &wb, int col, int row, const std::string &text, int sheet,
                             const WriteGuard &guard)
{
    const int index = sheet < 0 ? wb.CurrentSheet() : sheet;
    const auto rows = parseTabText(text);
    if (rows.empty() || col < 0 || row < 0)
        return 0;
    std::size_t width = 0;
    for (const auto &r : rows)
        width = std::max(width, r.size());
    UndoGroup group(wb);
    const int needRows = std::min(row + static_cast<int>(rows.size()), guard.lastRow + 1);
    const int needCols = std::min(col + static_cast<int>(width), guard.lastCol + 1);
    if (needRows > wb.Rows(index))
        wb.SetRows(needRows, index);
    if (needCols > wb.Cols(index))
        wb.SetCols(needCols, index);
    int left = 0;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const int tc = col + static_cast<int>(c), tr = row + static_cast<int>(r);
            if (!guard.allows(tc, tr)) {
                left += !rows[r][c].empty();
                continue;
            }
            wb.setCellInput(tc, tr, rows[r][c], index);
        }
    return left;
}

} // namespace vantor
