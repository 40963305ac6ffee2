#pragma once

// Filling a detail sheet from a ledger given as tab-separated text: each line is one sheet
// row from a starting row on, its fields go to columns 0, 1, 2 … in order, and an empty
// field leaves its cell as it is. Every other field is taken as if the user had typed it
// into the cell and left it, left to right: the typed text becomes a number, a text or a
// formula, and on the sheets with row formulas the row's derived cells and rate follow
// each cell. The total row is rebuilt once at the end, which gives the same sums and rate
// as rebuilding it after every cell. The sheet grows when the ledger needs more rows, up
// to the row limit of a detail sheet; a ledger that does not fit is refused before any
// cell changes.
//
// Fields use the escapes of the tool's sheet dump: \t, \n, \r and \\ stand for a tab, a
// line feed, a carriage return and a backslash inside a cell.

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

class Workbook;

class LedgerFill {
public:
    static constexpr int MaxRows = 12403;
    using Rows = std::vector<std::vector<std::string>>;

    struct Result {
        int rows = 0;           // lines taken
        int cells = 0;          // non-empty fields written
        int outOfRangeRows = 0; // rows where a derived value lay beyond the currency range
        int sheetRows = 0;      // the sheet's row count afterwards
    };

    // One line split at tabs, escapes undone, a trailing carriage return dropped.
    static std::vector<std::string> splitLine(std::string_view line);
    // Every line of the stream (a UTF-8 byte-order mark at the start is skipped; the end of
    // the last line needs no line feed).
    static Rows read(std::istream &in);

    // The first row (0-based) a user may type into: 1 on 表11, 3 on every other sheet.
    static int firstEditableRow(int id);

    // Why the ledger cannot go into sheet `id` (the workbook's current sheet) from 0-based
    // row `firstRow` on, in Chinese; nothing when it can.
    static std::optional<std::string> check(const Workbook &workbook, int id, int firstRow, const Rows &rows);
    // Writes the ledger (check() must have passed) as one undo step.
    static Result fill(Workbook &workbook, int id, int firstRow, const Rows &rows, bool freezeHeadings);
};

} // namespace vantor
