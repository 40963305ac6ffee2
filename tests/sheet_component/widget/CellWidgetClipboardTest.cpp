// Cut, copy and paste through the system clipboard as tab-separated text, and undo of them.

#include "WidgetTestSupport.h"

#include <QClipboard>

namespace vantor::test {

using Clipboard = SheetViewTest;

TEST_F(Clipboard, TabSeparatedPasteFillsABlockAsOneUndoStep)
{
    QApplication::clipboard()->setText("1\t2.5\t三\r\n-4\t\tO'Neil\r\n");
    workbook->undoStack().clear();
    view->DoPaste(1, 2, true);
    EXPECT_EQ(workbook->DoGetCellData(2, 2).number(), 2.5);
    EXPECT_EQ(text(3, 2) + "|" + text(2, 3) + "|" + text(3, 3), "三||O'Neil");
    view->DoUndo();
    EXPECT_TRUE(workbook->DoGetCellData(3, 3).isEmpty());
    EXPECT_FALSE(workbook->CanUndo());
}

TEST_F(Clipboard, PasteBeyondTheSheetGrowsIt)
{
    workbook->SetRows(3);
    workbook->SetCols(3);
    view->DoRefreshLayout();
    QApplication::clipboard()->setText("a\tb\nc\td\n");
    view->DoPaste(2, 2, true);
    EXPECT_TRUE(workbook->Rows() == 4 && workbook->Cols() == 4);
    EXPECT_EQ(text(3, 3), "d");
}

TEST_F(Clipboard, OwnCopyPastesWithFormatsAndShiftedFormulas)
{
    workbook->DoSetCellData(0, 0, 3);
    workbook->DoSetCellFormula(1, 0, "a1*2");
    view->moveTo(0, 0);
    view->moveTo(1, 0, true);
    view->DoCopy();
    view->DoPaste(0, 4, true);
    EXPECT_EQ(workbook->formulaText(0, 1, 4), "A5*2");
    EXPECT_EQ(text(1, 4), "6");
    // Text put on the clipboard by another program wins over the view's own copy.
    QApplication::clipboard()->setText("7");
    view->DoPaste(0, 6, true);
    EXPECT_EQ(text(0, 6), "7");
    EXPECT_TRUE(workbook->DoGetCellData(1, 6).isEmpty());
}

TEST_F(Clipboard, CutClearsAndUndoRestores)
{
    workbook->DoSetCellData(0, 0, "a");
    workbook->DoSetCellData(1, 0, "b");
    workbook->undoStack().clear();
    view->moveTo(1, 0, true);
    view->DoCut();
    EXPECT_EQ(QApplication::clipboard()->text(), QString("a\tb\n"));
    EXPECT_TRUE(workbook->DoGetCellData(0, 0).isEmpty());
    view->DoUndo();
    EXPECT_EQ(text(0, 0) + text(1, 0), "ab");
}

TEST_F(Clipboard, RefusedOrReadOnlyPasteChangesNothing)
{
    QApplication::clipboard()->setText("x\ty\n");
    refuseRowsBelow = 3;
    view->DoPaste(0, 1, true);
    EXPECT_TRUE(workbook->DoGetCellData(0, 1).isEmpty());
    refuseRowsBelow = 0;
    view->SetReadOnly(true);
    view->DoPaste(0, 5, true);
    view->DoCut();
    EXPECT_TRUE(workbook->DoGetCellData(0, 5).isEmpty());
}

} // namespace vantor::test
