#pragma once

// The formulas of a detail sheet. A data row holds plain values: when a cell of it
// has been edited, the kind's rules complete the derived cells of that row (adjusted
// value, unit price, amount) with the amount operation and write the row's
// appreciation rate. Only the total row (row 2) holds formulas: a sum over the data
// rows for each summed column and the total appreciation rate. The rules are a table,
// one entry per group of kinds and edited columns, read by a small interpreter.
// Everything works on the workbook's current sheet, which the caller guarantees to be
// the sheet of the given id.

#include "common/Amount.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantor {

class DerivedCellsUndo;
class Workbook;

// An operand of a rule: a cell of the edited row, or a constant. A percent cell
// enters a product as its fraction (cell × 0.01).
struct RuleOperand {
    int col = -1; // -1: the constant
    Amount constant;
    bool percent = false;
};

// target := op(a, b, c) on the edited row.
struct RowAssignment {
    int target;
    char op; // '+', '*' or '/' (see RowArithmetic)
    RuleOperand a, b, c;
};

struct RowRule {
    std::vector<int> kinds;
    std::vector<int> editedColumns; // empty: any column
    std::vector<RowAssignment> assignments;
};

class RowFormulas {
public:
    static std::span<const RowRule> rules();
    // The assignments that an edit of column `col` triggers on kind `id`, in order;
    // column -1 asks for every assignment of the kind, in table order.
    static std::vector<const RowAssignment *> assignmentsFor(int id, int col);
    // Kinds whose edits recompute the row (10 … 49, 52 … 56, 74); the others only
    // rebuild the total-row sums.
    static bool recomputesRows(int id);

    // Column letter of formula text: 0 → "A" … 25 → "Z"; empty beyond.
    static std::string columnLetter(int col);
    // "sum(F4:F28)" for column 5 on a sheet of 28 rows.
    static std::string totalSumFormula(int col, int rows);
    // The total-row rate formula of a kind, e.g. "IF(G3<>0,ROUND((H3-G3)/ABS(G3)*100,2),0)";
    // empty for kinds without a rate column.
    static std::string totalRateFormula(int id);

    // A cell as an amount: empty, error and non-numeric text read as 0, numeric text as
    // its number; nothing when the number is beyond the currency range.
    static std::optional<Amount> readAmount(const Workbook &workbook, int col, int row);

    // The derived cells and the rate of one data row after an edit of column `col` (-1: every
    // rule of the kind), without touching the total row. Returns false when some result (or
    // an operand) lay beyond the currency range: that cell is left as it was.
    // With `batch`, the writes are gathered there as one undo command (see RowRecomputeBatch).
    static bool applyRowRules(Workbook &workbook, int id, int row, int col, DerivedCellsUndo *batch = nullptr);

    // Recomputes every rule of the kind on rows first … last (clamped to the data rows) and then
    // the total row once, as one undo step: the way for commands that change many cells.
    // Returns the number of rows that had an amount beyond the currency range.
    static int recomputeRows(Workbook &workbook, int id, int firstRow, int lastRow, bool freezeHeadings);
    // Writes the sum formulas of the total row over rows 4 … Rows.
    static void writeTotalSums(Workbook &workbook, int id, bool freezeHeadings);
    // Writes the total-row rate formula of the kind; nothing for kinds without a rate column.
    static void writeTotalRate(Workbook &workbook, int id);
    // The total row as the row recomputation leaves it: the sums, and the rate for the kinds
    // that recompute it with their rows.
    static void rebuildTotalRow(Workbook &workbook, int id, bool freezeHeadings);
    // The total row's sums and rate together (the command 计算合计行, and the end of commands
    // that wrote many cells without recomputing their rows).
    static void writeTotals(Workbook &workbook, int id, bool freezeHeadings);
    // What leaving an edited cell does on a detail sheet (DetailCellEdits calls it): for a data
    // row (3 or more) the row recomputation for kinds that have one and the total-row sums alone
    // for the others.
    // Returns false when an amount was out of range (see recomputeRow).
    static bool cellEdited(Workbook &workbook, int id, int row, int col, bool freezeHeadings);

private:
    // Recomputes data row `row` after an edit of column `col` of kind `id`, writes the
    // row's rate and rebuilds the total row. Returns false when some result (or an operand)
    // lay beyond the currency range: that cell is left as it was and the rest still runs.
    static bool recomputeRow(Workbook &workbook, int id, int row, int col, bool freezeHeadings);
};

} // namespace vantor
