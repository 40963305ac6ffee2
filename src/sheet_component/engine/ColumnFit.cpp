#include "sheet_component/engine/ColumnFit.h"

#include "sheet_component/engine/Workbook.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vantor {

void ColumnFit::toNumbers(Workbook &workbook, int sheet)
{
    const Sheet &s = workbook.sheet(sheet);
    const TextMeasurer &measure = workbook.textMeasurer();
    // The renderer's padding on both sides of a cell's text.
    constexpr double padding = 8;
    std::vector<double> widest(static_cast<std::size_t>(s.cols()), 0.0);
    // Merged cells take the width of their block, not of their column. One pass over the merges:
    // a printed form holds thousands of them (a few per page).
    const auto cols = static_cast<std::size_t>(s.cols());
    std::vector<bool> merged(static_cast<std::size_t>(s.rows()) * cols, false);
    for (const CellRange &m : s.merges())
        for (int r = std::max(m.row1, 0); r <= std::min(m.row2, s.rows() - 1); ++r)
            for (int c = std::max(m.col1, 0); c <= std::min(m.col2, s.cols() - 1); ++c)
                merged[static_cast<std::size_t>(r) * cols + static_cast<std::size_t>(c)] = true;
    for (int r = 0; r < s.rows(); ++r)
        for (int c = 0; c < s.storedCols(r); ++c) {
            if (!s.value(c, r).isNumber() || merged[static_cast<std::size_t>(r) * cols + static_cast<std::size_t>(c)])
                continue;
            const std::string text = workbook.displayText(sheet, c, r);
            double &w = widest[static_cast<std::size_t>(c)];
            // No digit is wider than 8 pixels at the sizes forms use: only a longer text can need
            // more room than already measured.
            if (static_cast<double>(text.size()) * 8.0 + padding > w)
                w = std::max(w, measure.textWidth(workbook.DoGetCellFont(c, r, sheet), text) + padding);
        }
    for (int c = 0; c < s.cols(); ++c) {
        const int need = static_cast<int>(std::ceil(widest[static_cast<std::size_t>(c)]));
        if (need > s.colWidth(c))
            workbook.DoSetColWidth(c, need, sheet);
    }
}

} // namespace vantor
