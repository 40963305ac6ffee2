#pragma once

// Helpers shared by the workbook file tests: a workbook holding every kind of
// content the engine keeps, a cell-by-cell comparison of two workbooks, and builders for crafted
// file content (valid envelope and checksum around arbitrary sections).

#include "sheet_component/engine/CllBinaryWriter.h"
#include "sheet_component/engine/CllChecksum.h"
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
    wb->DoGotoCell(2, 5);
    wb->DoSelectRange(1, 4, 3, 9);
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
        EXPECT_EQ(a.selection(), e.selection()) << "sheet " << s;
        EXPECT_EQ(a.currentCol() * 100000 + a.currentRow(), e.currentCol() * 100000 + e.currentRow());
        for (int row = 0; row < std::min(e.rows(), a.rows()); ++row)
            for (int col = 0; col < std::min(e.cols(), a.cols()); ++col) {
                EXPECT_TRUE(actual.styles().format(a.styleId(col, row)) == expected.styles().format(e.styleId(col, row)))
                    << "sheet " << s << " cell " << col << "," << row;
                EXPECT_EQ(actual.displayText(s, col, row), expected.displayText(s, col, row));
            }
    }
}

// --- crafted files ---------------------------------------------------------------------

// Header, padding and a correct checksum around the given content.
inline std::string cllEnvelope(const std::string &content, std::uint32_t version = CllFile::FormatVersion,
                               std::uint32_t flags = 0)
{
    CllBinaryWriter w;
    w.bytes("\x89VCLL\r\n\x1a", 8);
    w.u32(version);
    w.u32(flags);
    w.u64(content.size());
    const std::size_t fileLength = std::max<std::size_t>(CllFile::HeaderSize + content.size() + 8, 1024);
    w.u64(fileLength);
    w.bytes(content.data(), content.size());
    w.zeros(fileLength - 8 - w.size());
    w.u64(CllChecksum::compute(w.buffer()));
    return w.buffer();
}

// Recomputes the checksum of a file whose bytes a test changed on purpose.
inline void fixChecksum(std::string &file)
{
    CllBinaryWriter w;
    w.u64(CllChecksum::compute(file.data(), file.size() - 8));
    file.replace(file.size() - 8, 8, w.buffer());
}

inline std::string section(const char (&tag)[5], const std::string &body)
{
    CllBinaryWriter w;
    const auto start = w.beginSection(cllTag(tag));
    w.bytes(body.data(), body.size());
    w.endSection(start);
    return w.buffer();
}

// The parts of a crafted one-sheet workbook; each test replaces the part it is about.
struct CraftedWorkbook {
    std::string book, styles, head, cells, colWidths, rowHeights, merges, frozen, print, view;
    std::string extraTop, extraSheet; // sections appended at the top level / inside the sheet

    CraftedWorkbook()
    {
        CllBinaryWriter b;
        b.varint(1);
        b.varint(0);
        b.string("宋体");
        b.varint(9);
        b.varint(0);
        book = b.buffer();

        styles = defaultStyles(1);

        CllBinaryWriter h;
        h.string("b10");
        h.varint(3); // cols
        h.varint(4); // rows
        head = h.buffer();

        CllBinaryWriter c; // one number at (1, 2): 12.5 as a decimal
        c.varint(1);
        c.varint(2);
        c.varint(1);
        c.varint(1);
        c.u8(2);
        c.svarint(125000);
        cells = c.buffer();

        colWidths = runs(3, 72);
        rowHeights = runs(4, 20);
        merges = std::string(1, '\0');
        CllBinaryWriter f;
        f.svarint(-1);
        f.svarint(-1);
        frozen = f.buffer();

        CllBinaryWriter p;
        for (int v : {0, 0, -1, -1})
            p.svarint(v);
        for (int i = 0; i < 6; ++i)
            p.string("");
        p.varint(100);
        p.boolean(true);
        p.boolean(true);
        for (int i = 0; i < 4; ++i)
            p.f64(10);
        p.varint(0);
        p.varint(9);
        p.boolean(false);
        print = p.buffer();

        CllBinaryWriter v;
        for (int x : {0, 0, 0, 0})
            v.svarint(x);
        v.varint(0);
        v.varint(0);
        view = v.buffer();
    }

    static std::string runs(int length, int value)
    {
        CllBinaryWriter w;
        w.varint(1);
        w.varint(static_cast<std::uint64_t>(length));
        w.varint(static_cast<std::uint64_t>(value));
        return w.buffer();
    }

    static std::string defaultStyles(std::uint64_t count)
    {
        CllBinaryWriter w;
        w.varint(count);
        for (std::uint64_t i = 0; i < count; ++i) {
            w.string("");
            for (int k = 0; k < 5; ++k)
                w.varint(0);
            w.boolean(false);
            w.boolean(true);
            w.varint(0);
            w.boolean(false);
            w.svarint(2);
            w.svarint(-1);
            for (int k = 0; k < 3; ++k)
                w.svarint(0);
            w.string("");
            for (int k = 0; k < 4; ++k)
                w.varint(0);
        }
        return w.buffer();
    }

    std::string sheetBody() const
    {
        return section("HEAD", head) + section("CELL", cells) + section("COLW", colWidths) +
               section("ROWH", rowHeights) + section("MERG", merges) + section("FRZN", frozen) +
               section("PRNT", print) + section("VIEW", view) + extraSheet;
    }

    std::string content() const
    {
        return section("BOOK", book) + section("SHET", sheetBody()) + section("STYL", styles) + extraTop;
    }

    std::string file() const { return cllEnvelope(content()); }
};

} // namespace vantor::test
