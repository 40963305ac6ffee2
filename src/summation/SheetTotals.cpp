#include "summation/SheetTotals.h"

#include "common/Prompter.h"
#include "project/Database.h"
#include "project/DatabaseError.h"
#include "project/ProjectStore.h"
#include "project/Savepoint.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailLayouts.h"
#include "sheets/RowFormulas.h"
#include "sheets/SheetCatalogue.h"

#include <optional>

namespace vantor {

namespace {

constexpr const char *kTitle = "Vantor";

// A total cell as an amount: empty reads as 0, numeric text as its number; text, error
// values and numbers beyond the currency range are problems.
std::optional<Amount> totalCell(const Workbook &workbook, int sheet, int col, int row,
                                std::vector<TotalCellProblem> &problems)
{
    const CellValue v = workbook.DoGetSheetCellData(col, row, sheet);
    std::optional<Amount> amount;
    if (v.isEmpty())
        amount = Amount();
    else if (v.isNumber())
        amount = Amount::fromDouble(v.number());
    else if (v.isText())
        amount = Amount::parse(v.text());
    if (!amount)
        problems.push_back({col, row, workbook.displayText(sheet, col, row)});
    return amount;
}

Amount negated(Amount a, bool &overflow)
{
    try {
        return -a;
    } catch (const AmountOverflow &) {
        overflow = true;
        return a;
    }
}

void readContraRows(const Workbook &workbook, int sheet, SheetTotalsReading &reading)
{
    const ColumnRoles roles = DetailLayouts::ContraRoles;
    for (int row = DetailLayouts::ContraFirstRow; row <= DetailLayouts::ContraLastRow; ++row) {
        const auto id = static_cast<int16_t>(SheetCatalogue::contraRowId(row));
        reading.replacedIds.push_back(id);
        const std::size_t before = reading.problems.size();
        const auto b = totalCell(workbook, sheet, roles.book, row, reading.problems);
        const auto a = totalCell(workbook, sheet, roles.adjusted, row, reading.problems);
        const auto p = totalCell(workbook, sheet, roles.appraised, row, reading.problems);
        if (reading.problems.size() != before)
            continue;
        SheetTotals totals;
        bool overflow = false;
        totals.v1 = negated(*b, overflow);
        totals.v2 = negated(*a, overflow);
        totals.v3 = negated(*p, overflow);
        if (overflow) {
            reading.problems.push_back({roles.book, row, workbook.displayText(sheet, roles.book, row)});
            continue;
        }
        if (!totals.isZero())
            reading.rows.push_back({id, 0, totals});
    }
}

void readTotalRow(const Workbook &workbook, int sheet, int id, SheetTotalsReading &reading)
{
    const ColumnRoles roles = DetailLayouts::columnRoles(id);
    const int row = DetailLayouts::TotalRow;
    reading.replacedIds.push_back(static_cast<int16_t>(id));
    const auto t1 = totalCell(workbook, sheet, roles.book, row, reading.problems);
    const auto t2 = totalCell(workbook, sheet, roles.adjusted, row, reading.problems);
    const auto t3 = totalCell(workbook, sheet, roles.appraised, row, reading.problems);
    std::optional<Amount> t4 = Amount(), t5 = Amount(), t6 = Amount();
    if (roles.hasCost()) {
        t4 = totalCell(workbook, sheet, roles.costBook, row, reading.problems);
        t5 = totalCell(workbook, sheet, roles.costAdjusted, row, reading.problems);
        t6 = totalCell(workbook, sheet, roles.costAppraised, row, reading.problems);
    }
    if (!reading.problems.empty())
        return;
    SheetTotals totals;
    if (SheetCatalogue::isLiability(id)) {
        bool overflow = false;
        totals.v1 = negated(*t1, overflow);
        totals.v2 = negated(*t2, overflow);
        totals.v3 = negated(*t3, overflow);
        if (overflow) {
            reading.problems.push_back({roles.book, row, workbook.displayText(sheet, roles.book, row)});
            return;
        }
    } else {
        totals = {*t1, *t2, *t3, *t4, *t5, *t6};
    }
    if (!totals.isZero())
        reading.rows.push_back({static_cast<int16_t>(id), 0, totals});
}

} // namespace

SheetTotalsReading readSheetTotals(const Workbook &workbook, int id, int sheetIndex)
{
    SheetTotalsReading reading;
    const int sheet = sheetIndex < 0 ? workbook.CurrentSheet() : sheetIndex;
    if (id == SheetCatalogue::ContraSheetId) {
        reading.hasTotals = true;
        readContraRows(workbook, sheet, reading);
    } else if (id >= SheetCatalogue::FirstDetailId && id <= SheetCatalogue::LastDetailId) {
        reading.hasTotals = true;
        readTotalRow(workbook, sheet, id, reading);
    }
    return reading;
}

std::string sheetTotalsProblemMessage(int id, const std::vector<TotalCellProblem> &problems)
{
    std::string cells;
    for (std::size_t i = 0; i < problems.size(); ++i) {
        if (i > 0)
            cells += "、";
        const TotalCellProblem &p = problems[i];
        cells += RowFormulas::columnLetter(p.col) + std::to_string(p.row + 1) + "[" + p.shown + "]";
    }
    const auto [code, name] = SheetCatalogue::codeAndName(id);
    const std::string sheetName = code.empty() ? "b" + std::to_string(id) : code + " " + name;
    return sheetName + "的合计单元格" + cells +
           "不是有效的金额（文字、错误值或超出金额范围）。\n本表合计没有写入项目文件，汇总表仍使用原来的合计数。"
           "请更正表中数据后重试。";
}

SheetTotalsStatus writeSheetTotals(const Workbook &workbook, ProjectStore &store, int id, Prompter &prompter,
                                   int sheetIndex)
{
    const SheetTotalsReading reading = readSheetTotals(workbook, id, sheetIndex);
    if (!reading.hasTotals)
        return SheetTotalsStatus::NoTotals;
    if (!reading.problems.empty()) {
        prompter.message(sheetTotalsProblemMessage(id, reading.problems), kTitle, MessageIcon::Critical);
        return SheetTotalsStatus::Refused;
    }
    try {
        Savepoint savepoint(store.database());
        for (const int16_t replaced : reading.replacedIds) {
            SheetTotals totals;
            for (const SheetDataRow &row : reading.rows)
                if (row.id == replaced)
                    totals = row.totals;
            store.writeSheetTotals(replaced, 0, totals);
        }
        savepoint.commit();
    } catch (const std::exception &e) {
        prompter.message(std::string(e.what()) + "\n本表合计没有写入项目文件。", kTitle, MessageIcon::Critical);
        return SheetTotalsStatus::Refused;
    }
    return SheetTotalsStatus::Written;
}

} // namespace vantor
