// The workbook's layout operations: merges, column widths and row heights (set and best fit),
// inserting and deleting rows and columns, frozen rows.

#include "sheet_component/engine/SheetEdit.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/engine/WorkbookCommands.h"

#include <algorithm>
#include <cmath>

namespace vantor {

void Workbook::DoJoinCells(int col1, int row1, int col2, int row2, int sheet)
{
    const int index = resolve(sheet);
    Sheet &s = sheetRef(index);
    CellRange r = SheetEdit::clipTo(s, CellRange::normalized(col1, row1, col2, row2));
    if (r.isEmpty())
        return;
    std::vector<CellRange> before = s.merges();
    std::vector<CellRange> after;
    for (const CellRange &m : before)
        if (!m.intersects(r))
            after.push_back(m);
    if (r.colCount() > 1 || r.rowCount() > 1)
        after.push_back(r);
    if (after == before)
        return;
    auto cmd = std::make_unique<MergesCommand>(&s, std::move(before), std::move(after));
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoUnjoinCells(int col, int row, int sheet)
{
    Sheet &s = sheetRef(sheet);
    std::vector<CellRange> before = s.merges();
    std::vector<CellRange> after;
    for (const CellRange &m : before)
        if (!m.contains(col, row))
            after.push_back(m);
    if (after.size() == before.size())
        return;
    auto cmd = std::make_unique<MergesCommand>(&s, std::move(before), std::move(after));
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoSetColWidth(int col, int width, int sheet)
{
    DoSetColWidthRange(col, col, width, 0, sheet);
}

int Workbook::DoGetColWidth(int col, int sheet) const
{
    return sheetRef(sheet).colWidth(col);
}

void Workbook::DoSetColWidthRange(int col1, int col2, int width, int flag, int sheet)
{
    (void)flag;
    Sheet &s = sheetRef(sheet);
    if (col1 > col2)
        std::swap(col1, col2);
    col1 = std::max(col1, 0);
    col2 = std::min(col2, s.cols() - 1);
    width = std::max(width, 0);
    auto cmd = std::make_unique<SizesCommand>(&s, false);
    for (int c = col1; c <= col2; ++c)
        if (s.colWidth(c) != width)
            cmd->add(c, s.colWidth(c), width);
    if (cmd->empty())
        return;
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoSetRowHeight(int row, int height, int sheet)
{
    DoSetRowHeightRange(row, row, height, 0, sheet);
}

int Workbook::DoGetRowHeight(int row, int sheet) const
{
    return sheetRef(sheet).rowHeight(row);
}

void Workbook::DoSetRowHeightRange(int row1, int row2, int height, int flag, int sheet)
{
    (void)flag;
    Sheet &s = sheetRef(sheet);
    if (row1 > row2)
        std::swap(row1, row2);
    row1 = std::max(row1, 0);
    row2 = std::min(row2, s.rows() - 1);
    height = std::max(height, 0);
    auto cmd = std::make_unique<SizesCommand>(&s, true);
    for (int r = row1; r <= row2; ++r)
        if (s.rowHeight(r) != height)
            cmd->add(r, s.rowHeight(r), height);
    if (cmd->empty())
        return;
    cmd->apply(*this, false);
    record(std::move(cmd));
}

int Workbook::DoGetBestColWidth(int col, int sheet) const
{
    const int index = resolve(sheet);
    const Sheet &s = sheetRef(index);
    if (col < 0 || col >= s.cols())
        return Sheet::DefaultColWidth;
    const TextMeasurer &m = textMeasurer();
    double best = 0;
    for (int r = 0; r < s.rows(); ++r) {
        if (col >= s.storedCols(r))
            continue;
        if (auto merge = s.mergeAt(col, r); merge && merge->colCount() > 1)
            continue;
        const std::string text = displayText(index, col, r);
        if (text.empty())
            continue;
        const FontSpec font = DoGetCellFont(col, r, index);
        double w = 0;
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t nl = text.find('\n', start);
            const std::string_view line(text.data() + start, (nl == std::string::npos ? text.size() : nl) - start);
            w = std::max(w, m.textWidth(font, line));
            if (nl == std::string::npos)
                break;
            start = nl + 1;
        }
        best = std::max(best, w);
    }
    if (best <= 0)
        return s.colWidth(col);
    return static_cast<int>(std::ceil(best)) + 8; // cell padding on both sides
}

int Workbook::DoGetBestRowHeight(int row, int sheet) const
{
    const int index = resolve(sheet);
    const Sheet &s = sheetRef(index);
    const TextMeasurer &m = textMeasurer();
    double best = m.lineHeight(m_defaultFont);
    if (row < 0 || row >= s.rows())
        return static_cast<int>(std::ceil(best)) + 4;
    for (int c = 0; c < s.storedCols(row); ++c) {
        if (auto merge = s.mergeAt(c, row); merge && merge->rowCount() > 1)
            continue;
        const FontSpec font = DoGetCellFont(c, row, index);
        const double lh = m.lineHeight(font);
        const std::string text = displayText(index, c, row);
        int lines = 1;
        if (!text.empty()) {
            lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
            if (cellFormat(c, row, index).textStyle == 1) {
                double width = s.colWidth(c) - 8;
                if (auto merge = s.mergeAt(c, row)) {
                    width = -8;
                    for (int k = merge->col1; k <= merge->col2; ++k)
                        width += s.colWidth(k);
                }
                if (width > 0)
                    lines = std::max(lines, static_cast<int>(std::ceil(m.textWidth(font, text) / width)));
            }
        }
        best = std::max(best, lh * lines);
    }
    return static_cast<int>(std::ceil(best)) + 4;
}

void Workbook::structural(int sheet, bool rows, bool insert, int at, int count)
{
    Sheet &s = sheetRef(sheet);
    if (count <= 0)
        return;
    const int limit = rows ? s.rows() : s.cols();
    if (insert ? (at < 0 || at > limit) : (at < 0 || at >= limit))
        return;
    if (!insert)
        count = std::min(count, limit - at);
    auto cmd = std::make_unique<StructCommand>(&s, rows, insert, at, count);
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoInsertRows(int start, int count, int sheet)
{
    structural(resolve(sheet), true, true, start, count);
}

void Workbook::DoInsertCols(int start, int count, int sheet)
{
    structural(resolve(sheet), false, true, start, count);
}

void Workbook::DoDeleteRows(int start, int count, int sheet)
{
    structural(resolve(sheet), true, false, start, count);
}

void Workbook::DoDeleteCols(int start, int count, int sheet)
{
    structural(resolve(sheet), false, false, start, count);
}

void Workbook::DoSetUnScrollRow(int first, int last, int sheet)
{
    Sheet &s = sheetRef(sheet);
    FrozenRows after;
    if (first >= 0 && last >= first)
        after = FrozenRows{first, last};
    const FrozenRows before = s.frozenRows();
    if (before == after)
        return;
    Sheet *sp = &s;
    auto cmd = std::make_unique<LambdaCommand>([sp, before](Workbook &) { SheetEdit::setFrozen(*sp, before); },
                                               [sp, after](Workbook &) { SheetEdit::setFrozen(*sp, after); }, sp,
                                               WorkbookChange::Layout);
    cmd->redo(*this);
    record(std::move(cmd));
}

} // namespace vantor
