// The number-entry, material-adjustment and cell-format dialogs: their typing rules, what OK
// and Cancel leave behind, and a PNG of each for a person to look at.

#include "tools/dialogs/dlgFormat.h"
#include "tools/dialogs/dlgShareLng.h"
#include "tools/dialogs/dlgTiaoCha.h"

#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "support/HostileText.h"
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

#include <filesystem>

using namespace vantor;

namespace
{

void renderToPng(QWidget &widget, const std::string &name)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vantor-dialog-shots";
    std::filesystem::create_directories(folder);
    widget.adjustSize();
    widget.show();
    const QString file = QString::fromStdString((folder / (name + ".png")).string());
    EXPECT_TRUE(widget.grab().save(file)) << file.toStdString();
}

// Every label and button shows its whole text.
void expectUncut(QWidget &dialog)
{
    dialog.adjustSize();
    dialog.show();
    for (QLabel *label : dialog.findChildren<QLabel *>()) {
        if (label->isVisibleTo(&dialog)) {
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        }
    }
    for (QAbstractButton *button : dialog.findChildren<QAbstractButton *>()) {
        if (button->isVisibleTo(&dialog) && !button->text().isEmpty()) {
            EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
        }
    }
}

NumberRequest rowCount()
{
    return DetailEditCommands::rowCountRequest(28);
}

TEST(dlgShareLng, CaptionPromptAndStartingText)
{
    dlgShareLng dialog(rowCount());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("设置表行数"));
    EXPECT_EQ(dialog.lblNote->text(), QStringLiteral("明细表行数为："));
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("28"));
    EXPECT_EQ(dialog.cmdSele[0]->text(), QStringLiteral("确定(&Y)"));
    EXPECT_EQ(dialog.cmdSele[1]->text(), QStringLiteral("取消(&C)"));
    expectUncut(dialog);
    renderToPng(dialog, "dlgShareLng");
}

TEST(dlgShareLng, TypingRulesForTheRowCount)
{
    dlgShareLng dialog(rowCount());
    dialog.show();
    dialog.txtBox->selectAll();
    QTest::keyClicks(dialog.txtBox, "5");
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("5"));
    QTest::keyClicks(dialog.txtBox, "a-.'");
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("5"));
    QTest::keyClick(dialog.txtBox, Qt::Key_Backspace);
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("5"));

    dialog.txtBox->selectAll();
    QTest::keyClicks(dialog.txtBox, "0");
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("20"));

    dialog.txtBox->selectAll();
    QTest::keyClicks(dialog.txtBox, "20000");
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("12403"));

    dialog.txtBox->setText(QStringLiteral("1x2"));
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("12"));

    dialog.UpDown1Up->click();
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("20"));
    dialog.txtBox->setText(QStringLiteral("12403"));
    dialog.UpDown1Up->click();
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("12403"));
    dialog.UpDown1Down->click();
    EXPECT_EQ(dialog.txtBox->text(), QStringLiteral("12402"));
}

TEST(dlgShareLng, OkGivesTheNumberCancelZero)
{
    {
        dlgShareLng dialog(DetailEditCommands::rowHeightRequest(18));
        dialog.txtBox->setText(QStringLiteral("40"));
        dialog.cmdSele[0]->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.value(), 40);
    }
    {
        dlgShareLng dialog(DetailEditCommands::rowHeightRequest(18));
        dialog.txtBox->setText(QStringLiteral("40"));
        dialog.cmdSele[1]->click();
        EXPECT_EQ(dialog.value(), 0);
    }
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

TEST(dlgTiaoCha, LayoutAndTyping)
{
    Inventory sheet;
    test::ScriptedPrompter prompter;
    dlgTiaoCha dialog(sheet.wb, 22, CellRange{0, 3, 0, 4}, prompter, true);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("材料调差计算"));
    EXPECT_TRUE(dialog.Text1->text().isEmpty());
    dialog.show();
    QTest::keyClicks(dialog.Text1, "-1a2,3.5'");
    EXPECT_EQ(dialog.Text1->text(), QStringLiteral("123.5"));
    QTest::keyClick(dialog.Text1, Qt::Key_Backspace);
    EXPECT_EQ(dialog.Text1->text(), QStringLiteral("123."));
    auto *denominator = dialog.findChild<QLabel *>("lblDenominator");
    ASSERT_NE(denominator, nullptr);
    EXPECT_EQ(denominator->text(), QStringLiteral("库存材料计划价总额"));
    expectUncut(dialog);
    dialog.Text1->setText(QStringLiteral("100"));
    renderToPng(dialog, "dlgTiaoCha");
}

