#pragma once

// Publishing a detail sheet's totals into `sheetdata`. The summary sheets, the
// aggregation over nodes and the overview lists never read detail sheets: they read
// the one row per sheet that this writes from the sheet's total row (row 2), with the
// columns of the kind's column roles. Liability sheets (58 … 77) are stored negated
// and without cost totals; 表11 (sheet 78) gives up to four contra rows, ids 3 … 6,
// stored negated; all-zero totals leave no row.
//
// A total that cannot be read as an exact amount (text in a total cell, an error
// value, a number beyond the currency range) never reaches the database: the
// sheet's stored rows stay as they were and the user is told once, naming the cells.

#include "project/ProjectRecords.h"

#include <string>
#include <vector>

namespace vantor {

class Workbook;
class ProjectStore;
class Prompter;

// A total cell that could not be read as an amount.
struct TotalCellProblem {
    int col = 0;
    int row = 0;
    std::string shown; // the cell as the sheet shows it
};

// The `sheetdata` rows one sheet produces, signs applied; all-zero rows are left out.
// `problems` lists the unreadable total cells; when it is not empty `rows` must not be
// stored.
struct SheetTotalsReading {
    bool hasTotals = false; // false for ids without totals (summary sheets, unknown ids)
    std::vector<SheetDataRow> rows;
    std::vector<int16_t> replacedIds; // the ids whose stored rows these rows replace
    std::vector<TotalCellProblem> problems;
};

enum class SheetTotalsStatus {
    Written,  // the rows were stored (or removed, when the totals are all zero)
    NoTotals, // the id has no totals; nothing was touched
    Refused,  // an unreadable total or a database failure; the stored rows stand
};

// Reads the totals of sheet `id` from sheet `sheetIndex` of the workbook (-1: the current
// sheet).
SheetTotalsReading readSheetTotals(const Workbook &workbook, int id, int sheetIndex = -1);

// Writes the totals of sheet `id`, shown as the workbook's current sheet, into the
// project's `sheetdata` (node 0). Tells the user through `prompter` when it refuses.
SheetTotalsStatus writeSheetTotals(const Workbook &workbook, ProjectStore &store, int id, Prompter &prompter,
                                   int sheetIndex = -1);

// The message shown when totals are refused because of unreadable cells.
std::string sheetTotalsProblemMessage(int id, const std::vector<TotalCellProblem> &problems);

} // namespace vantor
