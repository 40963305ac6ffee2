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
    for (int r = 0; r < s.rows(); ++r)
        for (int c = 0; c < s.storedCols(r); ++c) {
            if (!s.value(c, r).isNumber() || s.mergeAt(c, r))
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
