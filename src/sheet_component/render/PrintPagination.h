#pragma once

// How a sheet falls into printed pages: the block printed (the print range or the used part of
// the sheet), the paper size, and the split of rows and columns into pages that fit the paper at
// the print scale, honouring the sheet's row page breaks. Pure arithmetic over the sheet's layout.

#include "sheet_component/engine/SheetTypes.h"

#include <QSizeF>

#include <utility>
#include <vector>

namespace vantor {

class Sheet;

class PrintPagination {
public:
    // Paper size in millimetres for a paper code (9 A4, 8 A3, 11 A5, 13 B5, 1 Letter, 5 Legal);
    // unknown codes print on A4.
    static QSizeF paperSizeMm(int paperSize, bool landscape);
    // The block printed: the print range clipped to the sheet, or the used part of the sheet.
    // Empty when there is nothing to print.
    static CellRange printArea(const Sheet &sheet, const PrintSettings &settings);
    // Room for cells on one page in sheet pixels (96 dpi) after margins and scale.
    static QSizeF contentSize(const PrintSettings &settings);
    // Inclusive [first, last] row runs that fit `height` pixels each; a row in `breaks` starts a
    // new page; a row taller than a page gets a page of its own.
    static std::vector<std::pair<int, int>> splitRows(const Sheet &sheet, int row1, int row2,
                                                      const std::vector<int> &breaks, double height);
    static std::vector<std::pair<int, int>> splitCols(const Sheet &sheet, int col1, int col2, double width);
    // Every page of the sheet in print order: down the rows first, then across.
    static std::vector<CellRange> pages(const Sheet &sheet, const PrintSettings &settings);
};

} // namespace vantor
