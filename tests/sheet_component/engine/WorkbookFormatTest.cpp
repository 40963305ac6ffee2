#include "EngineTestSupport.h"

#include "sheet_component/engine/DisplayFormat.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(FontStyle, CodesOfTheToolbarTable)
{
    struct Case {
        bool bold, italic, underline;
        int code;
    };
    const Case cases[] = {
        {false, false, false, 0}, {true, false, false, 1}, {false, true, false, 2}, {false, false, true, 3},
        {true, true, false, 4},   {true, false, true, 5},  {false, true, true, 6},  {true, true, true, 7},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(fontStyleCode(c.bold, c.italic, c.underline), c.code);
        EXPECT_EQ(fontStyleBold(c.code), c.bold) << c.code;
        EXPECT_EQ(fontStyleItalic(c.code), c.italic) << c.code;
        EXPECT_EQ(fontStyleUnderline(c.code), c.underline) << c.code;
    }
    EXPECT_FALSE(fontStyleBold(8));
}

TEST(DisplayFormat, NumberStylesTable)
{
    struct Case {
        double value;
        int kind;
        bool percent;
        int decimals, grouping;
        bool showZero;
        const char *shown;
    };
    const Case cases[] = {
        {1234.5, 1, false, 2, 1, true, "1,234.50"},
        {1234.5, 1, false, 2, 0, true, "1234.50"},
        {-1234567.891, 1, false, 2, 1, true, "-1,234,567.89"},
        {999.995, 1, false, 2, 1, true, "1,000.00"},
        {0.125, 1, false, 2, 0, true, "0.12"},   // halves to the even neighbour
        {0.375, 1, false, 2, 0, true, "0.38"},
        {2.5, 1, false, 0, 0, true, "2"},
        {-0.001, 1, false, 2, 0, true, "0.00"},  // no negative zero
        {0.1234, 1, true, 2, 0, true, "12.34%"},
        {0.5, 1, true, 0, 0, true, "50%"},
        {0, 1, false, 2, 1, false, ""},
        {0, 0, false, 2, 0, false, ""},
        {0, 0, false, 2, 0, true, "0"},
        {0.1 + 0.2, 0, false, 2, 0, true, "0.3"},
        {1234.5, 0, false, 2, 1, true, "1234.5"}, // general style ignores grouping
        {-12, 0, false, 2, 0, true, "-12"},
        {1e20, 0, false, 2, 0, true, "1e+20"},
    };
    for (const Case &c : cases) {
        CellFormat f;
        f.number.kind = c.kind;
        f.number.percent = c.percent;
        f.number.decimals = c.decimals;
        f.number.grouping = c.grouping;
        f.showZero = c.showZero;
        EXPECT_EQ(formatCellValue(CellValue::number(c.value), f), c.shown) << c.value;
    }
}

TEST(DisplayFormat, TextsErrorsAndEmpty)
{
    CellFormat f;
    f.number.kind = 1;
    f.showZero = false;
    EXPECT_EQ(formatCellValue(CellValue(), f), "");
    EXPECT_EQ(formatCellValue(CellValue::text("0"), f), "0"); // text is shown as written
    EXPECT_EQ(formatCellValue(CellValue::error(CellError::Div0), f), "#DIV/0!");
    EXPECT_EQ(formatCellValue(CellValue::error(CellError::Cycle), f), "#CYCLE!");
}

TEST(CellFormats, SettersGettersAndDefaults)
{
    Workbook wb;
    EXPECT_EQ(wb.DoGetCellFont(0, 0), (FontSpec{"宋体", 9, 0}));
    wb.DoSetDefaultFont(8, 0, "宋体");
    EXPECT_EQ(wb.DoGetCellFont(3, 3).size, 8);
    wb.DoSetCellFont(1, 1, 16, 1, "宋体");
    EXPECT_EQ(wb.DoGetCellFont(1, 1), (FontSpec{"宋体", 16, 1}));
    wb.DoSetCellFont(1, 1, 12, 9, "黑体"); // an unknown style code is normal
    EXPECT_EQ(wb.DoGetCellFont(1, 1).style, 0);

    const int codes[] = {AlignLeft, AlignRight, AlignRight2, AlignCenter};
    for (int code : codes) {
        wb.DoSetCellAlignment(2, 2, code);
        EXPECT_EQ(wb.DoGetCellAlignment(2, 2), code);
    }
    EXPECT_EQ(wb.DoGetCellAlignment(5, 5), AlignGeneral);

    wb.DoSetCell3DState(0, 0, 2);
    wb.DoSetCellTextStyle(0, 0, 1);
    wb.DoSetCellLock(0, 0, true);
    wb.DoSetCellInputMask(0, 0, "0000年00月00日");
    const CellFormat &f = wb.cellFormat(0, 0);
    EXPECT_EQ(f.threeD, 2);
    EXPECT_EQ(f.textStyle, 1);
    EXPECT_TRUE(wb.DoGetCellLock(0, 0));
    EXPECT_EQ(f.inputMask, "0000年00月00日");
}

TEST(CellFormats, NumberStyleZeroDisplayAndClear)
{
    Workbook wb;
    wb.DoSetCellData(2, 2, 1234.567);
    wb.DoSetCellNumberStyle(2, 2, 1, false, 2, -1, 1, 1, 0);
    EXPECT_EQ(wb.displayText(0, 2, 2), "1,234.57");
    wb.DoSetCellNumberStyle(2, 2, 1, true, 2);
    EXPECT_EQ(wb.displayText(0, 2, 2), "123,456.70%");
    wb.DoClearCellNumberStyle(2, 2);
    EXPECT_EQ(wb.displayText(0, 2, 2), "1234.567");
    wb.DoSetCellData(2, 2, 0.0);
    wb.DoSetCellZeroDisplay(2, 2, 0);
    EXPECT_EQ(wb.displayText(0, 2, 2), "");
    // A formula yielding zero is hidden too.
    wb.DoSetCellFormula(2, 2, "1-1");
    EXPECT_EQ(wb.displayText(0, 2, 2), "");
}

TEST(CellFormats, WholeColumnAndSharedStyles)
{
    Workbook wb;
    wb.SetRows(12403);
    wb.DoSetCellNumberStyle(4, -2, 1, false, 2);
    EXPECT_EQ(wb.cellFormat(4, 12402).number.decimals, 2);
    EXPECT_EQ(wb.cellFormat(4, 0).number.kind, 1);
    EXPECT_EQ(wb.cellFormat(3, 0).number.kind, 0);
    // Twelve thousand cells with one look share one style entry.
    EXPECT_LE(wb.styles().size(), 3u);
}

TEST(CellFormats, RangeBorderGridAndOutline)
{
    Workbook wb;
    wb.DoSetRangeBorder(1, 1, 3, 3, 0, 1, 0);
    EXPECT_EQ(wb.cellFormat(2, 2).borders, (CellBorders{1, 1, 1, 1}));
    EXPECT_FALSE(wb.cellFormat(4, 4).borders.any());
    wb.DoSetRangeBorder(5, 5, 7, 7, 1, 2, 0);
    EXPECT_FALSE(wb.cellFormat(6, 6).borders.any());
    EXPECT_EQ(wb.cellFormat(5, 5).borders, (CellBorders{2, 2, 0, 0}));
    EXPECT_EQ(wb.cellFormat(7, 6).borders, (CellBorders{0, 0, 2, 0}));
    EXPECT_EQ(wb.undoStack().undoCount(), 2u);
}
