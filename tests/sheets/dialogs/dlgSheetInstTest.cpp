#include "sheets/SheetCatalogue.h"
#include "sheets/dialogs/dlgSheetInst.h"

#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;

namespace
{

std::vector<int> listedIds(const dlgSheetInst &dialog)
{
    std::vector<int> ids;
    for (int i = 0; i < dialog.tvw_Sheets->topLevelItemCount(); ++i) {
        const std::string key = dialog.tvw_Sheets->topLevelItem(i)->data(0, Qt::UserRole).toString().toStdString();
        EXPECT_EQ(key[0], 'b');
        ids.push_back(std::stoi(key.substr(1)));
    }
    return ids;
}

TEST(dlgSheetInst, ListsKindsElevenToSeventySevenInOrderWithoutExistingOnes)
{
    dlgSheetInst dialog({"b0", "b1", "b10", "b16", "b40", "b78"});
    const std::vector<int> ids = listedIds(dialog);
    std::vector<int> expected;
    for (int id = 11; id <= 77; ++id)
        if (id != 16 && id != 40 && SheetCatalogue::idOfLabel("b" + std::to_string(id)))
            expected.push_back(id);
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(ids.front(), 11);
    EXPECT_EQ(ids.back(), 77);
}

TEST(dlgSheetInst, CaptionIsCodeInTenCharactersThenTheName)
{
    dlgSheetInst dialog({});
    ASSERT_GT(dialog.tvw_Sheets->topLevelItemCount(), 0);
    QTreeWidgetItem *first = dialog.tvw_Sheets->topLevelItem(0);
    dialog.tvw_Sheets->setCurrentItem(first);
    EXPECT_EQ(dialog.selectedId(), 11);
    const QString caption = first->text(0);
    EXPECT_EQ(QString::fromStdString(dialog.selectedCode()), caption.left(10).trimmed());
    EXPECT_EQ(QString::fromStdString(dialog.selectedName()), caption.mid(10));
    EXPECT_FALSE(dialog.selectedName().empty());
}

TEST(dlgSheetInst, OkWithoutAChoiceStaysOpen)
{
    dlgSheetInst dialog({});
    dialog.show();
    dialog.tvw_Sheets->setCurrentItem(nullptr);
    dialog.cmdOK->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.selectedId(), 0);
    dialog.cmdCancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
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
