#include "sheets/DetailEditCommands.h"

#include "common/Prompter.h"
#include "common/Rounding.h"
#include "sheet_component/engine/SortOrder.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailCellEdits.h"
#include "sheets/DetailLayouts.h"
#include "sheets/RowFormulas.h"
#include "sheets/RowRecomputeBatch.h"
#include "sheets/SheetCatalogue.h"
#include "sheets/UnfrozenScope.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace vantor {
namespace {

constexpr int TotalRow = DetailLayouts::TotalRow;
constexpr int FirstDataRow = DetailLayouts::FirstDataRow;

// First row a row command may touch: 表11 keeps its contra rows 1 … 4 in place.
int firstMovableRow(int id)
{
    return id == SheetCatalogue::ContraSheetId ? 5 : FirstDataRow;
}

// The selection cut to the sheet.
CellRange clipped(const Workbook &workbook, CellRange sel)
{
    sel = CellRange::normalized(sel.col1, sel.row1, sel.col2, sel.row2);
    sel.col1 = std::max(sel.col1, 0);
    sel.row1 = std::max(sel.row1, 0);
    sel.col2 = std::min(sel.col2, workbook.Cols() - 1);
    sel.row2 = std::min(sel.row2, workbook.Rows() - 1);
    return sel;
}

// Number of a value: numbers and texts that read as a number in full.
std::optional<double> numericValue(const CellValue &v)
{
    if (v.isNumber())
        return v.number();
    if (!v.isText())
        return std::nullopt;
    std::string_view t = v.text();
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    if (t.empty())
        return std::nullopt;
    double x = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), x);
    if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(x))
        return std::nullopt;
    return x;
}

// Turns the summed total-row cells into plain values before rows or columns move.
void removeTotalFormulas(Workbook &workbook, int id)
{
    for (int c = 2; c < workbook.Cols(); ++c)
        if (DetailLayouts::isSummedColumn(id, c))
            workbook.DoClearCellFormula(c, TotalRow);
}

// Turns every total-row formula into its value (the commands that rewrite many data cells).
void removeAllTotalFormulas(Workbook &workbook, int id)
{
    if (id == SheetCatalogue::ContraSheetId)
        return;
    for (int c = 0; c < workbook.Cols(); ++c)
        workbook.DoClearCellFormula(c, TotalRow);
}

// The total row's sums and rate, as the row recomputation writes them.
void rebuildTotals(Workbook &workbook, int id, bool freezeHeadings)
{
    if (id == SheetCatalogue::ContraSheetId)
        return;
    RowFormulas::rebuildTotalRow(workbook, id, freezeHeadings);
}

// Cell writes of one command recomputed as typed-and-left edits. 表11 has no total row, so
// its writes stay plain.
class EditedCells {
public:
    EditedCells(Workbook &workbook, int id, bool freezeHeadings)
    {
        if (id != SheetCatalogue::ContraSheetId)
            m_batch.emplace(workbook, id, freezeHeadings);
    }
    void edited(int row, int col)
    {
        if (m_batch)
            m_batch->cellEdited(row, col);
    }
    void finish()
    {
        if (m_batch)
            m_batch->finish();
    }

private:
    std::optional<RowRecomputeBatch> m_batch;
};

} // namespace

NumberRequest DetailEditCommands::rowCountRequest(int currentRows)
{
    return {"设置表行数", "明细表行数为：", MinRows, MaxRows, currentRows};
}

NumberRequest DetailEditCommands::rowHeightRequest(int currentHeight)
{
    return {"设置行高", "请输入行高数值：", 15, 255, currentHeight};
}

NumberRequest DetailEditCommands::columnWidthRequest(int currentWidth)
{
    return {"设置列宽", "请输入列宽数值：", 15, 255, currentWidth};
}

bool DetailEditCommands::insertRows(Workbook &workbook, int id, CellRange selection, bool freezeHeadings)
{
    const CellRange sel = CellRange::normalized(selection.col1, selection.row1, selection.col2, selection.row2);
    const int guardRow = firstMovableRow(id);
    if (sel.row1 < guardRow || sel.row1 > workbook.Rows())
        return false;
    const int rows = workbook.Rows();
    if (rows >= MaxRows)
        return false;
    // Inserting only as many rows as fit keeps the rows at the end of the sheet, which cutting
    // the sheet back to the limit afterwards would throw away.
    const int count = std::min(sel.rowCount(), MaxRows - rows);
    UndoGroup group(workbook);
    {
        UnfrozenScope unfrozen(workbook, freezeHeadings);
        removeTotalFormulas(workbook, id);
        workbook.DoInsertRows(sel.row1, count);
    }
    rebuildTotals(workbook, id, freezeHeadings);
    return true;
}

