// Hostile text in the component's own dialogs: the search box takes anything
// and searching for it finds it or nothing; the page set-up boxes take numbers.

#include "support/HostileText.h"
#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/widget/FindDialog.h"
#include "sheet_component/widget/PageSetupDialog.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace vantor;

TEST(HostileText, SearchAndPageSetUpBoxes)
{
    Workbook wb;
    Selection sel(wb);
    wb.DoSetCellData(1, 2, "O'Brien's");
    FindDialog find(sel);
    test::pasteIntoEveryBox(find);
    find.findNext();
    find.textEdit()->setText(QStringLiteral("O'Brien's"));
    EXPECT_TRUE(find.findNext());
    PageSetupDialog setup(wb.sheet(0).printSettings());
    test::pasteIntoEveryBox(setup);
    (void)setup.settings();
}
