#pragma once

// Our cell formulas in Excel's syntax. Arithmetic, comparisons, ranges and the functions sum,
// if and abs read the same in Excel once written in capitals. Two things do not carry over:
// getcell has no Excel counterpart, and round rounds halves to the even neighbour here but away
// from zero in Excel, which recalculates every formula when it opens the file and would show
// different figures. Formulas with either (or with a reference beyond Excel's grid, or that
// never parsed) are not translated; the exporter writes their computed value instead.

#include <optional>
#include <string>

namespace vantor {

class Formula;

class ExcelFormula {
public:
    // "=SUM(C4:C9)" for the cell's parsed formula, or nothing when it must be written as a value
    // (nullptr: the formula text did not parse).
    static std::optional<std::string> translate(const Formula *parsed);
};

} // namespace vantor
