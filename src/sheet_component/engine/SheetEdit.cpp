#include "sheet_component/engine/SheetEdit.h"

#include <algorithm>

namespace vantor {

CellSnapshot SheetEdit::snapshot(const Sheet &sheet, int col, int row)
{
    CellSnapshot s;
    const Sheet::Cell *c = sheet.cellPtr(col, row);
    if (!c)
        return s;
    s.value = sheet.cellValue(*c);
    s.style = c->style;
    if (c->formula) {
        const Sheet::FormulaSlot &slot = sheet.m_slots[c->formula - 1];
        s.hasFormula = true;
        s.formula = slot.formula;
        s.badText = slot.badText;
    }
    return s;
}

void SheetEdit::restore(Sheet &sheet, int col, int row, const CellSnapshot &cell)
{
    if (!sheet.isValid(col, row))
        return;
    Sheet::Cell &c = sheet.cellRef(col, row);
    if (c.formula) {
        sheet.removeFormulaSlot(c.formula - 1);
        c.formula = 0;
    }
    sheet.setCellValue(c, cell.value);
    c.style = cell.style;
    if (cell.hasFormula)
        c.formula = sheet.addFormulaSlot(col, row, cell.formula, cell.badText) + 1;
}

void SheetEdit::setStyle(Sheet &sheet, int col, int row, StyleId style)
{
    if (!sheet.isValid(col, row))
        return;
    if (style == 0 && !sheet.cellPtr(col, row))
        return;
    sheet.cellRef(col, row).style = style;
}

void SheetEdit::setColWidth(Sheet &sheet, int col, int width)
{
    if (col >= 0 && col < sheet.m_cols)
        sheet.m_colWidths[static_cast<std::size_t>(col)] = std::max(width, 0);
}

void SheetEdit::setRowHeight(Sheet &sheet, int row, int height)
{
    if (row >= 0 && row < sheet.m_rowCount)
        sheet.m_rowHeights[static_cast<std::size_t>(row)] = std::max(height, 0);
}

void SheetEdit::setView(Sheet &sheet, CellRange selection, int col, int row)
{
    sheet.m_selection = selection;
    sheet.m_currentCol = col;
    sheet.m_currentRow = row;
}

void SheetEdit::clampView(Sheet &sheet)
{
    const int maxCol = std::max(sheet.m_cols - 1, 0), maxRow = std::max(sheet.m_rowCount - 1, 0);
    CellRange &sel = sheet.m_selection;
    sel.col1 = std::clamp(sel.col1, 0, maxCol);
    sel.col2 = std::clamp(sel.col2, 0, maxCol);
    sel.row1 = std::clamp(sel.row1, 0, maxRow);
    sel.row2 = std::clamp(sel.row2, 0, maxRow);
    sheet.m_currentCol = std::clamp(sheet.m_currentCol, 0, maxCol);
    sheet.m_currentRow = std::clamp(sheet.m_currentRow, 0, maxRow);
}

std::vector<std::uint32_t> SheetEdit::formulaSlots(const Sheet &sheet)
{
    std::vector<std::uint32_t> out;
    for (std::uint32_t i = 0; i < sheet.m_slots.size(); ++i)
        if (sheet.m_slots[i].used)
            out.push_back(i);
    return out;
}

namespace {

// Shifts the span [lo, hi] for `count` lines inserted at `at` (count > 0) or deleted at `at`
// (count < 0). Returns false when the span disappears entirely.
bool shiftSpan(int &lo, int &hi, int at, int count)
{
    if (count >= 0) {
        if (lo >= at) {
            lo += count;
            hi += count;
        } else if (hi >= at) {
            hi += count;
        }
        return true;
    }
    const int n = -count;
    const int end = at + n; // first line after the deleted block
    if (hi < at)
        return true;
    if (lo >= end) {
        lo -= n;
        hi -= n;
        return true;
    }
    // Overlap with the deleted block.
    const int newLo = lo < at ? lo : at;
    const int newHi = hi >= end ? hi - n : at - 1;
    if (newHi < newLo)
        return false;
    lo = newLo;
    hi = newHi;
    return true;
}

void shiftLines(std::vector<int> &lines, int at, int count)
{
    std::vector<int> out;
    for (int r : lines) {
        if (count < 0 && r >= at && r < at - count)
            continue;
        if (r >= at)
            r += count;
        out.push_back(r);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    lines = std::move(out);
}

enum class Axis { Rows, Cols };

void recordCommon(const Sheet &sheet, StructRecord &rec)
{
    rec.mergesBefore = sheet.merges();
    rec.breaksBefore = sheet.printSettings().rowPageBreaks;
    rec.printRangeBefore = sheet.printSettings().printRange;
}

} // namespace

namespace {

// Shared by the four structural edits: moves merges, page breaks, print range and formulas.
template <typename SheetT>
void shiftLayout(SheetT &sheet, std::vector<CellRange> &merges, PrintSettings &print, Axis axis, int at, int count)
{
    (void)sheet;
    std::vector<CellRange> out;
    for (CellRange m : merges) {
        bool keep = axis == Axis::Rows ? shiftSpan(m.row1, m.row2, at, count) : shiftSpan(m.col1, m.col2, at, count);
        // A merge reduced to one cell is no merge.
        if (keep && (m.col1 != m.col2 || m.row1 != m.row2))
            out.push_back(m);
    }
    merges = std::move(out);
    if (axis == Axis::Rows)
        shiftLines(print.rowPageBreaks, at, count);
    CellRange &pr = print.printRange;
    if (!pr.isEmpty()) {
        bool keep =
            axis == Axis::Rows ? shiftSpan(pr.row1, pr.row2, at, count) : shiftSpan(pr.col1, pr.col2, at, count);
        if (!keep)
            pr = CellRange{};
    }
}

// Shared by the four structural edits: every formula anchored at or beyond `from` on the axis
// moves by `delta`, every formula's references follow the edit (`adjust`, true when they
// changed), and the formulas that changed are recorded, at their old places, for undo.
template <typename Slots, typename Adjust>
void shiftFormulaSlots(Slots &slots, StructRecord &rec, Axis axis, int from, int delta, Adjust adjust)
{
    for (std::uint32_t i = 0; i < slots.size(); ++i) {
        auto &s = slots[i];
        if (!s.used)
            continue;
        const int beforeCol = s.col;
        const int beforeRow = s.row;
        int &anchor = axis == Axis::Rows ? s.row : s.col;
        if (anchor >= from)
            anchor += delta;
        if (s.formula) {
            Formula before = *s.formula;
            if (adjust(*s.formula)) {
                rec.formulasBefore.push_back({beforeCol, beforeRow, before});
                rec.changedSlots.push_back(i);
            }
        }
    }
}

} // namespace

StructRecord SheetEdit::insertRows(Sheet &sheet, int at, int count)
{
    StructRecord rec;
    at = std::clamp(at, 0, sheet.m_rowCount);
    if (count <= 0)
        return rec;
    recordCommon(sheet, rec);
    sheet.m_rows.insert(sheet.m_rows.begin() + at, static_cast<std::size_t>(count), Sheet::Row{});
    sheet.m_rowHeights.insert(sheet.m_rowHeights.begin() + at, static_cast<std::size_t>(count),
                              Sheet::DefaultRowHeight);
    sheet.m_rowCount += count;
    shiftFormulaSlots(sheet.m_slots, rec, Axis::Rows, at, count, [&](Formula &f) { return f.insertRows(at, count); });
    shiftLayout(sheet, sheet.m_merges, sheet.m_print, Axis::Rows, at, count);
    sheet.rebuildDepIndex();
    return rec;
}

StructRecord SheetEdit::deleteRows(Sheet &sheet, int at, int count)
{
    StructRecord rec;
    if (at < 0 || at >= sheet.m_rowCount)
        return rec;
    count = std::min(count, sheet.m_rowCount - at);
    if (count <= 0)
        return rec;
    recordCommon(sheet, rec);
    for (int r = at; r < at + count; ++r) {
        rec.removedSizes.push_back(sheet.m_rowHeights[static_cast<std::size_t>(r)]);
        const int n = sheet.storedCols(r);
        for (int c = 0; c < n; ++c)
            if (!sheet.isBlank(c, r))
                rec.removedCells.push_back({c, r, snapshot(sheet, c, r)});
        for (Sheet::Cell &cell : sheet.m_rows[static_cast<std::size_t>(r)]) {
            sheet.releaseText(cell);
            if (cell.formula)
                sheet.removeFormulaSlot(cell.formula - 1);
        }
    }
    sheet.m_rows.erase(sheet.m_rows.begin() + at, sheet.m_rows.begin() + at + count);
    sheet.m_rowHeights.erase(sheet.m_rowHeights.begin() + at, sheet.m_rowHeights.begin() + at + count);
    sheet.m_rowCount -= count;
    shiftFormulaSlots(sheet.m_slots, rec, Axis::Rows, at + count, -count,
                      [&](Formula &f) { return f.deleteRows(at, count); });
    shiftLayout(sheet, sheet.m_merges, sheet.m_print, Axis::Rows, at, -count);
    sheet.rebuildDepIndex();
    return rec;
}

StructRecord SheetEdit::insertCols(Sheet &sheet, int at, int count)
{
    StructRecord rec;
    at = std::clamp(at, 0, sheet.m_cols);
    if (count <= 0)
        return rec;
    recordCommon(sheet, rec);
    for (Sheet::Row &row : sheet.m_rows)
        if (row.size() > static_cast<std::size_t>(at))
            row.insert(row.begin() + at, static_cast<std::size_t>(count), Sheet::Cell{});
    sheet.m_colWidths.insert(sheet.m_colWidths.begin() + at, static_cast<std::size_t>(count), Sheet::DefaultColWidth);
    sheet.m_cols += count;
    shiftFormulaSlots(sheet.m_slots, rec, Axis::Cols, at, count, [&](Formula &f) { return f.insertCols(at, count); });
    shiftLayout(sheet, sheet.m_merges, sheet.m_print, Axis::Cols, at, count);
    sheet.rebuildDepIndex();
    return rec;
}

StructRecord SheetEdit::deleteCols(Sheet &sheet, int at, int count)
{
    StructRecord rec;
    if (at < 0 || at >= sheet.m_cols)
        return rec;
    count = std::min(count, sheet.m_cols - at);
    if (count <= 0)
        return rec;
    recordCommon(sheet, rec);
    for (int c = at; c < at + count; ++c)
        rec.removedSizes.push_back(sheet.m_colWidths[static_cast<std::size_t>(c)]);
    for (int r = 0; r < sheet.m_rowCount; ++r) {
        Sheet::Row &row = sheet.m_rows[static_cast<std::size_t>(r)];
        if (row.size() <= static_cast<std::size_t>(at))
            continue;
        const int end = std::min(at + count, static_cast<int>(row.size()));
        for (int c = at; c < end; ++c) {
            if (!sheet.isBlank(c, r))
                rec.removedCells.push_back({c, r, snapshot(sheet, c, r)});
            Sheet::Cell &cell = row[static_cast<std::size_t>(c)];
            sheet.releaseText(cell);
            if (cell.formula)
                sheet.removeFormulaSlot(cell.formula - 1);
        }
        row.erase(row.begin() + at, row.begin() + end);
    }
    sheet.m_colWidths.erase(sheet.m_colWidths.begin() + at, sheet.m_colWidths.begin() + at + count);
    sheet.m_cols -= count;
    shiftFormulaSlots(sheet.m_slots, rec, Axis::Cols, at + count, -count,
                      [&](Formula &f) { return f.deleteCols(at, count); });
    shiftLayout(sheet, sheet.m_merges, sheet.m_print, Axis::Cols, at, -count);
    sheet.rebuildDepIndex();
    return rec;
}

namespace {

void restoreFormulas(Sheet &sheet, const StructRecord &record)
{
    for (const auto &fb : record.formulasBefore) {
        const Formula *current = sheet.formula(fb.col, fb.row);
        if (!current)
            continue;
        CellSnapshot snap = SheetEdit::snapshot(sheet, fb.col, fb.row);
        snap.formula = fb.formula;
        SheetEdit::restore(sheet, fb.col, fb.row, snap);
    }
}

} // namespace

void SheetEdit::restoreRows(Sheet &sheet, int at, const StructRecord &record, bool wasDelete)
{
    (void)at;
    if (wasDelete) {
        for (std::size_t i = 0; i < record.removedSizes.size(); ++i)
            setRowHeight(sheet, at + static_cast<int>(i), record.removedSizes[i]);
        for (const PlacedSnapshot &p : record.removedCells)
            restore(sheet, p.col, p.row, p.cell);
    }
    restoreFormulas(sheet, record);
    sheet.m_merges = record.mergesBefore;
    sheet.m_print.rowPageBreaks = record.breaksBefore;
    sheet.m_print.printRange = record.printRangeBefore;
}

void SheetEdit::restoreCols(Sheet &sheet, int at, const StructRecord &record, bool wasDelete)
{
    if (wasDelete) {
        for (std::size_t i = 0; i < record.removedSizes.size(); ++i)
            setColWidth(sheet, at + static_cast<int>(i), record.removedSizes[i]);
        for (const PlacedSnapshot &p : record.removedCells)
            restore(sheet, p.col, p.row, p.cell);
    }
    restoreFormulas(sheet, record);
    sheet.m_merges = record.mergesBefore;
    sheet.m_print.rowPageBreaks = record.breaksBefore;
    sheet.m_print.printRange = record.printRangeBefore;
}

void SheetEdit::copyContent(Sheet &dst, const Sheet &src)
{
    if (&dst == &src)
        return;
    dst.m_cols = src.m_cols;
    dst.m_rowCount = src.m_rowCount;
    dst.m_rows = src.m_rows;
    dst.m_texts = src.m_texts;
    dst.m_freeTexts = src.m_freeTexts;
    dst.m_slots = src.m_slots;
    dst.m_freeSlots = src.m_freeSlots;
    for (Sheet::FormulaSlot &s : dst.m_slots)
        if (s.used)
            s.state = Sheet::Dirty;
    dst.m_deps = src.m_deps;
    dst.m_colWidths = src.m_colWidths;
    dst.m_rowHeights = src.m_rowHeights;
    dst.m_merges = src.m_merges;
    dst.m_frozen = src.m_frozen;
    dst.m_print = src.m_print;
}

void SheetEdit::swapContent(Sheet &a, Sheet &b)
{
    std::swap(a.m_cols, b.m_cols);
    std::swap(a.m_rowCount, b.m_rowCount);
    a.m_rows.swap(b.m_rows);
    a.m_texts.swap(b.m_texts);
    a.m_freeTexts.swap(b.m_freeTexts);
    a.m_slots.swap(b.m_slots);
    a.m_freeSlots.swap(b.m_freeSlots);
    a.m_deps.swap(b.m_deps);
    a.m_colWidths.swap(b.m_colWidths);
    a.m_rowHeights.swap(b.m_rowHeights);
    a.m_merges.swap(b.m_merges);
    std::swap(a.m_frozen, b.m_frozen);
    std::swap(a.m_print, b.m_print);
}

void SheetEdit::permuteRows(Sheet &sheet, int first, const std::vector<int> &order)
{
    if (first < 0 || first + static_cast<int>(order.size()) > sheet.m_rowCount)
        return;
    std::vector<Sheet::Row> moved;
    moved.reserve(order.size());
    for (int src : order)
        moved.push_back(std::move(sheet.m_rows[static_cast<std::size_t>(first + src)]));
    for (std::size_t i = 0; i < order.size(); ++i)
        sheet.m_rows[static_cast<std::size_t>(first) + i] = std::move(moved[i]);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int row = first + static_cast<int>(i);
        for (const Sheet::Cell &c : sheet.m_rows[static_cast<std::size_t>(row)])
            if (c.formula)
                sheet.m_slots[c.formula - 1].row = row;
    }
    sheet.rebuildDepIndex();
}

} // namespace vantor
