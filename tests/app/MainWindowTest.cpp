// The main window on the offscreen platform: menus and buttons, pane switching, the
// splitter and sheet events.
#include "app/MainAssembly.h"
#include "app/SheetHost.h"
#include "app/frmMain.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/widget/CellWidget.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <vector>

namespace vantor {
namespace {

using C = CommandId;

class MainWindow : public ::testing::Test {
protected:
    MainWindow()
        : assembly(state, ProjectSessionConfig{VANTOR_BIN_DIR, work.path().toStdString(), PasswordCost::minimal()}),
          window(assembly.window())
    {
    }

    // What the project store does when it opens a data-entry project: sheets in the
    // workbook, entries in the tree, the state, the commands.
    void openDataEntry(short sheet = 10)
    {
        Workbook &wb = window.workbook();
        wb.DoResetWorkbook();
        wb.setSheetLabel(0, "b0");
        for (const char *label : {"b1", "b10", "b22", "b78"})
            wb.DoAddSheet(label, 1);
        for (int i = 0; i < wb.SheetCount(); ++i) {
            wb.DoSetCurrentSheet(i);
            wb.SetRows(30);
        }
        QTreeWidget *tree = window.projectTree();
        for (const auto &[key, text] :
             std::vector<std::pair<QString, QString>>{{"b10", "表3-1-1   货币资金-现金清查评估明细表"},
                                                      {"b22", "表3-10-1  存货-原材料清查评估明细表"},
                                                      {"b78", "表11      备抵科目补充明细表"}}) {
            auto *item = new QTreeWidgetItem(tree, QStringList{text});
            item->setData(0, frmMain::treeKeyRole, key);
            if (key == QString("b%1").arg(sheet))
                tree->setCurrentItem(item);
        }
        wb.DoSetCurrentSheet(wb.findSheet("b" + std::to_string(sheet)));
        wb.SetReadOnly(false);
        state.projectOpen = true;
        state.projectKind = ProjectKind::DataEntry;
        state.currentSheet = sheet;
        window.refreshCommands();
    }

    bool toolbarOn(C id) const { return window.toolbarAction(id)->isEnabled(); }
    bool menuOn(C id) const { return window.menuAction(id)->isEnabled(); }

