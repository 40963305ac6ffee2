// The number-entry, material-adjustment and cell-format dialogs: their typing rules, what OK
// and Cancel leave behind, and no control cut off or overlapping another.

#include "calculators/dialogs/dlgFormat.h"
#include "calculators/dialogs/dlgShareLng.h"
#include "calculators/dialogs/dlgTiaoCha.h"

#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "support/DialogLayout.h"
#include "support/ScriptedPrompter.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

NumberRequest rowCount()
{
    return DetailEditCommands::rowCountRequest(28);
}

TEST(dlgShareLng, TypingRulesForTheRowCountOkGivesTheNumberCancelZero)
{
    dlgShareLng dialog(rowCount());
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("28"));
    test::expectTidy(dialog);
    dialog.txtBox->selectAll();
    QTest::keyClicks(dialog.txtBox, "5");
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("5"));
    QTest::keyClick(dialog.txtBox, Qt::Key_Backspace); // never leaves the box empty
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("5"));
    dialog.txtBox->setText(QStringLiteral("12403"));
    dialog.UpDown1Up->click();
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("12403"));
    dialog.cmdSele[0]->click();
    EXPECT_EQ(dialog.value(), 12403);
    dlgShareLng cancelled(DetailEditCommands::rowHeightRequest(18));
    cancelled.txtBox->setText(QStringLiteral("40"));
    cancelled.cmdSele[1]->click();
    EXPECT_EQ(cancelled.value(), 0);
}

struct Inventory {
    Workbook wb;
    Inventory()
    {
        DetailSheetBuilder::build(wb, 22);
        wb.DoSetCellData(5, 3, 30.0);
        wb.DoSetCellData(5, 4, 70.0);
        wb.undoStack().clear();
    }
};

TEST(dlgTiaoCha, TypingRulesNotANumberStaysOpenCancelWritesNothingOkSpreads)
{
    Inventory sheet;
    test::ScriptedPrompter prompter;
    dlgTiaoCha dialog(sheet.wb, 22, CellRange{0, 3, 0, 4}, prompter, true);
    test::expectTidy(dialog);
    QTest::keyClicks(dialog.Text1, "-1a2,3.5'");
    EXPECT_EQ(dialog.Text1->text(), QStringLiteral("123.5"));
    dialog.show();
    dialog.Text1->setText(QStringLiteral("1.2.3"));
    dialog.cmdOk->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{MaterialAdjustment::NotANumber}));
    EXPECT_FALSE(sheet.wb.CanUndo());

    dialog.cmdCancel->click();
    EXPECT_FALSE(sheet.wb.CanUndo());

    dlgTiaoCha ok(sheet.wb, 22, CellRange{0, 3, 0, 4}, prompter, true);
    ok.Text1->setText(QStringLiteral("100"));
    ok.cmdOk->click();
    EXPECT_EQ(ok.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.wb.DoGetCellData(6, 4).number(), 70);
}

TEST(dlgFormat, PercentAndZeroDisplayOnlyForNumbers)
{
    Workbook wb;
    dlgFormat dialog(wb, CellRange{0, 0, 1, 1});
    EXPECT_FALSE(dialog.chkPercent->isEnabled());

    dialog.optNumber->click();
    EXPECT_TRUE(dialog.optNullZero->isEnabled());

    for (int tab = 0; tab < 3; ++tab) {
        dialog.SSTab1->setCurrentIndex(tab);
        test::expectTidy(dialog);
    }
}

TEST(dlgFormat, OkAppliesThePickedGroupsCancelNothing)
{
    Workbook wb;
    {
        dlgFormat dialog(wb, CellRange{0, 0, 1, 1});
        dialog.optNumber->click();
        dialog.chkPercent->click();
        dialog.optNullZero->click();
        dialog.optLock->click();
        dialog.CancelButton->click();
        EXPECT_FALSE(wb.CanUndo());
    }
    dlgFormat dialog(wb, CellRange{0, 0, 1, 1});
    dialog.optNumber->click();
    dialog.chkPercent->click();
    dialog.optLock->click();
    dialog.optTxtStyle[1]->click();
    dialog.OKButton->click();
    wb.DoSetCellData(1, 1, 0.5);
    EXPECT_EQ(wb.displayText(0, 1, 1), "50.00%");
    EXPECT_TRUE(wb.DoGetCellLock(0, 1));
    EXPECT_EQ(wb.cellFormat(1, 0).textStyle, 1);
}

} // namespace