bool DetailEditCommands::insertColumn(Workbook &workbook, int id, Prompter &prompter, bool freezeHeadings)
{
    if (workbook.Cols() >= MaxCols) {
        prompter.message(TooManyColumns, Title, MessageIcon::Information);
        return false;
    }
    // A column among the sequence and data columns would shift every money column away from
    // the place the row formulas and the totals read it.
    if (workbook.CurrentCol() <= DetailLayouts::dataColumnCount(id)) {
        prompter.message(InsertAmongBuiltInColumns, Title, MessageIcon::Critical);
        return false;
    }
    UndoGroup group(workbook);
    removeTotalFormulas(workbook, id);
    workbook.DoInsertCols(1);
    rebuildTotals(workbook, id, freezeHeadings);
    return true;
}

bool DetailEditCommands::deleteRows(Workbook &workbook, int id, CellRange selection, bool freezeHeadings)
{
    const int guardRow = firstMovableRow(id);
    const CellRange sel = clipped(workbook, selection);
    if (sel.row1 < guardRow || sel.isEmpty())
        return false;
    UndoGroup group(workbook);
    if (id == SheetCatalogue::ContraSheetId) {
        workbook.DoDeleteRows(sel.row1, sel.rowCount());
        if (workbook.Rows() < MinRows)
            workbook.SetRows(MinRows);
        return true;
    }
    {
        UnfrozenScope unfrozen(workbook, freezeHeadings);
        removeTotalFormulas(workbook, id);
        workbook.DoDeleteRows(sel.row1, sel.rowCount());
        if (workbook.Rows() < MinRows)
            workbook.SetRows(MinRows);
    }
    rebuildTotals(workbook, id, freezeHeadings);
    return true;
}

bool DetailEditCommands::deleteColumns(Workbook &workbook, int id, CellRange selection, Prompter &prompter,
                                       bool freezeHeadings)
{
    const CellRange sel = clipped(workbook, selection);
    if (sel.col1 <= DetailLayouts::dataColumnCount(id)) {
        prompter.message(BuiltInColumns, Title, MessageIcon::Critical);
        return false;
    }
    if (sel.isEmpty())
        return false;
    UndoGroup group(workbook);
    removeTotalFormulas(workbook, id);
    workbook.DoDeleteCols(sel.col1, sel.colCount());
    rebuildTotals(workbook, id, freezeHeadings);
    return true;
}

bool DetailEditCommands::setRowCount(Workbook &workbook, int id, const NumberEntry &entry, Prompter &prompter,
                                     bool freezeHeadings)
{
    int value = entry(rowCountRequest(workbook.Rows()));
    if (value == 0)
        return false;
    value = std::clamp(value, MinRows, MaxRows);
    if (value == workbook.Rows())
        return false;
    if (value < workbook.Rows() &&
        prompter.question(FewerRowsQuestion, Title, QuestionButtons::YesNo, MessageIcon::Warning) != Answer::Yes)
        return false;
    UndoGroup group(workbook);
    {
        UnfrozenScope unfrozen(workbook, freezeHeadings);
        removeTotalFormulas(workbook, id);
        workbook.SetRows(value);
    }
    // The sums of the total row name their last row; they follow the new size at once.
    rebuildTotals(workbook, id, freezeHeadings);
    return true;
}

bool DetailEditCommands::setRowHeight(Workbook &workbook, CellRange selection, const NumberEntry &entry)
{
    const CellRange sel = clipped(workbook, selection);
    if (sel.isEmpty())
        return false;
    const int value = entry(rowHeightRequest(workbook.DoGetRowHeight(sel.row1)));
    if (value <= 0)
        return false;
    UndoGroup group(workbook);
    workbook.DoSetRowHeightRange(sel.row1, sel.row2, value, 0);
    return true;
}

