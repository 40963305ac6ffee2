#pragma once

// The largest detail sheet the print command accepts, filled on every data row: 12,403 rows of
// 表5-2 机器设备 (17 columns), as the print benchmarks lay it out.

#include "output/PrintEngine.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"

#include <string>

namespace vantor::bench {

constexpr int16_t kPrintSheetId = 43;

inline void fillLargestDetailSheet(Workbook &wb)
{
    DetailSheetBuilder::build(wb, kPrintSheetId);
    wb.SetRows(PrintEngine::MaxDetailRows);
    const ColumnRoles roles = DetailLayouts::columnRoles(kPrintSheetId);
    for (int r = 3; r < PrintEngine::MaxDetailRows; ++r) {
        wb.DoSetCellData(0, r, static_cast<double>(r - 2));
        wb.DoSetCellData(1, r, "E" + std::to_string(r));
        wb.DoSetCellData(2, r, "数控车床");
        wb.DoSetCellData(3, r, "CK6140");
        wb.DoSetCellData(4, r, "沈阳机床厂");
        wb.DoSetCellData(5, r, "台");
        for (int c :
             {roles.costBook, roles.book, roles.costAdjusted, roles.adjusted, roles.costAppraised, roles.appraised})
            wb.DoSetCellData(c, r, 1000.0 + r + 0.25);
    }
    RowFormulas::writeTotals(wb, kPrintSheetId, true);
}

} // namespace vantor::bench
