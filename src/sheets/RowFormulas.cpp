#include "sheets/RowFormulas.h"

#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DerivedCellsUndo.h"
#include "sheets/DetailLayouts.h"
#include "sheets/RowArithmetic.h"
#include "sheets/UnfrozenScope.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

namespace vantor {

namespace {

RuleOperand cell(int col)
{
    return {col, Amount(), false};
}
RuleOperand percentCell(int col)
{
    return {col, Amount(), true};
}
RuleOperand one()
{
    return {-1, Amount::fromUnits(Amount::kScale), false};
}
RuleOperand hundredth()
{
    return {-1, Amount::fromUnits(Amount::kScale / 100), false};
}
RuleOperand none()
{
    return {};
}

const std::vector<RowRule> kRules{
    // Inventories: book amount and adjustment give the adjusted value, amount ÷ quantity the
    // unit price; appraised quantity × unit price the appraised amount.
    {{22, 23, 24, 25, 27, 28}, {3, 5, 6}, {{7, '+', cell(5), cell(6), none()}, {4, '/', cell(5), cell(3), none()}}},
    {{22, 23, 24, 25, 27, 28}, {8, 9}, {{10, '*', cell(8), cell(9), one()}}},
    {{26, 29, 31, 32}, {4, 6, 7}, {{8, '+', cell(6), cell(7), none()}, {5, '/', cell(6), cell(4), none()}}},
    {{26, 29, 31, 32}, {9, 10}, {{11, '*', cell(9), cell(10), one()}}},
    // 在用低值易耗品: quantity × unit price × 成新率%.
    {{30}, {4, 5}, {{6, '+', cell(4), cell(5), none()}}},
    {{30}, {7, 8, 9}, {{10, '*', cell(7), cell(8), percentCell(9)}}},
    // Buildings: unit costs per ㎡ and the appraised net value from 原值 × 成新率%.
    {{40},
     {5, 7, 11, 12},
     {{6, '/', cell(7), cell(5), none()},
      {15, '/', cell(11), cell(5), none()},
      {13, '*', cell(11), cell(12), hundredth()}}},
    {{41}, {6, 11, 12}, {{15, '/', cell(11), cell(6), none()}, {13, '*', cell(11), cell(12), hundredth()}}},
    {{42, 43, 44, 45, 46}, {12, 13}, {{14, '*', cell(12), cell(13), hundredth()}}},
    {{47}, {4, 6}, {{5, '/', cell(6), cell(4), none()}}},
    {{47}, {8, 9}, {{10, '*', cell(8), cell(9), one()}}},
    // 设备安装工程: the 合计 columns of the paid and the appraised amounts.
    {{49}, {4, 5, 6}, {{7, '+', cell(4), cell(5), cell(6)}}},
    {{49}, {9, 10, 11}, {{12, '+', cell(9), cell(10), cell(11)}}},
    {{74}, {}, {{6, '+', cell(4), cell(5), none()}}},
};

bool contains(const std::vector<int> &values, int v)
{
    return std::find(values.begin(), values.end(), v) != values.end();
}

std::optional<Amount> operandValue(const Workbook &wb, const RuleOperand &o, int row)
{
    if (o.col < 0)
        return o.constant;
    return RowFormulas::readAmount(wb, o.col, row);
}

// Evaluates one assignment; nothing when an operand or the result is out of range.
std::optional<Amount> evaluate(const Workbook &wb, const RowAssignment &as, int row)
{
    auto a = operandValue(wb, as.a, row);
    auto b = operandValue(wb, as.b, row);
    auto c = operandValue(wb, as.c, row);
    if (!a || !b || !c)
        return std::nullopt;
    try {
        if (as.op == '*') {
            int extra = (as.a.percent ? 2 : 0) + (as.b.percent ? 2 : 0) + (as.c.percent ? 2 : 0);
            return RowArithmetic::product(*a, *b, *c, extra);
        }
        return RowArithmetic::apply(as.op, *a, *b, *c);
    } catch (const AmountOverflow &) {
        return std::nullopt;
    }
}

// Drops the total row's formulas, keeping their values, so that writing data rows does not
// recalculate the sums cell by cell; the caller writes them again afterwards.
void clearTotalFormulas(Workbook &workbook)
{
    for (int c = 0; c < workbook.Cols(); ++c)
        workbook.DoClearCellFormula(c, DetailLayouts::TotalRow);
}

// A cell's number as an amount. Below 10^11 the doubles lie closer together than 0.0001, so a
// number that is the nearest double to some four-decimal amount is that amount; this spares
// the decimal conversion of Amount::fromDouble for the numbers the sheets hold, and gives the
// same result.
std::optional<Amount> amountOf(double v)
{
    if (v > -1e11 && v < 1e11) {
        const double scaled = v * static_cast<double>(Amount::kScale);
        const auto units = static_cast<std::int64_t>(std::llround(scaled));
        if (static_cast<double>(units) / static_cast<double>(Amount::kScale) == v)
            return Amount::fromUnits(units);
    }
    return Amount::fromDouble(v);
}

// Writes a derived cell, through `batch` when one gathers the writes of many rows. A cell that
// already holds the number is left alone: rewriting it would change nothing but the undo
// history and the modified flag.
void writeAmount(Workbook &wb, int col, int row, Amount value, DerivedCellsUndo *batch)
{
    const double number = value.toDouble();
    const CellValue old = wb.DoGetCellData(col, row);
    if (old.isNumber() && old.number() == number && !wb.sheet(wb.CurrentSheet()).hasFormula(col, row))
        return;
    if (batch)
        batch->write(wb, col, row, number);
    else
        wb.DoSetCellData(col, row, number);
    wb.DoRedrawCell(col, row);
}

bool applyRules(Workbook &workbook, int id, int row, int col, DerivedCellsUndo *batch)
{
    bool allInRange = true;
    for (const RowAssignment *as : RowFormulas::assignmentsFor(id, col)) {
        if (auto value = evaluate(workbook, *as, row))
            writeAmount(workbook, as->target, row, *value, batch);
        else
            allInRange = false;
    }
    const DetailLayout *layout = DetailLayouts::layout(id);
    if (layout && layout->rateColumn > 0) {
        auto adjusted = RowFormulas::readAmount(workbook, layout->roles.adjusted, row);
        auto appraised = RowFormulas::readAmount(workbook, layout->roles.appraised, row);
        std::optional<Amount> rate;
        if (adjusted && appraised) {
            try {
                rate = RowArithmetic::rate(*adjusted, *appraised);
            } catch (const AmountOverflow &) {
            }
        }
        if (rate)
            writeAmount(workbook, layout->rateColumn, row, *rate, batch);
        else
            allInRange = false;
    }
    return allInRange;
}

} // namespace

std::span<const RowRule> RowFormulas::rules()
{
    return kRules;
}

std::vector<const RowAssignment *> RowFormulas::assignmentsFor(int id, int col)
{
    std::vector<const RowAssignment *> out;
    for (const RowRule &rule : kRules) {
        if (!contains(rule.kinds, id))
            continue;
        if (col != -1 && !rule.editedColumns.empty() && !contains(rule.editedColumns, col))
            continue;
        for (const RowAssignment &as : rule.assignments)
            out.push_back(&as);
    }
    return out;
}

bool RowFormulas::recomputesRows(int id)
{
    return (id >= 10 && id <= 49) || (id >= 52 && id <= 56) || id == 74;
}

std::string RowFormulas::columnLetter(int col)
{
    if (col < 0 || col >= DetailLayouts::MaxColumns)
        return {};
    return std::string(1, static_cast<char>('A' + col));
}

std::string RowFormulas::totalSumFormula(int col, int rows)
{
    const std::string l = columnLetter(col);
    // The range starts at the first data row (row 4 as the formula counts); it never reaches
    // up into the total row itself, even on a sheet without data rows.
    const int last = std::max(rows, DetailLayouts::FirstDataRow + 1);
    return "sum(" + l + std::to_string(DetailLayouts::FirstDataRow + 1) + ":" + l + std::to_string(last) + ")";
}

std::string RowFormulas::totalRateFormula(int id)
{
    const DetailLayout *layout = DetailLayouts::layout(id);
    if (!layout || layout->rateColumn == 0)
        return {};
    const std::string a = columnLetter(layout->roles.adjusted) + "3";
    const std::string p = columnLetter(layout->roles.appraised) + "3";
    return "IF(" + a + "<>0,ROUND((" + p + "-" + a + ")/ABS(" + a + ")*100,2),0)";
}

std::optional<Amount> RowFormulas::readAmount(const Workbook &workbook, int col, int row)
{
    const CellValue v = workbook.DoGetCellData(col, row);
    if (v.isNumber())
        return amountOf(v.number());
    if (v.isText()) {
        if (auto parsed = Amount::parse(v.text()))
            return parsed;
        return Amount();
    }
    return Amount();
}

bool RowFormulas::applyRowRules(Workbook &workbook, int id, int row, int col, DerivedCellsUndo *batch)
{
    return applyRules(workbook, id, row, col, batch);
}

bool RowFormulas::recomputeRow(Workbook &workbook, int id, int row, int col, bool freezeHeadings)
{
    UndoGroup group(workbook);
    bool allInRange;
    {
        UnfrozenScope unfrozen(workbook, freezeHeadings);
        clearTotalFormulas(workbook);
        allInRange = applyRowRules(workbook, id, row, col);
    }
    rebuildTotalRow(workbook, id, freezeHeadings);
    return allInRange;
}

int RowFormulas::recomputeRows(Workbook &workbook, int id, int firstRow, int lastRow, bool freezeHeadings)
{
    UndoGroup group(workbook);
    int outOfRange = 0;
    {
        UnfrozenScope unfrozen(workbook, freezeHeadings);
        clearTotalFormulas(workbook);
        const int first = std::max(firstRow, DetailLayouts::FirstDataRow);
        const int last = std::min(lastRow, workbook.Rows() - 1);
        auto batch = std::make_unique<DerivedCellsUndo>(workbook);
        for (int row = first; row <= last; ++row)
            if (!applyRules(workbook, id, row, -1, batch.get()))
                ++outOfRange;
        if (!batch->empty() && workbook.undoStack().isRecording())
            workbook.undoStack().push(std::move(batch));
    }
    rebuildTotalRow(workbook, id, freezeHeadings);
    return outOfRange;
}

void RowFormulas::writeTotalSums(Workbook &workbook, int id, bool freezeHeadings)
{
    UnfrozenScope unfrozen(workbook, freezeHeadings);
    const int rows = workbook.Rows();
    const int cols = std::min(workbook.Cols(), DetailLayouts::MaxColumns);
    for (int c = 2; c < cols; ++c)
        if (DetailLayouts::isSummedColumn(id, c))
            workbook.DoSetCellFormula(c, DetailLayouts::TotalRow, totalSumFormula(c, rows));
}

void RowFormulas::writeTotalRate(Workbook &workbook, int id)
{
    const std::string formula = totalRateFormula(id);
    if (!formula.empty())
        workbook.DoSetCellFormula(DetailLayouts::rateColumn(id), DetailLayouts::TotalRow, formula);
}

void RowFormulas::rebuildTotalRow(Workbook &workbook, int id, bool freezeHeadings)
{
    writeTotalSums(workbook, id, freezeHeadings);
    // Kind 74 keeps its total-row rate until the user asks for the totals.
    if (id != 74)
        writeTotalRate(workbook, id);
}

void RowFormulas::writeTotals(Workbook &workbook, int id, bool freezeHeadings)
{
    UndoGroup group(workbook);
    writeTotalSums(workbook, id, freezeHeadings);
    writeTotalRate(workbook, id);
}

bool RowFormulas::cellEdited(Workbook &workbook, int id, int row, int col, bool freezeHeadings)
{
    if (row < DetailLayouts::FirstDataRow)
        return true;
    if (recomputesRows(id))
        return recomputeRow(workbook, id, row, col, freezeHeadings);
    UndoGroup group(workbook);
    writeTotalSums(workbook, id, freezeHeadings);
    return true;
}

} // namespace vantor