bool DetailEditCommands::bestRowHeight(Workbook &workbook, CellRange selection)
{
    const CellRange sel = clipped(workbook, selection);
    if (sel.isEmpty())
        return false;
    UndoGroup group(workbook);
    bool changed = false;
    for (int row = sel.row1; row <= sel.row2; ++row) {
        const int h = workbook.DoGetBestRowHeight(row);
        if (h > 0 && h != workbook.DoGetRowHeight(row)) {
            workbook.DoSetRowHeight(row, h);
            changed = true;
        }
    }
    return changed;
}

bool DetailEditCommands::setColumnWidth(Workbook &workbook, CellRange selection, const NumberEntry &entry)
{
    const CellRange sel = clipped(workbook, selection);
    if (sel.isEmpty())
        return false;
    const int value = entry(columnWidthRequest(workbook.DoGetColWidth(sel.col1)));
    if (value <= 0)
        return false;
    UndoGroup group(workbook);
    workbook.DoSetColWidthRange(sel.col1, sel.col2, value, 0);
    return true;
}

bool DetailEditCommands::bestColumnWidth(Workbook &workbook, CellRange selection)
{
    const CellRange sel = clipped(workbook, selection);
    if (sel.isEmpty())
        return false;
    UndoGroup group(workbook);
    bool changed = false;
    for (int col = sel.col1; col <= sel.col2; ++col) {
        const int w = workbook.DoGetBestColWidth(col);
        if (w > 0 && w != workbook.DoGetColWidth(col)) {
            workbook.DoSetColWidth(col, w);
            changed = true;
        }
    }
    return changed;
}

double DetailEditCommands::sequenceStart(const CellValue &value)
{
    if (auto x = numericValue(value))
        return roundHalfEven(*x, 0);
    return 1;
}

bool DetailEditCommands::userMayWrite(const Workbook &workbook, int id, int col, int row)
{
    return DetailCellEdits::mayEditCell(id, col, row) && !workbook.DoGetCellLock(col, row);
}

bool DetailEditCommands::fill(Workbook &workbook, int id, CellRange selection, FillDirection direction,
                              bool freezeHeadings)
{
    CellRange sel = clipped(workbook, selection);
    sel.row1 = std::max(sel.row1, FirstDataRow);
    if (sel.isEmpty() || (sel.rowCount() == 1 && sel.colCount() == 1))
        return false;

    UndoGroup group(workbook);
    EditedCells cells(workbook, id, freezeHeadings);
    auto write = [&](int col, int row, const CellValue &v) {
        if (!userMayWrite(workbook, id, col, row))
            return;
        workbook.DoSetCellData(col, row, v);
        workbook.DoRedrawCell(col, row);
        cells.edited(row, col);
    };
    switch (direction) {
    case FillDirection::Down:
        for (int c = sel.col1; c <= sel.col2; ++c) {
            const CellValue v = workbook.DoGetCellData(c, sel.row1);
            for (int r = sel.row1 + 1; r <= sel.row2; ++r)
                write(c, r, v);
        }
        break;
    case FillDirection::Up:
        for (int c = sel.col1; c <= sel.col2; ++c) {
            const CellValue v = workbook.DoGetCellData(c, sel.row2);
            for (int r = sel.row1; r < sel.row2; ++r)
                write(c, r, v);
        }
        break;
    case FillDirection::Right:
        for (int r = sel.row1; r <= sel.row2; ++r) {
            const CellValue v = workbook.DoGetCellData(sel.col1, r);
            for (int c = sel.col1 + 1; c <= sel.col2; ++c)
                write(c, r, v);
        }
        break;
    case FillDirection::Left:
        for (int r = sel.row1; r <= sel.row2; ++r) {
            const CellValue v = workbook.DoGetCellData(sel.col2, r);
            for (int c = sel.col1; c < sel.col2; ++c)
                write(c, r, v);
        }
        break;
    case FillDirection::Repeat: {
        const CellValue v = workbook.DoGetCellData(sel.col1, sel.row1);
        for (int r = sel.row1; r <= sel.row2; ++r)
            for (int c = sel.col1; c <= sel.col2; ++c)
                if (r != sel.row1 || c != sel.col1)
                    write(c, r, v);
        break;
    }
    case FillDirection::Sequence:
        for (int c = sel.col1; c <= sel.col2; ++c) {
            double n = sequenceStart(workbook.DoGetCellData(c, sel.row1));
            for (int r = sel.row1 + 1; r <= sel.row2; ++r) {
                n += 1;
                write(c, r, CellValue::number(n));
            }
        }
        break;
    }
    cells.finish();
    return true;
}