TEST(dlgTiaoCha, OkSpreadsAndCloses)
{
    Inventory sheet;
    test::ScriptedPrompter prompter;
    dlgTiaoCha dialog(sheet.wb, 22, CellRange{0, 3, 0, 4}, prompter, true);
    dialog.Text1->setText(QStringLiteral("100"));
    dialog.cmdOk->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.outcome(), MaterialAdjustment::Outcome::Written);
    EXPECT_EQ(sheet.wb.DoGetCellData(6, 3).number(), 30);
    EXPECT_EQ(sheet.wb.DoGetCellData(6, 4).number(), 70);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(dlgTiaoCha, NotANumberStaysOpenCancelWritesNothing)
{
    Inventory sheet;
    test::ScriptedPrompter prompter;
    dlgTiaoCha dialog(sheet.wb, 22, CellRange{0, 3, 0, 4}, prompter, true);
    dialog.show();
    dialog.Text1->setText(QStringLiteral("1.2.3"));
    dialog.cmdOk->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{MaterialAdjustment::NotANumber}));
    EXPECT_FALSE(sheet.wb.CanUndo());

    dialog.Text1->setText(QStringLiteral("100"));
    dialog.cmdCancel->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(sheet.wb.CanUndo());
    EXPECT_TRUE(sheet.wb.DoGetCellData(6, 3).isEmpty());
}

TEST(dlgFormat, TabsCaptionsAndEnabling)
{
    Workbook wb;
    dlgFormat dialog(wb, CellRange{0, 0, 1, 1});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("单元格式"));
    ASSERT_EQ(dialog.SSTab1->count(), 3);
    EXPECT_EQ(dialog.SSTab1->tabText(0), QStringLiteral("数字"));
    EXPECT_EQ(dialog.SSTab1->tabText(1), QStringLiteral("显示"));
    EXPECT_EQ(dialog.SSTab1->tabText(2), QStringLiteral("保护"));
    EXPECT_EQ(dialog.opt3DState[2]->text(), QStringLiteral("3D凹陷按钮形状"));
    EXPECT_EQ(dialog.optTxtStyle[2]->text(), QStringLiteral("显示覆盖提示"));
    EXPECT_FALSE(dialog.chkPercent->isEnabled());

    dialog.optNumber->click();
    EXPECT_TRUE(dialog.chkPercent->isEnabled());
    EXPECT_TRUE(dialog.optNullZero->isEnabled());
    dialog.optNormal->click();
    EXPECT_FALSE(dialog.chkPercent->isEnabled());
    EXPECT_FALSE(dialog.optShowZero->isEnabled());

    expectUncut(dialog);
    for (int tab = 0; tab < 3; ++tab) {
        dialog.SSTab1->setCurrentIndex(tab);
        renderToPng(dialog, "dlgFormat" + std::to_string(tab));
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
    const CellFormatChoice choice = dialog.choice();
    EXPECT_EQ(choice.numberType, CellFormatChoice::NumberType::Numeric);
    EXPECT_TRUE(choice.percent);
    EXPECT_EQ(choice.zeroDisplay, CellFormatChoice::ZeroDisplay::Unchanged);
    EXPECT_EQ(choice.appearance, -1);
    dialog.OKButton->click();
    wb.DoSetCellData(1, 1, 0.5);
    EXPECT_EQ(wb.displayText(0, 1, 1), "50.00%");
    EXPECT_TRUE(wb.DoGetCellLock(0, 1));
    EXPECT_EQ(wb.cellFormat(1, 0).textStyle, 1);
    EXPECT_FALSE(wb.DoGetCellLock(2, 2));
}

} // namespace

namespace
{

TEST(HostileText, NumberBoxesTakeOnlyNumbers)
{
    dlgShareLng dialog(rowCount());
    test::pasteIntoEveryBox(dialog, true);
    dialog.accept(); // whatever the box holds: a number in range or a message, never a crash
    EXPECT_GE(dialog.value(), 0);
}

} // namespace
