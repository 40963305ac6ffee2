// Moving and selecting in the sheet view with the keyboard and the mouse.

#include "WidgetTestSupport.h"

#include "sheet_component/widget/FindDialog.h"

#include <QLineEdit>

namespace vantor::test {

using Navigate = SheetViewTest;

TEST_F(Navigate, ArrowsTabAndEnterMoveTheCurrentCell)
{
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int col, row;
    };
    const Step steps[] = {
        {Qt::Key_Right, Qt::NoModifier, 1, 0},     {Qt::Key_Tab, Qt::NoModifier, 2, 0},
        {Qt::Key_Return, Qt::NoModifier, 2, 1},    {Qt::Key_Backtab, Qt::ShiftModifier, 1, 1},
        {Qt::Key_Return, Qt::ShiftModifier, 1, 0}, {Qt::Key_Up, Qt::NoModifier, 1, 0}, // stops at the edge
        {Qt::Key_End, Qt::NoModifier, 25, 0},      {Qt::Key_Home, Qt::NoModifier, 0, 0},
    };
    for (const Step &s : steps) {
        key(s.key, s.mods);
        EXPECT_EQ(view->selection().DoGetSelection(), (CellRange{s.col, s.row, s.col, s.row})) << "after key " << s.key;
    }
}

TEST_F(Navigate, ActiveCellChangedCarriesOldAndNewCellOnlyWhenItMoves)
{
    log.clear();
    key(Qt::Key_Down);
    key(Qt::Key_Up);
    key(Qt::Key_Up); // already at the top: no event
    EXPECT_EQ(log, (std::vector<std::string>{"active 0,0->0,1", "active 0,1->0,0"}));
}

TEST_F(Navigate, MergedBlocksAreOneStopAndSelectionsNeverCutThem)
{
    workbook->DoJoinCells(1, 1, 3, 2);
    view->moveTo(2, 2); // inside: lands on the block's top-left
    EXPECT_TRUE(view->selection().CurrentCol() == 1 && view->selection().CurrentRow() == 1);
    key(Qt::Key_Right);
    EXPECT_EQ(view->selection().CurrentCol(), 4);
    key(Qt::Key_Left);
    key(Qt::Key_Down);
    EXPECT_TRUE(view->selection().CurrentCol() == 1 && view->selection().CurrentRow() == 3);
    view->moveTo(0, 0);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view->selection().DoGetSelection(), (CellRange{0, 0, 3, 2}));
}

TEST_F(Navigate, PageDownMovesByAScreenAndScrolls)
{
    workbook->SetRows(12403);
    view->DoRefreshLayout();
    key(Qt::Key_PageDown);
    EXPECT_GT(view->selection().CurrentRow(), 5);
    EXPECT_GT(view->topRow(), 0);
    workbook->DoSetCellData(0, 12402, "last");
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view->selection().CurrentRow(), 12402);
    EXPECT_TRUE(view->cellRect(25, 12402).bottom() <= view->viewport()->height());
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view->selection().CurrentRow(), 0);
    EXPECT_EQ(view->topRow(), 0);
    // With the heading rows frozen A1 is always shown, yet the body scrolls back to the top.
    workbook->DoSetUnScrollRow(0, 2);
    view->DoRefreshLayout();
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view->selection().CurrentRow(), 0);
    EXPECT_EQ(view->topRow(), 3);
}

TEST_F(Navigate, HeaderClicksSelectWholeColumnsAndRows)
{
    const QRect c2 = view->cellRect(2, 0);
    const QPoint colHeader(c2.center().x(), c2.top() - 8);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, colHeader);
    EXPECT_EQ(view->selection().DoGetSelection(), (CellRange{2, 0, 2, workbook->Rows() - 1}));

    const QRect r3 = view->cellRect(0, 3);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(r3.left() - 10, r3.center().y()));
    EXPECT_EQ(view->selection().DoGetSelection(), (CellRange{0, 3, workbook->Cols() - 1, 3}));
    EXPECT_EQ(view->selection().CurrentRow(), 3);
}

TEST_F(Navigate, DraggingSelectsABlockAndShiftClickExtends)
{
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, view->cellRect(1, 1).center());
    QTest::mouseMove(view->viewport(), view->cellRect(3, 4).center());
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, view->cellRect(3, 4).center());
    EXPECT_EQ(view->selection().DoGetSelection(), (CellRange{1, 1, 3, 4}));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, view->cellRect(0, 0).center());
    EXPECT_EQ(view->selection().DoGetSelection(), (CellRange{0, 0, 1, 1}));
}

TEST_F(Navigate, RightClickReportsTheCellAndKeepsASelectionThatHoldsIt)
{
    int col = -1, row = -1;
    QObject::connect(view.get(), &CellWidget::rightClick, [&](int c, int r, const QPoint &) {
        col = c;
        row = r;
    });
    view->moveTo(1, 1);
    view->moveTo(3, 3, true);
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, view->cellRect(2, 2).center());
    EXPECT_TRUE(col == 2 && row == 2);
    EXPECT_EQ(view->selection().DoGetSelection(), (CellRange{1, 1, 3, 3}));
}

TEST_F(Navigate, ResizingByTheHeaderBorderAsksPermission)
{
    bool asked = false;
    bool grant = false;
    QObject::connect(view.get(), &CellWidget::permission, [&](bool *ok) {
        asked = true;
        *ok = grant;
    });
    const QRect c0 = view->cellRect(0, 0);
    const QPoint border(c0.right() + 1, c0.top() - 8);
    for (const bool granted : {false, true}) {
        grant = granted;
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, border);
        QTest::mouseMove(view->viewport(), border + QPoint(30, 0));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, border + QPoint(30, 0));
        EXPECT_TRUE(asked);
        EXPECT_EQ(workbook->DoGetColWidth(0), Sheet::DefaultColWidth + (granted ? 30 : 0));
    }
}

TEST_F(Navigate, ExtendingContinuesASelectionMadeFromCode)
{
    // 全选 selects from row 3 down; Shift+Up then shrinks it from the bottom.
    view->selection().DoSelectRange(0, 3, workbook->Cols() - 1, workbook->Rows() - 1);
    EXPECT_EQ(view->selection().CurrentRow(), 3);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(view->selection().DoGetSelection(), (CellRange{0, 3, workbook->Cols() - 1, workbook->Rows() - 2}));
}

TEST_F(Navigate, FindDialogMovesTheCurrentCellLikeTheUser)
{
    workbook->SetRows(3000);
    workbook->DoSetCellData(4, 2500, "存货");
    view->DoRefreshLayout();
    view->DoFind(false);
    auto *dialog = view->findChild<FindDialog *>();
    ASSERT_NE(dialog, nullptr);
    dialog->textEdit()->setText("存货");
    log.clear();
    ASSERT_TRUE(dialog->findNext());
    EXPECT_EQ(log, (std::vector<std::string>{"active 0,0->4,2500"}));
    // The hit is scrolled into view.
    const QRect hit = view->cellRect(4, 2500);
    EXPECT_TRUE(hit.top() >= 0 && hit.bottom() <= view->viewport()->height());
}

} // namespace vantor::test
