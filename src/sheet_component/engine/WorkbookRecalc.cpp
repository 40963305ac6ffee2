// Recalculation of the workbook's formulas.
//
// A change marks the formulas that depend on the changed cells dirty, transitively: static
// references are found through each sheet's per-column index, getcell reads through the map of
// cells each getcell formula read at its last evaluation. The dirty formulas are then evaluated
// in sheet/row/column order; a formula that reads a dirty formula evaluates that one first, so
// the order of dependencies is kept without a separate sort, and reading a formula that is still
// being evaluated is a cycle and yields #CYCLE!.

#include "sheet_component/engine/SheetEdit.h"
#include "sheet_component/engine/Workbook.h"

#include <algorithm>
#include <cmath>

namespace vantor {

namespace {
// Deepest chain of formulas evaluated through one another on the stack. A deeper chain is
// unwound and restarted from the formula at the limit, so long chains (which only arise when a
// chain runs up the sheet: dirty formulas are evaluated top to bottom) cost a few restarts, not
// the stack. Restarts are bounded; past the bound the limit yields #CYCLE!, so a huge cycle
// cannot keep the engine busy for ever.
constexpr std::size_t MaxEvalDepth = 200;

struct DeferEvaluation {
    Sheet *sheet;
    std::uint32_t slot;
};
// Above this many changed cells a change is matched against the formulas instead of the other
// way round.
constexpr long LargeChange = 4096;
} // namespace

class RecalcContext : public FormulaContext {
public:
    explicit RecalcContext(Workbook &wb) : m_wb(wb) {}
    CellValue value(int sheet, int col, int row) const override { return m_wb.readForFormula(sheet, col, row); }
    int sheetCount() const override { return m_wb.SheetCount(); }

private:
    Workbook &m_wb;
};

std::size_t Workbook::CellKeyHash::operator()(const CellKey &k) const
{
    std::size_t h = std::hash<const void *>{}(k.sheet);
    h ^= static_cast<std::size_t>(k.col) * 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    h ^= static_cast<std::size_t>(k.row) * 0xc2b2ae3d27d4eb4fULL + (h << 6) + (h >> 2);
    return h;
}

std::size_t Workbook::FormulaKeyHash::operator()(const FormulaKey &k) const
{
    std::size_t h = std::hash<const void *>{}(k.sheet);
    h ^= static_cast<std::size_t>(k.slot) * 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h;
}

void Workbook::markDependents(Sheet &sheet, int col, int row, std::vector<FormulaKey> &queue)
{
    thread_local std::vector<std::uint32_t> found;
    found.clear();
    sheet.dependentsOf(col, row, found);
    for (std::uint32_t slot : found) {
        Sheet::FormulaSlot &s = sheet.m_slots[slot];
        if (s.used && s.state == Sheet::Clean) {
            s.state = Sheet::Dirty;
            queue.push_back({&sheet, slot});
        }
    }
    if (m_readers.empty())
        return;
    auto it = m_readers.find(CellKey{&sheet, col, row});
    if (it == m_readers.end())
        return;
    for (const FormulaKey &k : it->second) {
        Sheet::FormulaSlot &s = k.sheet->m_slots[k.slot];
        if (s.used && s.state == Sheet::Clean) {
            s.state = Sheet::Dirty;
            queue.push_back(k);
        }
    }
}

void Workbook::cellsChanged(Sheet &sheet, const CellRange &range)
{
    if (range.isEmpty())
        return;
    std::vector<FormulaKey> dirty;
    auto markSlot = [&](Sheet &s, std::uint32_t slot) {
        Sheet::FormulaSlot &f = s.m_slots[slot];
        if (f.used && f.state != Sheet::Evaluating) {
            // New formulas are dirty but not queued yet; runRecalc drops duplicates.
            dirty.push_back({&s, slot});
            f.state = Sheet::Dirty;
        }
    };
    const long cells = static_cast<long>(range.colCount()) * range.rowCount();
    if (cells <= LargeChange) {
        for (int row = range.row1; row <= range.row2; ++row)
            for (int col = range.col1; col <= range.col2; ++col) {
                const Sheet::Cell *c = sheet.cellPtr(col, row);
                if (c && c->formula)
                    markSlot(sheet, c->formula - 1);
                markDependents(sheet, col, row, dirty);
            }
    } else {
        for (std::uint32_t i = 0; i < sheet.m_slots.size(); ++i) {
            const Sheet::FormulaSlot &f = sheet.m_slots[i];
            if (!f.used)
                continue;
            bool hit = range.contains(f.col, f.row);
            if (!hit && f.formula)
                for (const RangeRef &r : f.formula->references())
                    if (range.intersects(CellRange{r.col1, r.row1, r.col2, r.row2})) {
                        hit = true;
                        break;
                    }
            if (hit)
                markSlot(sheet, i);
        }
        for (const auto &[key, readers] : m_readers)
            if (key.sheet == &sheet && range.contains(key.col, key.row))
                for (const FormulaKey &k : readers)
                    markSlot(*k.sheet, k.slot);
    }
    runRecalc(dirty);
}

void Workbook::structureChanged(Sheet &sheet, const std::vector<std::uint32_t> &changedSlots)
{
    std::vector<FormulaKey> dirty;
    auto mark = [&](Sheet &s, std::uint32_t slot) {
        Sheet::FormulaSlot &f = s.m_slots[slot];
        if (f.used && f.state == Sheet::Clean) {
            f.state = Sheet::Dirty;
            dirty.push_back({&s, slot});
        }
    };
    for (std::uint32_t slot : changedSlots)
        mark(sheet, slot);
    // New formulas (restored cells) are dirty already; collect them too.
    for (std::uint32_t i = 0; i < sheet.m_slots.size(); ++i)
        if (sheet.m_slots[i].used && sheet.m_slots[i].state == Sheet::Dirty)
            dirty.push_back({&sheet, i});
    // getcell reads of this sheet name absolute positions, whose content has moved.
    std::vector<FormulaKey> readers;
    for (auto it = m_readers.begin(); it != m_readers.end();) {
        if (it->first.sheet == &sheet) {
            readers.insert(readers.end(), it->second.begin(), it->second.end());
            it = m_readers.erase(it);
        } else {
            ++it;
        }
    }
    for (const FormulaKey &k : readers)
        mark(*k.sheet, k.slot);
    std::sort(dirty.begin(), dirty.end(), [](const FormulaKey &a, const FormulaKey &b) {
        return a.sheet != b.sheet ? std::less<const Sheet *>()(a.sheet, b.sheet) : a.slot < b.slot;
    });
    dirty.erase(std::unique(dirty.begin(), dirty.end()), dirty.end());
    runRecalc(dirty);
}

void Workbook::contentReplaced(Sheet &sheet)
{
    // Slot numbers now name other formulas: forget what this sheet's formulas read.
    for (auto it = m_reads.begin(); it != m_reads.end();) {
        if (it->first.sheet == &sheet) {
            for (const CellKey &ck : it->second) {
                auto r = m_readers.find(ck);
                if (r == m_readers.end())
                    continue;
                auto &v = r->second;
                v.erase(std::remove(v.begin(), v.end(), it->first), v.end());
                if (v.empty())
                    m_readers.erase(r);
            }
            it = m_reads.erase(it);
        } else {
            ++it;
        }
    }
    for (Sheet::FormulaSlot &f : sheet.m_slots)
        if (f.used)
            f.state = Sheet::Dirty;
    structureChanged(sheet, {});
}

void Workbook::sheetsReordered()
{
    // getcell names sheets by position: every getcell formula may now read another sheet.
    std::vector<FormulaKey> dirty;
    for (auto &sp : m_sheets)
        for (std::uint32_t i = 0; i < sp->m_slots.size(); ++i) {
            Sheet::FormulaSlot &f = sp->m_slots[i];
            if (f.used && f.formula && f.formula->hasGetcell() && f.state == Sheet::Clean) {
                f.state = Sheet::Dirty;
                dirty.push_back({sp.get(), i});
            }
        }
    runRecalc(dirty);
}

void Workbook::forgetDynamicReads(const FormulaKey &key)
{
    auto it = m_reads.find(key);
    if (it == m_reads.end())
        return;
    for (const CellKey &ck : it->second) {
        auto r = m_readers.find(ck);
        if (r == m_readers.end())
            continue;
        auto &v = r->second;
        v.erase(std::remove(v.begin(), v.end(), key), v.end());
        if (v.empty())
            m_readers.erase(r);
    }
    m_reads.erase(it);
}

void Workbook::forgetSheet(const Sheet *sheet)
{
    for (auto it = m_reads.begin(); it != m_reads.end();) {
        if (it->first.sheet == sheet)
            it = m_reads.erase(it);
        else
            ++it;
    }
    for (auto it = m_readers.begin(); it != m_readers.end();) {
        if (it->first.sheet == sheet) {
            it = m_readers.erase(it);
            continue;
        }
        auto &v = it->second;
        v.erase(std::remove_if(v.begin(), v.end(), [sheet](const FormulaKey &k) { return k.sheet == sheet; }), v.end());
        if (v.empty())
            it = m_readers.erase(it);
        else
            ++it;
    }
    // m_reads of other formulas may still list cells of the sheet; they are dropped when those
    // formulas are next evaluated, and sheetsReordered() re-evaluates every getcell formula.
}

void Workbook::runRecalc(std::vector<FormulaKey> &dirty)
{
    m_lastRecalcCount = 0;
    if (dirty.empty())
        return;
    // Spread to everything that depends on the dirty formulas.
    for (std::size_t i = 0; i < dirty.size(); ++i) {
        const FormulaKey k = dirty[i];
        const Sheet::FormulaSlot &f = k.sheet->m_slots[k.slot];
        if (f.used)
            markDependents(*k.sheet, f.col, f.row, dirty);
    }
    // A chain of n formulas needs about 2n / MaxEvalDepth restarts.
    m_restartLimit = 2 * dirty.size() / MaxEvalDepth + 16;
    std::vector<std::pair<int, FormulaKey>> order;
    order.reserve(dirty.size());
    for (const FormulaKey &k : dirty)
        order.push_back({indexOf(k.sheet), k});
    std::sort(order.begin(), order.end(), [](const auto &a, const auto &b) {
        if (a.first != b.first)
            return a.first < b.first;
        if (a.second.sheet != b.second.sheet)
            return std::less<const Sheet *>()(a.second.sheet, b.second.sheet);
        const Sheet::FormulaSlot &fa = a.second.sheet->m_slots[a.second.slot];
        const Sheet::FormulaSlot &fb = b.second.sheet->m_slots[b.second.slot];
        if (fa.row != fb.row)
            return fa.row < fb.row;
        return fa.col != fb.col ? fa.col < fb.col : a.second.slot < b.second.slot;
    });
    order.erase(
        std::unique(order.begin(), order.end(), [](const auto &a, const auto &b) { return a.second == b.second; }),
        order.end());
    for (const auto &[index, key] : order) {
        if (index < 0) {
            // A sheet no longer in the workbook: leave it clean, it is recomputed on return.
            key.sheet->m_slots[key.slot].state = Sheet::Clean;
            continue;
        }
        std::vector<FormulaKey> pending{key};
        while (!pending.empty()) {
            const FormulaKey k = pending.back();
            if (k.sheet->m_slots[k.slot].state != Sheet::Dirty) {
                pending.pop_back();
                continue;
            }
            try {
                evaluateSlot(*k.sheet, k.slot);
                pending.pop_back();
            } catch (const DeferEvaluation &deferred) {
                ++m_restarts;
                pending.push_back({deferred.sheet, deferred.slot});
            }
        }
    }
    m_restarts = 0;
}

CellValue Workbook::evaluateSlot(Sheet &sheet, std::uint32_t slot)
{
    Sheet::FormulaSlot &f = sheet.m_slots[slot];
    if (!f.used)
        return CellValue();
    const FormulaKey key{&sheet, slot};
    f.state = Sheet::Evaluating;
    forgetDynamicReads(key);
    CellValue result;
    if (!f.formula) {
        result = CellValue::error(CellError::Parse);
    } else {
        m_evalStack.push_back(key);
        RecalcContext ctx(*this);
        try {
            // m_slots does not grow during recalculation, so the formula stays in place.
            result = sheet.m_slots[slot].formula->evaluate(ctx, indexOf(&sheet));
        } catch (...) {
            m_evalStack.pop_back();
            sheet.m_slots[slot].state = Sheet::Dirty;
            throw;
        }
        m_evalStack.pop_back();
    }
    Sheet::FormulaSlot &g = sheet.m_slots[slot];
    g.state = Sheet::Clean;
    if (result.isNumber() && !std::isfinite(result.number()))
        result = CellValue::error(CellError::Value);
    if (sheet.isValid(g.col, g.row))
        sheet.setCellValue(sheet.cellRef(g.col, g.row), result);
    ++m_lastRecalcCount;
    return result;
}

CellValue Workbook::readForFormula(int sheetIndex, int col, int row)
{
    if (sheetIndex < 0 || sheetIndex >= SheetCount())
        return CellValue();
    Sheet &sheet = *m_sheets[static_cast<std::size_t>(sheetIndex)];
    if (!m_evalStack.empty()) {
        const FormulaKey reader = m_evalStack.back();
        const Sheet::FormulaSlot &rf = reader.sheet->m_slots[reader.slot];
        if (rf.formula && rf.formula->hasGetcell()) {
            bool covered = false;
            if (reader.sheet == &sheet)
                for (const RangeRef &r : rf.formula->references())
                    if (col >= r.col1 && col <= r.col2 && row >= r.row1 && row <= r.row2) {
                        covered = true;
                        break;
                    }
            if (!covered) {
                const CellKey ck{&sheet, col, row};
                auto &reads = m_reads[reader];
                if (std::find(reads.begin(), reads.end(), ck) == reads.end()) {
                    reads.push_back(ck);
                    m_readers[ck].push_back(reader);
                }
            }
        }
    }
    const Sheet::Cell *c = sheet.cellPtr(col, row);
    if (!c)
        return CellValue();
    if (c->formula) {
        const std::uint32_t slot = c->formula - 1;
        const Sheet::SlotState state = sheet.m_slots[slot].state;
        if (state == Sheet::Evaluating)
            return CellValue::error(CellError::Cycle);
        if (state == Sheet::Dirty) {
            if (m_evalStack.size() >= MaxEvalDepth) {
                if (m_restarts < m_restartLimit)
                    throw DeferEvaluation{&sheet, slot};
                return CellValue::error(CellError::Cycle);
            }
            return evaluateSlot(sheet, slot);
        }
        c = sheet.cellPtr(col, row);
    }
    return sheet.cellValue(*c);
}

void Workbook::recalculateAll()
{
    m_reads.clear();
    m_readers.clear();
    std::vector<FormulaKey> dirty;
    for (auto &sp : m_sheets) {
        sp->rebuildDepIndex();
        for (std::uint32_t i = 0; i < sp->m_slots.size(); ++i)
            if (sp->m_slots[i].used) {
                sp->m_slots[i].state = Sheet::Dirty;
                dirty.push_back({sp.get(), i});
            }
    }
    runRecalc(dirty);
}

} // namespace vantor
