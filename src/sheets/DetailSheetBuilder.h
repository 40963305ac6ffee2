#pragma once

// Lays out a new detail sheet of one kind on the workbook's current sheet: the frame
// ("序号", the total row "合计", "备注"), the kind's one- and two-level headings with
// their merges, raised and centred heading cells, the two-decimal style of the summed
// total cells, 28 rows (25 data rows), the column widths and rows 0 … 2 frozen. The
// totals and their formulas appear with the first edit of a data cell.

#include "sheets/DetailLayouts.h"

namespace vantor {

class Workbook;

class DetailSheetBuilder {
public:
    // Builds kind `id` (10 … 77) on the current sheet. Returns false, changing nothing,
    // for ids without a layout (summary sheets, 表11, unknown ids).
    static bool build(Workbook &workbook, int id);

    // Width in pixels the builder gives column `col` of a layout: the longest line of the
    // heading must fit, no column is narrower than the default (a date fits), amounts get room
    // for nine-digit sums, text columns stay bounded.
    static int columnWidth(const DetailLayout &layout, int col);
};

} // namespace vantor
