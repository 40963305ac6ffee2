// In-place editing of the sheet view: the order of its events, refusals, cancelling, input
// masks, read-only sheets and undo of whole user actions.

#include "WidgetTestSupport.h"

#include "sheet_component/engine/UndoGroup.h"

#include <QLineEdit>

#include <utility>

namespace vantor::test {

using Edit = SheetViewTest;
using Strings = std::vector<std::string>;

TEST_F(Edit, TypingRaisesEventsInOrderAndStoresTheValue)
{
    view->moveTo(1, 3);
    log.clear();
    type("12");
    EXPECT_TRUE(view->isEditing());
    key(Qt::Key_Return);
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(log, (Strings{"mayAct 1,3", "mayEdit 1,3", "text 1,3 1", "text 1,3 12", "repaint", "active 1,3->1,4"}));
    EXPECT_EQ(workbook->DoGetCellData(1, 3).number(), 12);
}

TEST_F(Edit, RefusedEditNeverEntersEditMode)
{
    refuseRowsBelow = 3;
    workbook->DoSetCellData(0, 2, "合计");
    view->moveTo(0, 2);
    log.clear();
    type("x");
    EXPECT_FALSE(view->editor()->isVisible());
    key(Qt::Key_F2);
    EXPECT_FALSE(view->isEditing());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->cellRect(0, 2).center());
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(text(0, 2), "合计");
    for (const std::string &e : log)
        EXPECT_EQ(e.rfind("text", 0), std::string::npos) << e;
    // Row 3 is editable.
    view->moveTo(0, 3);
    type("y");
    EXPECT_TRUE(view->isEditing());
    key(Qt::Key_Escape);
    // A refused action stops before the edit is even asked for.
    refuseAct = true;
    view->moveTo(2, 5);
    log.clear();
    type("7");
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(log, (Strings{"mayAct 2,5"}));
}

TEST_F(Edit, EscapeOrAnUnchangedEditLeavesNoUndoStep)
{
    workbook->DoSetCellData(0, 0, "old");
    workbook->undoStack().clear();
    key(Qt::Key_F2);
    ASSERT_TRUE(view->isEditing());
    EXPECT_EQ(view->editor()->text(), "old");
    type("er");
    key(Qt::Key_Escape);
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(text(0, 0), "old");
    EXPECT_FALSE(workbook->CanUndo());
    // F2 and Return without a change store nothing either.
    key(Qt::Key_F2);
    key(Qt::Key_Return);
    EXPECT_FALSE(workbook->CanUndo());
}

TEST_F(Edit, FormulasHostileTextAndChineseAreStoredAsTyped)
{
    type("=2*3");
    key(Qt::Key_Tab);
    EXPECT_EQ(text(0, 0), "6");
    type("O'Brien's \"x\"; 应收账款");
    key(Qt::Key_Return);
    EXPECT_EQ(text(1, 0), "O'Brien's \"x\"; 应收账款");
    // A formula that does not parse keeps its text and shows the error.
    view->moveTo(3, 0);
    type("=sum(");
    key(Qt::Key_Return);
    EXPECT_EQ(text(3, 0), "#ERROR!");
}

TEST_F(Edit, ArrowKeysAndClicksCommitWhenTypingButArrowsMoveTheCaretAfterF2)
{
    view->moveTo(1, 1);
    type("5");
    key(Qt::Key_Right);
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(view->selection().CurrentCol(), 2);
    EXPECT_EQ(text(1, 1), "5");
    // Shift or Ctrl with an arrow stay inside the typed text; the Tab after it moves one cell.
    type("USD");
    key(Qt::Key_Left, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ControlModifier);
    key(Qt::Key_Tab);
    EXPECT_EQ(text(2, 1), "USD");
    EXPECT_EQ(view->selection().CurrentCol(), 3);

    view->moveTo(1, 1);
    key(Qt::Key_F2);
    key(Qt::Key_Left);
    EXPECT_TRUE(view->isEditing());
    type("4");
    key(Qt::Key_Down);
    EXPECT_EQ(text(1, 1), "45");
    EXPECT_EQ(view->selection().CurrentRow(), 2);
    // Clicking another cell commits too.
    type("abc");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cellRect(2, 4).center());
    EXPECT_EQ(text(1, 2), "abc");
    EXPECT_EQ(view->selection().CurrentRow(), 4);
}

