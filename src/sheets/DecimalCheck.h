#pragma once

// The decimal check (小数点检查): amounts in the forms carry two decimals, so the check
// walks down the active column from the active row to the last row and stops at each
// number that has more than two decimals, asking whether the user wants to correct it
// now. Yes makes that cell the active cell and ends the check; No goes on with the next
// row; after the last row the check ends silently. It changes no cell value.
//
// A number counts by its decimal form of at most 15 significant digits, the precision a
// double holds, so the binary residue of a sum (0.1 + 0.2) is not reported.

#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/Workbook.h"

#include <optional>
#include <string>

namespace vantor {

class Prompter;

class DecimalCheck {
public:
    static constexpr const char *Title = "小数点检查";

    // Whether the number differs from itself rounded to two decimals (halves to even).
    static bool hasMoreThanTwoDecimals(double value);
    // The number as the message shows it: "12.505".
    static std::string valueText(double value);
    // The question for the cell in 0-based row `row` whose value reads `valueText`.
    static std::string message(int row, const std::string &valueText);

    // Runs the check on the workbook's current sheet from its active cell. Returns the cell
    // the user chose to correct (now the active cell; the caller gives the sheet view the
    // keyboard focus), or nothing when every question was answered No or none was asked.
    static std::optional<CellPos> run(Selection &selection, Prompter &prompter);
};

} // namespace vantor
