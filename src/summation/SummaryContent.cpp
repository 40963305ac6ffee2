#include "summation/SummaryContent.h"

#include "sheet_component/engine/Workbook.h"

namespace vantor {

void SummaryContent::writeTo(Workbook &workbook, int sheet) const
{
    workbook.SetRows(rows, sheet);
    workbook.SetCols(cols, sheet);
    for (int row = zeroed.row1; row <= zeroed.row2; ++row)
        for (int col = zeroed.col1; col <= zeroed.col2; ++col)
            workbook.DoSetCellData(col, row, 0.0, sheet);
    for (const SummaryCell &cell : cells) {
        if (cell.formula.empty())
            workbook.DoSetCellData(cell.col, cell.row, cell.value.toDouble(), sheet);
        else
            workbook.DoSetCellFormula(cell.col, cell.row, cell.formula, sheet);
    }
}

} // namespace vantor
