// The main window on the offscreen platform: the splitter, pane switching, the frozen
// rows, the format toolbar, the keyboard among the panes and the sheet's events.
#include "app/CommandBars.h"
#include "app/FormatCommands.h"
#include "app/ProjectTreeView.h"
#include "app/SheetHost.h"
#include "project/ProjectTree.h"
#include "sheet_component/engine/Selection.h"
#include "sheet_component/widget/CellWidget.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>

#include <vector>

namespace vantor {
namespace {

using C = CommandId;

class MainWindow : public test::AppFixture {
protected:
    // A data-entry project showing b10, b22 or b78.
    void openDataEntry(short sheet)
    {
        newProjectWithSheet(SheetListRow{22, "表3-10-1", "存货-原材料清查评估明细表"});
        if (sheet != 22)
            projects().onProjectTreeClicked("b" + std::to_string(sheet));
        ASSERT_EQ(state.currentSheet, sheet);
    }
    bool toolbarOn(C id) { return window().toolbarAction(id)->isEnabled(); }
    bool menuOn(C id) { return window().menuAction(id)->isEnabled(); }
};

TEST_F(MainWindow, PanesFillTheBodyAndTheSplitterStopsAt600Twips)
{
    window().resize(1200, 800);
    window().show();
    QApplication::processEvents();
    QWidget *body = window().centralWidget();
    QWidget *cell = window().sheet().widget();
    EXPECT_EQ(cell->height(), body->height());

    QWidget *bar = window().findChild<QWidget *>("imgSplitter");
    ASSERT_NE(bar, nullptr);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(1, 10));
    QWidget *shadow = window().findChild<QWidget *>("picSplitter");
    EXPECT_TRUE(shadow->isVisible());
    QMouseEvent move(QEvent::MouseMove, QPointF(-5000, 10), bar->mapToGlobal(QPointF(-5000, 10)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(-5000, 10));
    EXPECT_FALSE(shadow->isVisible());
    EXPECT_EQ(window().paneLayout().tree.width, 600);
    EXPECT_EQ(cell->geometry().right() + 1, body->width());
}

TEST_F(MainWindow, SwitchingToTheSummaryListAndBack)
{
    openDataEntry(22);
    wb().DoSetCellFont(0, 0, 11, 1, "黑体"); // the active cell of b22
    std::vector<short> totalsWritten;
    std::vector<std::pair<std::string, short>> computed;
    window().hooks().writeSheetTotals = [&](short sheet) { totalsWritten.push_back(sheet); };
    window().hooks().computeSummarySheet = [&](const std::string &label, short node) {
        computed.emplace_back(label, node);
    };

    run(C::PaneSummary);
    EXPECT_FALSE(doc().detailView() || window().projectTree()->isVisibleTo(&window()));
    EXPECT_EQ(totalsWritten, std::vector<short>{22});
    EXPECT_EQ(computed, (std::vector<std::pair<std::string, short>>{{"b0", 0}}));
    EXPECT_TRUE(wb().ReadOnly());
    // The computed summary sheet takes no format or edit, and the toolbar shows its cell.
    EXPECT_FALSE(toolbarOn(C::EditUndo));
    EXPECT_FALSE(toolbarOn(C::FormatBold) || window().fontBox()->isEnabled() || menuOn(C::FormatCell));
    EXPECT_EQ(window().fontBox()->currentText().toStdString(),
              formatStateOf(wb(), doc().selection().CurrentCol(), doc().selection().CurrentRow()).fontName);
    EXPECT_NE(window().fontBox()->currentText(), "黑体");
    run(C::PaneSummary); // a second switch to the list does nothing
    EXPECT_EQ(totalsWritten.size(), 1u);

    run(C::PaneDetail);
    EXPECT_TRUE(doc().detailView() && window().projectTree()->isVisibleTo(&window()));
    EXPECT_EQ(label(), "b22");
    EXPECT_FALSE(wb().ReadOnly());
    const Sheet &sheet = wb().sheet(wb().CurrentSheet());
    EXPECT_EQ(sheet.frozenRows(), (FrozenRows{0, 2}));
    EXPECT_TRUE(toolbarOn(C::SortAscending) && toolbarOn(C::FormatBold));
    EXPECT_TRUE(window().toolbarAction(C::FormatBold)->isChecked());
    EXPECT_EQ(window().fontBox()->currentText(), "黑体");
    // The menu entry toggles the frozen rows off and on again; its check mark follows.
    QAction *freeze = window().menuAction(C::ViewFreezeRows);
    freeze->trigger();
    EXPECT_FALSE(doc().freezeRows() || freeze->isChecked() || sheet.frozenRows().any());
    freeze->trigger();
    EXPECT_TRUE(doc().freezeRows() && freeze->isChecked());
    EXPECT_EQ(sheet.frozenRows(), (FrozenRows{0, 2}));
    // Select all starts below the total row.
    run(C::EditSelectAll);
    const CellRange r = doc().selection().DoGetSelection();
    EXPECT_TRUE(r.row1 == 3 && r.col1 == 0 && r.row2 == wb().Rows() - 1);
}

TEST_F(MainWindow, Sheet78KeepsSortFreezeAndDeleteOffAfterAPaneSwitch)
{
    openDataEntry(78);
    prompter.answers.push_back(Answer::No); // 万元 on b0
    run(C::PaneSummary);
    run(C::PaneDetail);
    EXPECT_FALSE(doc().freezeRows());
    EXPECT_FALSE(toolbarOn(C::SortAscending) || menuOn(C::ViewFreezeRows));
    EXPECT_TRUE(toolbarOn(C::EditUndo));
    // The delete entry names the selected sheet as the menu opens; 表11 cannot go.
    emit window().menuOf("m_Edit")->aboutToShow();
    EXPECT_FALSE(menuOn(C::DeleteSheet));
    projects().onProjectTreeClicked("b22");
    emit window().menuOf("m_Edit")->aboutToShow();
    EXPECT_EQ(window().menuAction(C::DeleteSheet)->text().toStdString(),
              "删除" + ProjectTree::sheetCaption("表3-10-1", "存货-原材料清查评估明细表"));
    EXPECT_TRUE(menuOn(C::DeleteSheet));
}

TEST_F(MainWindow, PasteWithoutClipboardTextDoesNothing)
{
    openDataEntry(22);
    wb().DoSetCellData(1, 3, "甲");
    doc().selection().DoSelectRange(1, 3, 1, 3);
    window().sheet().DoCopy();
    QApplication::clipboard()->clear();
    doc().selection().DoGotoCell(1, 5);
    window().toolbarAction(C::EditPaste)->trigger();
    EXPECT_TRUE(wb().DoGetCellData(1, 5).isEmpty());
}

TEST_F(MainWindow, TheViewAsksBeforeEditingAndLeavingAnEditedCellRecomputesItsRow)
{
    auto *view = qobject_cast<CellWidget *>(window().sheet().widget());
    ASSERT_NE(view, nullptr);
    view->moveTo(0, 3);
    EXPECT_FALSE(view->startEditing("x", true)); // the welcome page cannot be edited
    openDataEntry(22);
    Workbook &wb = this->wb();
    wb.DoSetCellData(5, 3, 100.0);
    wb.DoSetCellData(6, 3, 20.0);
    ASSERT_TRUE(window().onMayEdit(5, 3));
    window().onTextChanged(5, 3);
    window().onActiveCellChanged(5, 3, 6, 3); // 调整后帐面值 = 帐面价值 + 调整
    EXPECT_EQ(wb.DoGetCellData(7, 3).number(), 120.0);
    wb.DoSetCellData(6, 3, 1.0);
    window().onActiveCellChanged(6, 3, 6, 4); // only moving
    EXPECT_EQ(wb.DoGetCellData(7, 3).number(), 120.0);
}

TEST_F(MainWindow, BoldButtonAppliesTheToolbarsStyleAndTheActiveCellsFormatShowsThere)
{
    openDataEntry(22);
    wb().DoSetCellFont(1, 3, 9, 2, "黑体");
    doc().selection().DoSelectRange(1, 3, 1, 3);
    window().fontBox()->setCurrentText("宋体");
    window().sizeBox()->setCurrentText("10");
    window().toolbarAction(C::FormatBold)->trigger(); // toggles on, then applies
    EXPECT_EQ(wb().DoGetCellFont(1, 3), (FontSpec{"宋体", 10, 1}));
    wb().DoSetCellFont(2, 4, 11, 6, "黑体");
    wb().DoSetCellAlignment(2, 4, 34);
    window().onActiveCellChanged(1, 4, 2, 4);
    EXPECT_EQ(window().fontBox()->currentText() + window().sizeBox()->currentText(), "黑体11");
    EXPECT_TRUE(window().toolbarAction(C::FormatItalic)->isChecked());
    EXPECT_TRUE(window().toolbarAction(C::AlignRight)->isChecked());
}

// F6 between the tree and the sheet and the arrows in the tree run on the real program
// (tests/scenario/edit_keys.sh).
TEST_F(MainWindow, TheFocusMarkAndTheKeyboardFollowThePaneShown)
{
    openDataEntry(10);
    std::vector<std::string> shown;
    window().hooks().projectTreeClicked = [&](const std::string &key) { shown.push_back(key); };
    window().show();
    QApplication::setActiveWindow(&window());
    QWidget *sheet = window().sheet().widget();
    QTreeWidget *tree = window().projectTree();
    QWidget *mark = window().findChild<QWidget *>("paneFocusMark");
    // The keyboard starts in the sheet, not in the font box.
    EXPECT_EQ(window().focusedPane(), sheet);
    EXPECT_EQ(mark->geometry(), sheet->geometry());
    // Typing in the sheet, then Shift+F6: the edit ends and the keyboard goes to the tree.
    doc().selection().DoGotoCell(1, 5);
    QTest::keyClicks(sheet, "7");
    ASSERT_TRUE(window().sheet().isEditing());
    QTest::keySequence(static_cast<CellWidget *>(sheet)->editor(), QKeySequence(Qt::SHIFT | Qt::Key_F6));
    EXPECT_FALSE(window().sheet().isEditing());
    EXPECT_EQ(window().focusedPane(), tree);
    EXPECT_EQ(mark->geometry(), tree->geometry());
    // The summary list takes the tree's place, and the keyboard with it.
    prompter.answers.push_back(Answer::No); // 万元 on b0
    run(C::PaneSummary);
    EXPECT_EQ(window().focusedPane(), window().fixedTree());
    QTest::keySequence(window().fixedTree(), Qt::Key_F6);
    EXPECT_EQ(window().focusedPane(), sheet);
    run(C::PaneDetail);
    // The program choosing an entry itself is no click.
    doc().setCurrentEntry("b22");
    EXPECT_EQ(tree->currentItem(), window().projectTreeView().item("b22"));
    EXPECT_TRUE(shown.empty());
}

} // namespace
} // namespace vantor
