#include "app/WelcomePage.h"

#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"

namespace vantor {

void drawWelcomePage(Workbook &wb)
{
    // The page is scenery, not an edit: nothing of it is offered for undo and the
    // workbook stays unmodified.
    UndoPause pause(wb);
    if (wb.SheetCount() > 0)
        wb.DoSetCurrentSheet(0);
    wb.DoSetColWidth(0, welcomeColumnWidth);
    for (const WelcomeLine &line : welcomeLines) {
        wb.DoSetCellData(0, line.row, line.text);
        wb.DoSetRowHeight(line.row, welcomeRowHeight);
        if (line.row != 0)
            wb.DoSetCellTextStyle(0, line.row, 1);
    }
    wb.DoSetCellFont(0, 0, 14, 1, "宋体");
    wb.DoSetModified(false);
}

} // namespace vantor