    QTemporaryDir work;
    ProgramState state;
    MainAssembly assembly;
    frmMain &window;
};

TEST_F(MainWindow, PanesFillTheBodyAndTheSplitterStopsAt600Twips)
{
    window.resize(1200, 800);
    window.show();
    QApplication::processEvents();
    QWidget *body = window.centralWidget();
    QWidget *cell = window.sheet().widget();
    EXPECT_EQ(cell->height(), body->height());

    QWidget *bar = window.findChild<QWidget *>("imgSplitter");
    ASSERT_NE(bar, nullptr);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(1, 10));
    QWidget *shadow = window.findChild<QWidget *>("picSplitter");
    EXPECT_TRUE(shadow->isVisible());
    QMouseEvent move(QEvent::MouseMove, QPointF(-5000, 10), bar->mapToGlobal(QPointF(-5000, 10)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(-5000, 10));
    EXPECT_FALSE(shadow->isVisible());
    EXPECT_EQ(window.paneLayout().tree.width, 600);
    EXPECT_EQ(cell->geometry().right() + 1, body->width());
}

TEST_F(MainWindow, DeleteEntryCaptionIsRewrittenWhenTheMenuOpens)
{
    openDataEntry(10);
    emit window.menuOf("m_Edit")->aboutToShow();
    EXPECT_FALSE(menuOn(C::DeleteSheet));
    window.projectTree()->setCurrentItem(window.projectTree()->topLevelItem(1));
    state.currentSheet = 22;
    emit window.menuOf("m_Edit")->aboutToShow();
    EXPECT_EQ(window.menuAction(C::DeleteSheet)->text(), "删除表3-10-1  存货-原材料清查评估明细表");
    EXPECT_TRUE(menuOn(C::DeleteSheet));
}

TEST_F(MainWindow, SwitchingToTheSummaryListAndBack)
{
    openDataEntry(22);
    window.setFreezeChecked(true);
    window.workbook().DoSetCellFont(0, 0, 11, 1, "黑体"); // the active cell of b22
    std::vector<short> totalsWritten;
    std::vector<std::pair<std::string, short>> computed;
    window.hooks().writeSheetTotals = [&](short sheet) { totalsWritten.push_back(sheet); };
    window.hooks().computeSummarySheet = [&](const std::string &label, short node) {
        computed.emplace_back(label, node);
    };

    window.dispatcher().dispatch(C::PaneSummary);
    EXPECT_FALSE(window.isDetailView());
    EXPECT_EQ(totalsWritten, std::vector<short>{22});
    EXPECT_EQ(computed, (std::vector<std::pair<std::string, short>>{{"b0", 0}}));
    EXPECT_TRUE(window.workbook().ReadOnly());
    EXPECT_FALSE(toolbarOn(C::EditUndo));
    // The computed summary sheet takes no format, and the toolbar shows its cell.
    EXPECT_FALSE(toolbarOn(C::FormatBold) || window.fontBox()->isEnabled() || menuOn(C::FormatCell));
    EXPECT_FALSE(window.toolbarAction(C::FormatBold)->isChecked());

    // A second switch to the list does nothing.
    window.dispatcher().dispatch(C::PaneSummary);
    EXPECT_EQ(totalsWritten.size(), 1u);

    window.dispatcher().dispatch(C::PaneDetail);
    EXPECT_TRUE(window.isDetailView());
    EXPECT_EQ(window.workbook().DoGetSheetLabel(window.workbook().CurrentSheet()), "b22");
    EXPECT_FALSE(window.workbook().ReadOnly());
    const Sheet &sheet = window.workbook().sheet(window.workbook().CurrentSheet());
    EXPECT_EQ(sheet.frozenRows(), (FrozenRows{0, 2}));
    EXPECT_TRUE(toolbarOn(C::SortAscending) && toolbarOn(C::FormatBold));
    EXPECT_TRUE(window.toolbarAction(C::FormatBold)->isChecked());
    EXPECT_EQ(window.fontBox()->currentText(), "黑体");
    // The menu entry toggles the frozen rows off and on again.
    window.menuAction(C::ViewFreezeRows)->trigger();
    EXPECT_FALSE(window.freezeChecked() || sheet.frozenRows().any());
    window.menuAction(C::ViewFreezeRows)->trigger();
    EXPECT_EQ(sheet.frozenRows(), (FrozenRows{0, 2}));
}

TEST_F(MainWindow, Sheet78KeepsSortAndMergeOffAfterAPaneSwitch)
{
    openDataEntry(78);
    window.dispatcher().dispatch(C::PaneSummary);
    window.dispatcher().dispatch(C::PaneDetail);
    EXPECT_FALSE(window.freezeChecked());
    EXPECT_FALSE(toolbarOn(C::SortAscending) || menuOn(C::ViewFreezeRows));
    EXPECT_TRUE(toolbarOn(C::EditUndo));
}

TEST_F(MainWindow, SelectAllStartsBelowTheTotalRow)
{
    openDataEntry(22);
    window.dispatcher().dispatch(C::EditSelectAll);
    const CellRange r = window.workbook().DoGetSelection();
    EXPECT_TRUE(r.row1 == 3 && r.col1 == 0 && r.row2 == window.workbook().Rows() - 1);
}

TEST_F(MainWindow, PasteWithoutClipboardTextDoesNothing)
{
    openDataEntry(22);
    Workbook &wb = window.workbook();
    wb.DoSetCellData(1, 3, "甲");
    wb.DoSelectRange(1, 3, 1, 3);
    wb.DoCopy();
    QApplication::clipboard()->clear();
    wb.DoGotoCell(1, 5);
    window.toolbarAction(C::EditPaste)->trigger();
    EXPECT_TRUE(wb.DoGetCellData(1, 5).isEmpty());
}

TEST_F(MainWindow, TheViewAsksBeforeEditingAndLeavingAnEditedCellRecomputesItsRow)
{
    auto *view = qobject_cast<CellWidget *>(window.sheet().widget());
    ASSERT_NE(view, nullptr);
    view->moveTo(0, 3);
    EXPECT_FALSE(view->startEditing("x", true)); // the welcome page cannot be edited
    openDataEntry(22);
    Workbook &wb = window.workbook();
    wb.DoSetCellData(5, 3, 100.0);
    wb.DoSetCellData(6, 3, 20.0);
    ASSERT_TRUE(window.onMayEdit(5, 3));
    window.onTextChanged(5, 3);
    window.onActiveCellChanged(5, 3, 6, 3); // 调整后帐面值 = 帐面价值 + 调整
    EXPECT_EQ(wb.DoGetCellData(7, 3).number(), 120.0);
    wb.DoSetCellData(6, 3, 1.0);
    window.onActiveCellChanged(6, 3, 6, 4); // only moving
    EXPECT_EQ(wb.DoGetCellData(7, 3).number(), 120.0);
}

TEST_F(MainWindow, BoldButtonAppliesTheToolbarsStyleAndTheActiveCellsFormatShowsThere)
{
    openDataEntry(22);
    Workbook &wb = window.workbook();
    wb.DoSetCellFont(1, 3, 9, 2, "黑体");
    wb.DoSelectRange(1, 3, 1, 3);
    window.fontBox()->setCurrentText("宋体");
    window.sizeBox()->setCurrentText("10");
    window.toolbarAction(C::FormatBold)->trigger(); // toggles on, then applies
    EXPECT_EQ(wb.DoGetCellFont(1, 3), (FontSpec{"宋体", 10, 1}));
    wb.DoSetCellFont(2, 4, 11, 6, "黑体");
    wb.DoSetCellAlignment(2, 4, 34);
    window.onActiveCellChanged(1, 4, 2, 4);
    EXPECT_EQ(window.fontBox()->currentText() + window.sizeBox()->currentText(), "黑体11");
    EXPECT_TRUE(window.toolbarAction(C::FormatItalic)->isChecked());
    EXPECT_TRUE(window.toolbarAction(C::AlignRight)->isChecked());
}

TEST_F(MainWindow, F6MovesTheKeyboardAmongThePanesShownAndArrowsInTheTreeShowTheEntry)
{
    openDataEntry(10);
    std::vector<std::string> shown;
    window.hooks().projectTreeClicked = [&](QTreeWidgetItem *item) {
        shown.push_back(item->data(0, frmMain::treeKeyRole).toString().toStdString());
    };
    window.show();
    QApplication::setActiveWindow(&window);
    QWidget *sheet = window.sheet().widget();
    QWidget *mark = window.findChild<QWidget *>("paneFocusMark");
    // The keyboard starts in the sheet, not in the font box.
    EXPECT_EQ(window.focusedPane(), sheet);
    EXPECT_EQ(mark->geometry(), sheet->geometry());
    auto press = [](QWidget *w, const QKeySequence &keys) { QTest::keySequence(w, keys); };
    press(sheet, Qt::Key_F6);
    EXPECT_EQ(window.focusedPane(), window.projectTree());
    EXPECT_EQ(mark->geometry(), window.projectTree()->geometry());
    QTest::keyClick(window.projectTree(), Qt::Key_Down);
    EXPECT_EQ(shown, (std::vector<std::string>{"b22"}));
    press(window.projectTree(), Qt::Key_F6);
    EXPECT_EQ(window.focusedPane(), sheet);
    // Typing in the sheet, then Shift+F6: the edit ends and the keyboard goes back.
    window.workbook().DoGotoCell(1, 5);
    QTest::keyClicks(sheet, "7");
    ASSERT_TRUE(window.sheet().isEditing());
    press(static_cast<CellWidget *>(sheet)->editor(), QKeySequence(Qt::SHIFT | Qt::Key_F6));
    EXPECT_FALSE(window.sheet().isEditing());
    EXPECT_EQ(window.focusedPane(), window.projectTree());
    // The summary list takes the tree's place, and the keyboard with it.
    window.dispatcher().dispatch(C::PaneSummary);
    EXPECT_EQ(window.focusedPane(), window.fixedTree());
    press(window.fixedTree(), Qt::Key_F6);
    EXPECT_EQ(window.focusedPane(), sheet);
    window.dispatcher().dispatch(C::PaneDetail);
    shown.clear();
    // The program choosing an entry itself is no click.
    window.projectTree()->clearFocus();
    window.projectTree()->setCurrentItem(window.projectTree()->topLevelItem(0));
    EXPECT_TRUE(shown.empty());
}

} // namespace
} // namespace vantor
