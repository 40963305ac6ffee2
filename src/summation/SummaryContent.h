#pragma once

// What one summary sheet receives when it is built, as data: its size, the block of value
// cells set to 0 first, then amounts, rates and formula texts in the order they are
// written. Computing the content reads the database and may fail; writing it cannot, so a
// failure never leaves a sheet half rebuilt.

#include "common/Amount.h"
#include "sheet_component/engine/SheetTypes.h"

#include <string>
#include <vector>

namespace vantor {

class Workbook;

struct SummaryCell {
    int col = 0;
    int row = 0;         // 0-based
    Amount value;        // when formula is empty
    std::string formula; // formula text, written as it stands
};

struct SummaryContent {
    int rows = 0;
    int cols = 0;
    CellRange zeroed; // 0-based, inclusive
    std::vector<SummaryCell> cells;

    // Cells are named as in formula texts: column index and 1-based row number.
    void value(int col, int rowNumber, Amount amount) { cells.push_back({col, rowNumber - 1, amount, {}}); }
    void formula(int col, int rowNumber, std::string text)
    {
        cells.push_back({col, rowNumber - 1, Amount(), std::move(text)});
    }

    // Sizes sheet `sheet`, zeroes the block and writes the cells in order.
    void writeTo(Workbook &workbook, int sheet) const;
};

} // namespace vantor
