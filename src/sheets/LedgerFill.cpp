#include "sheets/LedgerFill.h"

#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailCellEdits.h"
#include "sheets/DetailLayouts.h"
#include "sheets/RowFormulas.h"
#include "sheets/SheetCatalogue.h"
#include "sheets/UnfrozenScope.h"

#include <algorithm>

namespace vantor {

std::vector<std::string> LedgerFill::splitLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\t') {
            fields.emplace_back();
        } else if (c == '\\' && i + 1 < line.size()) {
            const char next = line[i + 1];
            const char plain = next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next == '\\' ? '\\' : 0;
            if (plain) {
                fields.back() += plain;
                ++i;
            } else {
                fields.back() += c;
            }
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

LedgerFill::Rows LedgerFill::read(std::istream &in)
{
    Rows rows;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        first = false;
        rows.push_back(splitLine(line));
    }
    return rows;
}

int LedgerFill::firstEditableRow(int id)
{
    return id == SheetCatalogue::ContraSheetId ? DetailLayouts::ContraFirstRow : DetailLayouts::FirstDataRow;
}

std::optional<std::string> LedgerFill::check(const Workbook &workbook, int id, int firstRow, const Rows &rows)
{
    if (firstRow < firstEditableRow(id))
        return "第" + std::to_string(firstRow + 1) + "行是表头或合计行，数据只能从第" +
               std::to_string(firstEditableRow(id) + 1) + "行开始填入。";
    const long last = static_cast<long>(firstRow) + static_cast<long>(rows.size()) - 1;
    if (last >= MaxRows)
        return "数据共" + std::to_string(rows.size()) + "行，从第" + std::to_string(firstRow + 1) +
               "行填入将超过明细表最多" + std::to_string(MaxRows) + "行的限制。";
    const int cols = workbook.Cols();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = firstRow + static_cast<int>(i);
        for (std::size_t f = 0; f < rows[i].size(); ++f) {
            if (rows[i][f].empty())
                continue;
            const int col = static_cast<int>(f);
            if (col >= cols)
                return "第" + std::to_string(i + 1) + "行数据有" + std::to_string(rows[i].size()) + "列，本表只有" +
                       std::to_string(cols) + "列。";
            if (!DetailCellEdits::mayEditCell(id, col, row))
                return "第" + std::to_string(i + 1) + "行第" + std::to_string(col + 1) +
                       "列是表中固定的内容，不能填入。";
        }
    }
    return std::nullopt;
}

LedgerFill::Result LedgerFill::fill(Workbook &workbook, int id, int firstRow, const Rows &rows, bool freezeHeadings)
{
    Result result;
    UndoGroup group(workbook);
    const bool rowFormulas = RowFormulas::recomputesRows(id);
    bool dataRowTyped = false;
    for (std::size_t i = 0; i < rows.size() && !dataRowTyped; ++i)
        if (firstRow + static_cast<int>(i) >= DetailLayouts::FirstDataRow)
            dataRowTyped = std::any_of(rows[i].begin(), rows[i].end(), [](const std::string &f) { return !f.empty(); });
    {
        UnfrozenScope unfrozen(workbook, freezeHeadings);
        // Without the total row's formulas, writing a cell does not recalculate a sum over the
        // whole sheet; they are written again once at the end.
        for (int c = 0; dataRowTyped && c < workbook.Cols(); ++c)
            if (rowFormulas || DetailLayouts::isSummedColumn(id, c))
                workbook.DoClearCellFormula(c, DetailLayouts::TotalRow);
        const int needed = firstRow + static_cast<int>(rows.size());
        if (needed > workbook.Rows())
            workbook.SetRows(needed);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int row = firstRow + static_cast<int>(i);
            bool outOfRange = false;
            for (std::size_t f = 0; f < rows[i].size(); ++f) {
                const std::string &field = rows[i][f];
                if (field.empty())
                    continue;
                const int col = static_cast<int>(f);
                workbook.setCellInput(col, row, field);
                ++result.cells;
                if (row < DetailLayouts::FirstDataRow)
                    continue;
                if (rowFormulas && !RowFormulas::applyRowRules(workbook, id, row, col))
                    outOfRange = true;
            }
            if (outOfRange)
                ++result.outOfRangeRows;
        }
    }
    if (dataRowTyped) {
        RowFormulas::writeTotalSums(workbook, id, freezeHeadings);
        if (rowFormulas && id != 74)
            RowFormulas::writeTotalRate(workbook, id);
    }
    result.rows = static_cast<int>(rows.size());
    result.sheetRows = workbook.Rows();
    return result;
}

} // namespace vantor
