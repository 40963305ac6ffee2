#pragma once

// Helpers of the workbook file tests: a workbook holding every kind of content the engine
// keeps and a cell-by-cell comparison of two workbooks.

#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/Workbook.h"

#include "EngineTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace vantor::test {

// Text meant to break naive writers and readers: quotes, apostrophes, separators, NUL, CJK.
inline std::string hostileText()
{
    return std::string("O'Brien's \"账面\"\t制表\n换行\r\\反斜杠;,") + std::string(1, '\0') + "尾";
}

// A workbook with one of everything: numbers that are and are not four-decimal amounts, texts,
// formulas (also across sheets, with "--", and one that does not parse), a kept error value,
// formats of every kind, merges, widths, heights, frozen rows, print settings, view state.
inline std::unique_ptr<Workbook> makeRichWorkbook()
{
    auto wb = std::make_unique<Workbook>();
    wb->setSheetLabel(0, "b0");
    wb->DoAddSheet("b10");
    wb->DoAddSheet("标签 'x' \"y\"");

    // Sheet 0: values and formats.
    wb->SetCols(8, 0);
    wb->SetRows(30, 0);
    wb->DoSetCellData(0, 0, "资产评估明细表", 0);
    wb->DoSetCellData(1, 1, 1234.5, 0);
    wb->DoSetCellData(1, 2, -0.0001, 0);
    wb->DoSetCellData(1, 3, 0.1 + 0.2, 0); // not a four-decimal amount
    wb->DoSetCellData(1, 8, 0.12345, 0);
    wb->DoSetCellData(2, 1, hostileText(), 0);
    wb->DoSetCellFormula(3, 1, "sum(B2:B5)", 0);
    wb->DoSetCellFormula(3, 2, "c12--250.5", 0);
    wb->DoSetCellFormula(3, 4, "getcell(2,4,2)", 0);
    wb->DoSetCellFormula(3, 5, "sum(", 0); // does not parse: kept as text, shows an error
    wb->DoSetCellFormula(3, 6, "1/0", 0);
    wb->DoClearCellFormula(3, 6, 0); // keeps the #DIV/0! value without the formula

    wb->DoSetCellFont(0, 0, 16, 1, "黑体", 0);
    wb->DoSetCellAlignment(0, 0, AlignCenter, 0);
    wb->DoSetCell3DState(1, 1, 2, 0);
    wb->DoSetCellZeroDisplay(1, 2, 0, 0);
    wb->DoSetCellNumberStyle(1, 1, 1, false, 2, -1, 1, 1, 0, 0);
    wb->DoSetCellNumberStyle(1, 8, 1, true, 2, -1, 0, 1, 0, 0);
    wb->DoSetCellInputMask(4, 4, "####.##", 0);
    wb->DoSetRangeBorder(0, 10, 3, 12, 0, 1, 0, 0);
    wb->DoSetCellAlignment(7, 29, AlignRight, 0); // format only, in the last cell of the sheet

    wb->DoJoinCells(0, 0, 7, 0, 0);
    wb->DoJoinCells(5, 10, 6, 12, 0);
    wb->DoSetColWidth(0, 40, 0);
    wb->DoSetColWidth(2, 250, 0);
    wb->DoSetRowHeightRange(10, 14, 25, 0, 0);
    wb->DoSetUnScrollRow(0, 2, 0);
    wb->DoSetPrintRange(0, 7, 0, 29, 0);
    wb->DoSetPageHeader("左 'a'", "资产评估明细表", "第&P页", 0);
    wb->DoSetPrintScale(85, true, false, 0);
    wb->setRowPageBreaks({10, 20}, 0);
    wb->setPaper(8, true, 0);

    // Sheet 1: a longer sheet of amounts with a total row, as the detail sheets have.
    wb->SetCols(5, 1);
    wb->SetRows(200, 1);
    for (int row = 3; row < 200; ++row)
        for (int col = 1; col < 5; ++col)
            wb->DoSetCellData(col, row, (row * 131 + col * 7) % 100000 / 100.0, 1);
    for (int col = 1; col < 5; ++col) {
        const std::string letter(1, static_cast<char>('A' + col));
        wb->DoSetCellFormula(col, 2, "sum(" + letter + "4:" + letter + "200)", 1);
    }
    wb->DoSetCellData(1, 3, 9876.5432, 1); // read by getcell from sheet 0

    // Sheet 2 stays almost empty: one text cell.
    wb->DoSetCellData(0, 0, "空表", 2);

    wb->DoSetDefaultFont(10, 0, "宋体");
    wb->DoSetCurrentSheet(1);
    return wb;
}

// Every observable property: the full dump (values bit for bit, formulas, layout), and cell by
// cell the whole format and the text shown.
inline void expectSameWorkbook(const Workbook &expected, const Workbook &actual)
{
    EXPECT_EQ(dumpWorkbook(actual), dumpWorkbook(expected));
    ASSERT_EQ(actual.SheetCount(), expected.SheetCount());
    for (int s = 0; s < expected.SheetCount(); ++s) {
        const Sheet &e = expected.sheet(s), &a = actual.sheet(s);
        EXPECT_EQ(a.printSettings(), e.printSettings()) << "sheet " << s;
        for (int row = 0; row < std::min(e.rows(), a.rows()); ++row)
            for (int col = 0; col < std::min(e.cols(), a.cols()); ++col) {
                EXPECT_TRUE(actual.styles().format(a.styleId(col, row)) ==
                            expected.styles().format(e.styleId(col, row)))
                    << "sheet " << s << " cell " << col << "," << row;
                EXPECT_EQ(actual.displayText(s, col, row), expected.displayText(s, col, row));
            }
    }
}

} // namespace vantor::test
