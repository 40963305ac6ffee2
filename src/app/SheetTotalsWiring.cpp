#include "app/SheetTotalsWiring.h"

#include "app/ProjectDocument.h"
#include "app/frmMain.h"
#include "project/ProjectSession.h"
#include "sheets/SheetCatalogue.h"
#include "summation/SheetTotals.h"

namespace vantor {

void installSheetTotals(frmMain &window, ProjectSession &session)
{
    window.hooks().writeSheetTotals = [&window, &session](short sheet) {
        if (session.isOpen() && SheetCatalogue::isDetail(sheet))
            writeSheetTotals(window.document().workbook(), session.store(), sheet, window.prompter());
    };
}

} // namespace vantor