TEST_F(Edit, InputMaskFiltersTypingAndRefusesAHalfFilledValue)
{
    workbook->DoSetCellInputMask(0, 0, "9999");
    type("1a2b3");
    EXPECT_EQ(view->editor()->text(), "123");
    key(Qt::Key_Return);
    EXPECT_TRUE(view->isEditing());
    EXPECT_FALSE(view->endEditing());
    EXPECT_TRUE(workbook->DoGetCellData(0, 0).isEmpty());
    type("4");
    key(Qt::Key_Return);
    EXPECT_EQ(workbook->DoGetCellData(0, 0).number(), 1234);
}

TEST_F(Edit, ReadOnlySheetRefusesEditsButStillNavigates)
{
    view->SetReadOnly(true);
    type("9");
    EXPECT_FALSE(view->isEditing());
    key(Qt::Key_Delete);
    key(Qt::Key_Down);
    EXPECT_EQ(view->selection().CurrentRow(), 1);
    view->SetReadOnly(false);
    type("9");
    EXPECT_TRUE(view->isEditing());
    // Made read-only while editing: the edit is dropped.
    view->SetReadOnly(true);
    EXPECT_FALSE(view->isEditing());
    EXPECT_TRUE(workbook->DoGetCellData(0, 1).isEmpty());
}

TEST_F(Edit, EditAndTheRecomputationOnLeavingAreOneUndoStep)
{
    // The handlers stand in for the row recomputation run when an edited cell is left.
    bool edited = false;
    QObject::connect(view.get(), &CellWidget::textChanged, [&edited] { edited = true; });
    QObject::connect(view.get(), &CellWidget::activeCellChanged, [this, &edited](int, int oldRow, int, int) {
        if (!std::exchange(edited, false))
            return;
        const double v = workbook->DoGetCellData(0, oldRow).toNumber();
        workbook->DoSetCellData(1, oldRow, v * 2);
        workbook->DoSetCellData(2, oldRow, v * 3);
    });
    view->moveTo(0, 3);
    workbook->undoStack().clear();
    type("10");
    key(Qt::Key_Return);
    EXPECT_EQ(text(2, 3), "30");
    ASSERT_TRUE(workbook->CanUndo());
    // Undo and redo go back to the cell the user changed, not to a recomputed one.
    view->moveTo(5, 9);
    view->DoUndo();
    EXPECT_TRUE(workbook->DoGetCellData(0, 3).isEmpty());
    EXPECT_TRUE(workbook->DoGetCellData(2, 3).isEmpty());
    EXPECT_FALSE(workbook->CanUndo());
    EXPECT_EQ(pos(view->selection().CurrentCol(), view->selection().CurrentRow()), "0,3");
    view->moveTo(5, 9);
    view->DoRedo();
    EXPECT_EQ(text(0, 3) + "|" + text(2, 3), "10|30");
    EXPECT_EQ(pos(view->selection().CurrentCol(), view->selection().CurrentRow()), "0,3");
}

TEST_F(Edit, DeleteClearsTheSelectionExceptRefusedCells)
{
    refuseRowsBelow = 3;
    for (int r = 1; r < 6; ++r)
        workbook->DoSetCellData(0, r, r);
    view->moveTo(0, 1);
    view->moveTo(0, 5, true);
    key(Qt::Key_Delete);
    EXPECT_EQ(text(0, 1) + text(0, 2) + text(0, 3) + text(0, 5), "12");
    view->DoUndo();
    EXPECT_EQ(text(0, 4), "4");
}

TEST_F(Edit, ResettingTheWorkbookOrClosingTheViewWhileEditingDropsTheEdit)
{
    type("abc");
    workbook->DoResetWorkbook();
    EXPECT_FALSE(view->isEditing());
    EXPECT_TRUE(workbook->DoGetCellData(0, 0).isEmpty());
    type("half");
    view.reset();
    EXPECT_TRUE(workbook->DoGetCellData(0, 0).isEmpty());
    // The workbook no longer reports to the closed view.
    workbook->DoSetCellData(1, 1, "after");
    EXPECT_EQ(workbook->displayText(0, 1, 1), "after");
}

} // namespace vantor::test
