#include "sheet_component/engine/Sheet.h"

#include <algorithm>

namespace vantor {

Sheet::Sheet(std::string label, int cols, int rows)
    : m_label(std::move(label)), m_cols(std::max(cols, 0)), m_rowCount(std::max(rows, 0)),
      m_rows(static_cast<std::size_t>(m_rowCount)), m_colWidths(static_cast<std::size_t>(m_cols), DefaultColWidth),
      m_rowHeights(static_cast<std::size_t>(m_rowCount), DefaultRowHeight)
{
    static std::uint64_t next = 0;
    m_id = ++next;
}

const Sheet::Cell *Sheet::cellPtr(int col, int row) const
{
    if (!isValid(col, row))
        return nullptr;
    const Row &r = m_rows[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(col) >= r.size())
        return nullptr;
    return &r[static_cast<std::size_t>(col)];
}

Sheet::Cell &Sheet::cellRef(int col, int row)
{
    Row &r = m_rows[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(col) >= r.size())
        r.resize(static_cast<std::size_t>(col) + 1);
    return r[static_cast<std::size_t>(col)];
}

void Sheet::releaseText(Cell &cell)
{
    if (cell.kind == KText) {
        m_texts[cell.text].clear();
        m_texts[cell.text].shrink_to_fit();
        m_freeTexts.push_back(cell.text);
    }
    cell.text = 0;
    cell.kind = KEmpty;
    cell.num = 0;
}

void Sheet::setCellValue(Cell &cell, const CellValue &value)
{
    if (cell.kind == KText && value.isText()) {
        m_texts[cell.text] = value.text();
        return;
    }
    releaseText(cell);
    if (value.isNumber()) {
        cell.kind = KNumber;
        cell.num = value.number();
    } else if (value.isText()) {
        cell.kind = KText;
        if (!m_freeTexts.empty()) {
            cell.text = m_freeTexts.back();
            m_freeTexts.pop_back();
            m_texts[cell.text] = value.text();
        } else {
            cell.text = static_cast<std::uint32_t>(m_texts.size());
            m_texts.push_back(value.text());
        }
    } else if (value.isError()) {
        cell.kind = KError;
        cell.text = static_cast<std::uint32_t>(value.error());
    }
}

CellValue Sheet::cellValue(const Cell &cell) const
{
    switch (cell.kind) {
    case KNumber:
        return CellValue::number(cell.num);
    case KText:
        return CellValue::text(m_texts[cell.text]);
    case KError:
        return CellValue::error(static_cast<CellError>(cell.text));
    default:
        return CellValue();
    }
}

CellValue Sheet::value(int col, int row) const
{
    const Cell *c = cellPtr(col, row);
    return c ? cellValue(*c) : CellValue();
}

bool Sheet::hasFormula(int col, int row) const
{
    const Cell *c = cellPtr(col, row);
    return c && c->formula != 0;
}

std::string Sheet::formulaText(int col, int row) const
{
    const Cell *c = cellPtr(col, row);
    if (!c || c->formula == 0)
        return {};
    const FormulaSlot &slot = m_slots[c->formula - 1];
    return slot.formula ? slot.formula->text() : slot.badText;
}

const Formula *Sheet::formula(int col, int row) const
{
    const Cell *c = cellPtr(col, row);
    if (!c || c->formula == 0)
        return nullptr;
    const FormulaSlot &slot = m_slots[c->formula - 1];
    return slot.formula ? &*slot.formula : nullptr;
}

StyleId Sheet::styleId(int col, int row) const
{
    const Cell *c = cellPtr(col, row);
    return c ? c->style : 0;
}

bool Sheet::isBlank(int col, int row) const
{
    const Cell *c = cellPtr(col, row);
    return !c || (c->kind == KEmpty && c->formula == 0 && c->style == 0);
}

int Sheet::storedCols(int row) const
{
    if (row < 0 || row >= m_rowCount)
        return 0;
    return std::min(static_cast<int>(m_rows[static_cast<std::size_t>(row)].size()), m_cols);
}

int Sheet::lastUsedRow() const
{
    for (int r = m_rowCount - 1; r >= 0; --r) {
        const int n = storedCols(r);
        for (int c = 0; c < n; ++c)
            if (!isBlank(c, r))
                return r;
    }
    return -1;
}

int Sheet::colWidth(int col) const
{
    if (col < 0 || col >= m_cols)
        return DefaultColWidth;
    return m_colWidths[static_cast<std::size_t>(col)];
}

int Sheet::rowHeight(int row) const
{
    if (row < 0 || row >= m_rowCount)
        return DefaultRowHeight;
    return m_rowHeights[static_cast<std::size_t>(row)];
}

std::optional<CellRange> Sheet::mergeAt(int col, int row) const
{
    for (const CellRange &m : m_merges)
        if (m.contains(col, row))
            return m;
    return std::nullopt;
}

// --- formula slots and the dependency index ---

std::uint32_t Sheet::addFormulaSlot(int col, int row, std::optional<Formula> formula, std::string badText)
{
    std::uint32_t slot;
    if (!m_freeSlots.empty()) {
        slot = m_freeSlots.back();
        m_freeSlots.pop_back();
    } else {
        slot = static_cast<std::uint32_t>(m_slots.size());
        m_slots.emplace_back();
    }
    FormulaSlot &s = m_slots[slot];
    s.formula = std::move(formula);
    s.badText = std::move(badText);
    s.col = col;
    s.row = row;
    s.state = Dirty;
    s.used = true;
    indexFormula(slot);
    return slot;
}

void Sheet::removeFormulaSlot(std::uint32_t slot)
{
    unindexFormula(slot);
    m_slots[slot] = FormulaSlot{};
    m_freeSlots.push_back(slot);
}

namespace {
// Ranges reaching this far down go to the per-column wide list instead of the row blocks.
constexpr int MaxIndexedBlock = 4096;
} // namespace

void Sheet::indexFormula(std::uint32_t slot)
{
    const FormulaSlot &s = m_slots[slot];
    if (!s.formula)
        return;
    for (const RangeRef &r : s.formula->references()) {
        if (r.col2 < 0 || r.row2 < 0)
            continue;
        const int c1 = std::max(r.col1, 0);
        if (static_cast<std::size_t>(r.col2) >= m_deps.size())
            m_deps.resize(static_cast<std::size_t>(r.col2) + 1);
        const int b1 = std::max(r.row1, 0) / BlockRows;
        const int b2 = r.row2 / BlockRows;
        const DepEntry entry{r.row1, r.row2, slot};
        for (int c = c1; c <= r.col2; ++c) {
            ColumnDeps &deps = m_deps[static_cast<std::size_t>(c)];
            if (b2 - b1 > 2 || b2 > MaxIndexedBlock) {
                deps.wide.push_back(entry);
                continue;
            }
            if (static_cast<std::size_t>(b2) >= deps.blocks.size())
                deps.blocks.resize(static_cast<std::size_t>(b2) + 1);
            for (int b = b1; b <= b2; ++b)
                deps.blocks[static_cast<std::size_t>(b)].push_back(entry);
        }
    }
}

void Sheet::unindexFormula(std::uint32_t slot)
{
    const FormulaSlot &s = m_slots[slot];
    if (!s.formula)
        return;
    auto drop = [slot](std::vector<DepEntry> &v) {
        v.erase(std::remove_if(v.begin(), v.end(), [slot](const DepEntry &e) { return e.slot == slot; }), v.end());
    };
    for (const RangeRef &r : s.formula->references()) {
        if (r.col2 < 0 || r.row2 < 0)
            continue;
        const int b1 = std::max(r.row1, 0) / BlockRows;
        const int b2 = r.row2 / BlockRows;
        for (int c = std::max(r.col1, 0); c <= r.col2 && static_cast<std::size_t>(c) < m_deps.size(); ++c) {
            ColumnDeps &deps = m_deps[static_cast<std::size_t>(c)];
            if (b2 - b1 > 2 || b2 > MaxIndexedBlock) {
                drop(deps.wide);
                continue;
            }
            for (int b = b1; b <= b2 && static_cast<std::size_t>(b) < deps.blocks.size(); ++b)
                drop(deps.blocks[static_cast<std::size_t>(b)]);
        }
    }
}

void Sheet::rebuildDepIndex()
{
    m_deps.clear();
    for (std::uint32_t i = 0; i < m_slots.size(); ++i)
        if (m_slots[i].used)
            indexFormula(i);
}

void Sheet::dependentsOf(int col, int row, std::vector<std::uint32_t> &out) const
{
    if (col < 0 || row < 0 || static_cast<std::size_t>(col) >= m_deps.size())
        return;
    const ColumnDeps &deps = m_deps[static_cast<std::size_t>(col)];
    for (const DepEntry &e : deps.wide)
        if (row >= e.row1 && row <= e.row2)
            out.push_back(e.slot);
    const auto b = static_cast<std::size_t>(row / BlockRows);
    if (b < deps.blocks.size())
        for (const DepEntry &e : deps.blocks[b])
            if (row >= e.row1 && row <= e.row2)
                out.push_back(e.slot);
}

void Sheet::resizeRaw(int cols, int rows)
{
    cols = std::max(cols, 0);
    rows = std::max(rows, 0);
    // Cells beyond the new size are dropped with their texts and formulas.
    for (int r = rows; r < m_rowCount; ++r)
        for (Cell &c : m_rows[static_cast<std::size_t>(r)]) {
            releaseText(c);
            if (c.formula)
                removeFormulaSlot(c.formula - 1);
        }
    m_rows.resize(static_cast<std::size_t>(rows));
    m_rowHeights.resize(static_cast<std::size_t>(rows), DefaultRowHeight);
    if (cols < m_cols)
        for (Row &row : m_rows)
            if (row.size() > static_cast<std::size_t>(cols)) {
                for (std::size_t c = static_cast<std::size_t>(cols); c < row.size(); ++c) {
                    releaseText(row[c]);
                    if (row[c].formula)
                        removeFormulaSlot(row[c].formula - 1);
                }
                row.resize(static_cast<std::size_t>(cols));
            }
    m_colWidths.resize(static_cast<std::size_t>(cols), DefaultColWidth);
    m_cols = cols;
    m_rowCount = rows;
}

// --- loading ---

void Sheet::loadCell(int col, int row, const CellValue &value, StyleId style)
{
    if (!isValid(col, row))
        return;
    Cell &c = cellRef(col, row);
    setCellValue(c, value);
    c.style = style;
}

void Sheet::loadFormula(int col, int row, const std::string &text)
{
    if (!isValid(col, row))
        return;
    Cell &c = cellRef(col, row);
    if (c.formula) {
        removeFormulaSlot(c.formula - 1);
        c.formula = 0;
    }
    std::optional<Formula> f = Formula::parse(text);
    std::string bad = f ? std::string() : text;
    // cellRef may not be held across addFormulaSlot: it does not touch m_rows, so it is safe.
    c.formula = addFormulaSlot(col, row, std::move(f), std::move(bad)) + 1;
}

void Sheet::loadColWidth(int col, int width)
{
    if (col >= 0 && col < m_cols)
        m_colWidths[static_cast<std::size_t>(col)] = std::max(width, 0);
}

void Sheet::loadRowHeight(int row, int height)
{
    if (row >= 0 && row < m_rowCount)
        m_rowHeights[static_cast<std::size_t>(row)] = std::max(height, 0);
}

void Sheet::loadMerge(const CellRange &range)
{
    if (!range.isEmpty())
        m_merges.push_back(range);
}

void Sheet::loadFrozenRows(FrozenRows frozen)
{
    m_frozen = frozen;
}

void Sheet::loadPrintSettings(const PrintSettings &settings)
{
    m_print = settings;
}

} // namespace vantor
