#include "sheets/SheetCatalogue.h"
#include "sheets/dialogs/dlgSheetInst.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;

namespace
{

void clickItem(dlgSheetInst &dlg, int index)
{
    QTreeWidgetItem *item = dlg.tvw_Sheets->topLevelItem(index);
    ASSERT_NE(item, nullptr);
    dlg.tvw_Sheets->scrollToItem(item);
    QTest::mouseClick(dlg.tvw_Sheets->viewport(), Qt::LeftButton, {}, dlg.tvw_Sheets->visualItemRect(item).center());
}

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

TEST(dlgSheetInst, MouseClickPicksTheSheetOkAccepts)
{
    dlgSheetInst dlg({});
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    clickItem(dlg, 35); // id 46
    EXPECT_EQ(dlg.selectedId(), 46);
    EXPECT_EQ(dlg.selectedCode() + "|" + dlg.selectedName(), "表5-x|固定资产-其他设备清查评估明细表");
    QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(dlgSheetInst, EveryKindPresentLeavesAnEmptyTreeAndOkDoesNothing)
{
    std::vector<std::string> all;
    for (int id = 0; id <= 78; ++id)
        all.push_back("b" + std::to_string(id));
    dlgSheetInst dialog(all);
    EXPECT_EQ(dialog.tvw_Sheets->topLevelItemCount(), 0);
    dialog.show();
    dialog.cmdOK->click();
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