bool DetailEditCommands::clearContents(Workbook &workbook, int id, CellRange selection, Prompter &prompter,
                                       bool freezeHeadings)
{
    const CellRange sel = clipped(workbook, selection);
    if (sel.row1 < FirstDataRow || sel.isEmpty())
        return false;
    if (prompter.question(ClearQuestion, Title, QuestionButtons::YesNo, MessageIcon::Warning) != Answer::Yes)
        return false;
    UndoGroup group(workbook);
    // A cleared cell counts as typed empty and left: the derived cells of its row follow.
    EditedCells cells(workbook, id, freezeHeadings);
    for (int r = sel.row1; r <= sel.row2; ++r)
        for (int c = sel.col1; c <= sel.col2; ++c) {
            if (!userMayWrite(workbook, id, c, r))
                continue;
            // An empty cell stays as it was: only what held something is recomputed.
            const bool held = !workbook.DoGetCellData(c, r).isEmpty();
            workbook.DoClearCell(c, r, ClearContents);
            workbook.DoRedrawCell(c, r);
            if (held)
                cells.edited(r, c);
        }
    cells.finish();
    return true;
}

bool DetailEditCommands::sort(Workbook &workbook, int id, CellRange selection, int keyColumn, bool ascending,
                              Prompter &prompter, bool freezeHeadings)
{
    CellRange sel = clipped(workbook, selection);
    sel.row1 = std::max(sel.row1, firstMovableRow(id));
    if (sel.row1 >= sel.row2 || keyColumn < 0 || keyColumn >= workbook.Cols())
        return false;
    const int n = sel.rowCount();
    if (n > MaxSortRows) {
        prompter.message(SortLimit, Title, MessageIcon::Information);
        return false;
    }
    const int cols = workbook.Cols();

    std::vector<CellValue> values(static_cast<std::size_t>(n) * static_cast<std::size_t>(cols));
    auto at = [&](int i, int c) -> CellValue & {
        return values[static_cast<std::size_t>(i) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)];
    };
    for (int i = 0; i < n; ++i)
        for (int c = 0; c < cols; ++c)
            at(i, c) = workbook.DoGetCellData(c, sel.row1 + i);

    std::vector<CellValue> keys;
    keys.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        keys.push_back(at(i, keyColumn));
    const std::vector<int> order = SortOrder::of(keys, ascending);

    UndoGroup group(workbook);
    {
        UnfrozenScope unfrozen(workbook, freezeHeadings);
        removeAllTotalFormulas(workbook, id);
        for (int i = 0; i < n; ++i) {
            const int from = order[static_cast<std::size_t>(i)];
            if (from == i)
                continue;
            for (int c = 0; c < cols; ++c)
                workbook.DoSetCellData(c, sel.row1 + i, at(from, c));
        }
    }
    rebuildTotals(workbook, id, freezeHeadings);
    return true;
}

bool DetailEditCommands::convertSigns(Workbook &workbook, int id, CellRange selection, bool freezeHeadings)
{
    CellRange sel = clipped(workbook, selection);
    sel.row1 = std::max(sel.row1, id == SheetCatalogue::ContraSheetId ? DetailLayouts::ContraFirstRow : FirstDataRow);
    if (sel.isEmpty())
        return false;
    UndoGroup group(workbook);
    bool changed = false;
    {
        UnfrozenScope unfrozen(workbook, freezeHeadings);
        // The values are read before any row is recomputed: a derived cell in the selection
        // is converted from what it held, not from what the recomputation of its row just
        // wrote there, which would turn its sign back.
        struct Conversion {
            int row, col;
            double value;
        };
        std::vector<Conversion> conversions;
        for (int r = sel.row1; r <= sel.row2; ++r)
            for (int c = sel.col1; c <= sel.col2; ++c) {
                if (!userMayWrite(workbook, id, c, r))
                    continue;
                if (const auto x = numericValue(workbook.DoGetCellData(c, r)))
                    conversions.push_back({r, c, *x});
            }
        EditedCells cells(workbook, id, freezeHeadings);
        for (const Conversion &conversion : conversions) {
            // 0 - x, so that a zero stays a plain zero rather than -0.
            workbook.DoSetCellData(conversion.col, conversion.row, 0.0 - conversion.value);
            cells.edited(conversion.row, conversion.col);
            changed = true;
        }
        cells.finish();
    }
    return changed;
}

} // namespace vantor
