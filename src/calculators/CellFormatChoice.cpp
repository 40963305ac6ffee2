#include "calculators/CellFormatChoice.h"

#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"

#include <algorithm>

namespace vantor {

bool CellFormatChoice::apply(Workbook &workbook, const CellRange &range) const
{
    CellRange sel = CellRange::normalized(range.col1, range.row1, range.col2, range.row2);
    sel.col1 = std::max(sel.col1, 0);
    sel.row1 = std::max(sel.row1, 0);
    sel.col2 = std::min(sel.col2, workbook.Cols() - 1);
    sel.row2 = std::min(sel.row2, workbook.Rows() - 1);
    const bool anything =
        protection != Protection::Unchanged || appearance >= 0 || textStyle >= 0 || numberType != NumberType::Unchanged;
    if (sel.isEmpty() || !anything)
        return false;

    UndoGroup group(workbook);
    for (int row = sel.row1; row <= sel.row2; ++row)
        for (int col = sel.col1; col <= sel.col2; ++col) {
            if (protection != Protection::Unchanged)
                workbook.DoSetCellLock(col, row, protection == Protection::Lock);
            if (appearance >= 0)
                workbook.DoSetCell3DState(col, row, appearance);
            if (textStyle >= 0)
                workbook.DoSetCellTextStyle(col, row, textStyle);
            if (numberType == NumberType::Plain) {
                workbook.DoClearCellNumberStyle(col, row);
                workbook.DoSetCellNumberStyle(col, row, 0, false, 0);
            } else if (numberType == NumberType::Numeric) {
                workbook.DoSetCellNumberStyle(col, row, 1, percent, 2);
                if (zeroDisplay != ZeroDisplay::Unchanged)
                    workbook.DoSetCellZeroDisplay(col, row, zeroDisplay == ZeroDisplay::Show ? 1 : 0);
            }
        }
    return true;
}

} // namespace vantor
