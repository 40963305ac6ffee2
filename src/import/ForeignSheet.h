#pragma once

// A worksheet read from a file another program made (an Excel workbook or a text table),
// as plain values: what the import window shows and what 整表导入 types into a detail
// sheet. Rows and columns are 0-based; only cells with a value are listed.

#include "sheet_component/engine/CellValue.h"
#include "sheet_component/engine/SheetTypes.h"

#include <string>
#include <utility>
#include <vector>

namespace vantor {

struct ForeignCell {
    int col = 0;
    int row = 0;
    CellValue value;   // as shown: a number or a text
    std::string input; // as the user would type it
};

struct ForeignSheet {
    // What is read of one sheet at most.
    static constexpr int MaxRows = 12403;
    static constexpr int MaxCols = 64;

    std::string name;
    int rows = 0; // one past the last row with a value
    int cols = 0; // one past the last column with a value
    std::vector<ForeignCell> cells;
    std::vector<CellRange> merges;
    std::vector<std::pair<int, int>> colWidths; // column, pixels
};

} // namespace vantor
