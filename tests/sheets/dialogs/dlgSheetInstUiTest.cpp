#include "sheets/dialogs/dlgSheetInst.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace vantor {
namespace {

void clickItem(dlgSheetInst &dlg, int index)
{
    QTreeWidgetItem *item = dlg.tvw_Sheets->topLevelItem(index);
    ASSERT_NE(item, nullptr);
    dlg.tvw_Sheets->scrollToItem(item);
    const QRect rect = dlg.tvw_Sheets->visualItemRect(item);
    QTest::mouseClick(dlg.tvw_Sheets->viewport(), Qt::LeftButton, {}, rect.center());
}

TEST(dlgSheetInstUi, CaptionsOfTheKindsNotYetInTheProject)
{
    dlgSheetInst dlg({"b0", "b1", "b10", "b16", "b78"});
    ASSERT_EQ(dlg.tvw_Sheets->topLevelItemCount(), 66);
    EXPECT_EQ(dlg.tvw_Sheets->topLevelItem(0)->text(0), QStringLiteral("表3-1-2    货币资金-银行存款清查评估明细表"));
    EXPECT_EQ(dlg.tvw_Sheets->topLevelItem(4)->text(0), QStringLiteral("表3-3      应收票据清查评估明细表"));
    EXPECT_EQ(dlg.tvw_Sheets->topLevelItem(5)->text(0), QStringLiteral("表3-5      应收股利（应收利润）清查评估明细表"));
    EXPECT_EQ(dlg.tvw_Sheets->topLevelItem(65)->text(0), QStringLiteral("表10-6     递延税款贷项清查评估明细表"));
    EXPECT_EQ(dlg.selectedId(), 0);
}

TEST(dlgSheetInstUi, MouseClickPicksIdCodeAndName)
{
    dlgSheetInst dlg({});
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    clickItem(dlg, 20); // id 31
    EXPECT_EQ(dlg.selectedId(), 31);
    EXPECT_EQ(dlg.selectedCode(), "表3-10-10");
    EXPECT_EQ(dlg.selectedName(), "存货-委托代销商品清查评估明细表");
    clickItem(dlg, 35); // id 46
    EXPECT_EQ(dlg.selectedId(), 46);
    EXPECT_EQ(dlg.selectedCode(), "表5-x");
    EXPECT_EQ(dlg.selectedName(), "固定资产-其他设备清查评估明细表");
    QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(dlgSheetInstUi, CancelAfterAChoiceIsRejected)
{
    dlgSheetInst dlg({});
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    clickItem(dlg, 0);
    EXPECT_EQ(dlg.selectedId(), 11);
    QTest::mouseClick(dlg.cmdCancel, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(dlgSheetInstUi, RendersItsList)
{
    dlgSheetInst dlg({"b11", "b12"});
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    clickItem(dlg, 2);
    const QImage image = dlg.grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(QStringLiteral(VANTOR_BIN_DIR "/dlgSheetInst.png")));
}

} // namespace
} // namespace vantor
