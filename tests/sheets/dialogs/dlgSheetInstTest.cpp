#include "sheets/dialogs/dlgSheetInst.h"
#include "sheets/SheetCatalogue.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;

namespace {

TEST(dlgSheetInst, ListsTheKindsNotYetInTheProjectInOrderAsCodeAndName)
{
    dlgSheetInst dialog({"b0", "b1", "b10", "b16", "b40", "b78"});
    std::vector<int> ids, expected;
    for (int i = 0; i < dialog.tvw_Sheets->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = dialog.tvw_Sheets->topLevelItem(i);
        const int id = *SheetCatalogue::idOfLabel(item->data(0, Qt::UserRole).toString().toStdString());
        ids.push_back(id);
        EXPECT_EQ(item->text(0).toStdString(), SheetCatalogue::defaultCaption(id));
    }
    for (int id = 11; id <= 77; ++id)
        if (id != 16 && id != 40)
            expected.push_back(id);
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(dialog.selectedId(), 0);
}

// OK takes the selected kind; with every kind present the list is empty and OK does nothing.
TEST(dlgSheetInst, OkAcceptsTheSelectedSheetAndNothingWithoutOne)
{
    dlgSheetInst dialog({});
    dialog.show();
    dialog.tvw_Sheets->setCurrentItem(dialog.tvw_Sheets->topLevelItem(35));
    EXPECT_EQ(dialog.selectedId(), 46);
    dialog.cmdOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    std::vector<std::string> all;
    for (int id = 0; id <= 78; ++id)
        all.push_back("b" + std::to_string(id));
    dlgSheetInst full(all);
    full.show();
    full.cmdOK->click();
    EXPECT_TRUE(full.tvw_Sheets->topLevelItemCount() == 0 && full.isVisible());
}

} // namespace
