#include "EngineTestSupport.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(Sheets, InsertFindDeleteAndTheCurrentSheetFollows)
{
    Workbook wb;
    wb.DoAddSheet("b10");
    wb.DoAddSheet("b12", 2);
    wb.DoInsertSheet("b1", 1, 1);
    wb.DoInsertSheet("b0", 99, 1); // clamped to the end
    const char *labels[] = {"Sheet1", "b1", "b10", "b12", "b12", "b0"};
    ASSERT_EQ(wb.SheetCount(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(wb.DoGetSheetLabel(i), labels[i]);
    EXPECT_EQ(wb.findSheet("b12"), 3);
    wb.DoSetCurrentSheet(3);
    wb.DoInsertSheet("x", 0, 1);
    EXPECT_EQ(wb.CurrentSheet(), 4);
    wb.DoDeleteSheets(0, 2);
    EXPECT_EQ(wb.CurrentSheet(), 2);
    wb.DoDeleteSheets(wb.CurrentSheet(), 1); // deleting the current one
    EXPECT_LT(wb.CurrentSheet(), wb.SheetCount());
    wb.DoDeleteSheets(0, 99); // the last sheet is never deleted
    EXPECT_EQ(wb.SheetCount(), 1);
}

TEST(Sheets, CopySheetCopiesContentFormatsAndLayoutKeepingTheLabel)
{
    Workbook wb;
    wb.SetCols(4);
    wb.SetRows(30);
    wb.DoSetCellData(1, 3, 10.0);
    wb.DoSetCellData(1, 4, 20.0);
    wb.DoSetCellFormula(1, 2, "sum(B4:B30)");
    wb.DoSetCellNumberStyle(1, 2, 1, false, 2);
    wb.DoJoinCells(0, 0, 3, 0);
    wb.DoSetRowHeight(0, 30);
    wb.DoSetUnScrollRow(0, 2);
    wb.DoAddSheet("print");
    wb.DoCopySheet(1, 0);
    EXPECT_EQ(wb.DoGetSheetLabel(1), "print");
    std::string a = test::dumpSheet(wb, 0), b = test::dumpSheet(wb, 1);
    EXPECT_EQ(a.substr(a.find('\n')), b.substr(b.find('\n')));
    // The copy is independent and its formulas read its own cells.
    wb.DoSetCellData(1, 3, 1.0, 1);
    EXPECT_EQ(wb.DoGetSheetCellData(1, 2, 1).number(), 21);
    EXPECT_EQ(wb.DoGetSheetCellData(1, 2, 0).number(), 30);
}

TEST(Sheets, PerSheetOperationsWithAnExplicitIndex)
{
    Workbook wb;
    wb.DoAddSheet("b16");
    wb.DoSetCellData(0, 0, "x", 1);
    wb.DoSetColWidth(0, 200, 1);
    wb.DoSetCellFont(0, 0, 12, 1, "宋体", 1);
    wb.DoInsertRows(0, 2, 1);
    EXPECT_TRUE(wb.DoGetCellData(0, 0).isEmpty()); // the current sheet is untouched
    EXPECT_EQ(wb.DoGetSheetCellData(0, 2, 1).text(), "x");
    EXPECT_TRUE(wb.DoGetColWidth(0, 1) == 200 && wb.DoGetCellFont(0, 2, 1).style == 1);
    EXPECT_EQ(wb.Rows(1), Workbook::DefaultRows + 2);
}

TEST(Sheets, AssignFromTakesOverContentAndClearsHistory)
{
    Workbook loaded;
    loaded.DoAddSheet("b10");
    loaded.DoSetCellFormula(0, 0, "getcell(1,1,2)+1", 0);
    loaded.DoSetCellData(0, 0, 4.0, 1);
    Workbook wb;
    wb.DoSetCellData(0, 0, 1.0);
    wb.assignFrom(std::move(loaded));
    EXPECT_EQ(wb.SheetCount(), 2);
    EXPECT_FALSE(wb.CanUndo() || wb.IsModified());
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 5);
    wb.DoSetCellData(0, 0, 6.0, 1);
    EXPECT_EQ(wb.DoGetCellData(0, 0).number(), 7);
}
