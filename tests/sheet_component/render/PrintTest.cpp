// Printed pages: pagination by paper, margins, scale and row page breaks; pages drawn with the
// cell renderer to images and PDF.

#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/CellFonts.h"
#include "sheet_component/render/CellRenderer.h"
#include "sheet_component/render/PrintPagination.h"
#include "sheet_component/render/SheetGeometry.h"
#include "sheet_component/render/SheetPrinter.h"

#include <QFontMetricsF>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace vantor::test {

namespace {

// rows × 20 px of text in the first three columns.
void fill(Workbook &wb, int rows)
{
    wb.SetRows(rows);
    for (int r = 0; r < rows; ++r) {
        wb.DoSetCellData(0, r, static_cast<double>(r + 1));
        wb.DoSetCellData(1, r, "第" + std::to_string(r + 1) + "行");
        wb.DoSetCellData(2, r, 100.0 * r);
    }
}

long ink(const QImage &image)
{
    long sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += 255 - qGray(image.pixel(x, y));
    return sum;
}

} // namespace

TEST(Pagination, LongSheetsSplitByPaperHeightAndRowPageBreaks)
{
    Workbook wb;
    fill(wb, 200);
    wb.DoSetPrintRange(0, 2, 0, 199);
    wb.DoSetPageMargins(10, 10, 10, 10);
    // A4: 277 mm of room = 1047 px = 52 rows of 20 px.
    const auto pages = PrintPagination::pages(wb.sheet(0), wb.printSettings());
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(pages[1].row1, 52);
    // Half the scale fits twice the rows.
    wb.DoSetPrintScale(50, true, true);
    EXPECT_EQ(PrintPagination::pages(wb.sheet(0), wb.printSettings()).size(), 2u);
    // Landscape A4 has 190 mm of room: 35 rows a page.
    wb.DoSetPrintScale(100, true, true);
    wb.setPaper(9, true);
    EXPECT_EQ(PrintPagination::pages(wb.sheet(0), wb.printSettings()).size(), 6u);
    // A row page break starts a page of its own.
    wb.setPaper(9, false);
    wb.setRowPageBreaks({33});
    EXPECT_EQ(PrintPagination::pages(wb.sheet(0), wb.printSettings())[1], (CellRange{0, 33, 2, 84}));
}

TEST(Pagination, WideSheetsSplitAcrossAfterDown)
{
    Workbook wb;
    wb.SetCols(26);
    fill(wb, 60);
    wb.DoSetColWidthRange(0, 25, 100);
    wb.DoSetPrintRange(0, 25, 0, 59);
    const auto pages = PrintPagination::pages(wb.sheet(0), wb.printSettings());
    // 190 mm = 718 px: 7 columns a page, 4 column runs; 60 rows fit on two pages.
    ASSERT_EQ(pages.size(), 8u);
    EXPECT_EQ(pages[0], (CellRange{0, 0, 6, 51}));
    EXPECT_EQ(pages[1], (CellRange{0, 52, 6, 59}));
    EXPECT_EQ(pages[2].col1, 7);
}

TEST(Pagination, EmptySheetTallRowsAndRangesBeyondTheSheet)
{
    Workbook wb;
    EXPECT_TRUE(PrintPagination::pages(wb.sheet(0), wb.printSettings()).empty());
    EXPECT_TRUE(PrintPagination::printArea(wb.sheet(0), wb.printSettings()).isEmpty());
    wb.DoSetCellData(2, 3, "x");
    EXPECT_EQ(PrintPagination::printArea(wb.sheet(0), wb.printSettings()), (CellRange{0, 0, 2, 3}));
    // A row taller than the paper gets a page of its own instead of looping.
    wb.DoSetRowHeight(1, 5000);
    EXPECT_EQ(PrintPagination::pages(wb.sheet(0), wb.printSettings()).size(), 3u);
    // A print range beyond the sheet is clipped.
    fill(wb, 10);
    wb.DoSetPrintRange(0, 40, 0, 500);
    EXPECT_EQ(PrintPagination::printArea(wb.sheet(0), wb.printSettings()), (CellRange{0, 0, wb.Cols() - 1, 9}));
}

TEST(Printer, PagesRenderWithContentAndHeaders)
{
    Workbook wb;
    fill(wb, 70);
    wb.DoSetPrintRange(0, 2, 0, 69);
    wb.setRowPageBreaks({35});
    wb.DoSetRangeBorder(0, 0, 2, 69, 0, 1, 0);
    wb.DoSetPageFooter("", "第&P页，共&N页", "");
    SheetPrinter printer(wb, 0);
    ASSERT_EQ(printer.pageCount(), 2);
    const auto images = printer.renderImages(72);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].width(), 595); // A4 at 72 dpi
    EXPECT_GT(ink(images[0]), 0);
    EXPECT_GT(ink(images[1]), 0);
    // Nothing is drawn left of the left margin (10 mm = 28 px at 72 dpi) but the border line.
    EXPECT_EQ(ink(images[0].copy(0, 0, 26, images[0].height())), 0);
}

TEST(Printer, WideNumbersShrinkOnPaperButShowHashesOnScreen)
{
    Workbook wb;
    wb.DoSetCellData(0, 0, 7345746.41);
    wb.DoSetCellNumberStyle(0, 0, 1, false, 2, -1, 1);
    SheetGeometry geometry;
    geometry.rebuild(wb.sheet(0));
    auto draw = [&](bool shrink) {
        QImage image(100, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        CellRenderer renderer(wb);
        RenderOptions options;
        options.shrinkNumbers = shrink;
        renderer.paintCells(painter, 0, geometry, CellRange{0, 0, 0, 0}, QPointF(0, 0), options);
        painter.end();
        return image;
    };
    const QImage paper = draw(true);
    const QImage screen = draw(false);
    EXPECT_GT(ink(paper), 0);
    EXPECT_GT(ink(screen), 0);
    EXPECT_NE(paper, screen);
}

TEST(Printer, LockedCellsAreNotPinkOnPaper)
{
    Workbook wb;
    wb.DoSetCellData(0, 0, "x");
    wb.DoSetCellLock(1, 0, true);
    wb.DoSetCellData(1, 0, "y");
    SheetPrinter printer(wb, 0);
    const auto images = printer.renderImages(96);
    ASSERT_EQ(images.size(), 1u);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const QRgb c = images[0].pixel(x, y);
            ASSERT_FALSE(qRed(c) > 240 && qRed(c) - qGreen(c) > 25) << x << "," << y;
        }
}

TEST(FittedTextTest, WrapsThenShrinksToTheLegibleSizeThenCutsWithAnEllipsis)
{
    const QFont font = CellFonts::makeFont(FontSpec{"宋体", 9, 0});
    const int legible = static_cast<int>(std::floor(CellFonts::pixelSize(CellRenderer::MinimumPoints)));
    struct Case {
        QString text;
        QSizeF room;
        qsizetype lines;
        bool cut;
    };
    const Case cases[] = {
        {QStringLiteral("建成\r年月"), {60, 40}, 2, false}, // a stored line break
        {QStringLiteral("计量\r\n单位"), {60, 40}, 2, false},
        {QStringLiteral("一二三四五六七八"), {50, 40}, 2, false}, // wraps at its own size
        {QStringLiteral("一个相当长的资产名称"), {200, 18}, 1, false},
        {QString(40, QChar(0x8D44)), {80, 18}, 1, true}, // too long even at the legible size
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const CellRenderer::FittedText fitted = CellRenderer::fitText(c.text, font, c.room);
        ASSERT_EQ(fitted.lines.size(), c.lines);
        EXPECT_GE(fitted.font.pixelSize(), legible);
        const QFontMetricsF metrics(fitted.font);
        for (const QString &line : fitted.lines)
            EXPECT_LE(metrics.horizontalAdvance(line), c.room.width() + 0.5) << line.toStdString();
        EXPECT_LE(static_cast<double>(c.lines - 1) * metrics.lineSpacing() + metrics.height(), c.room.height() + 0.5);
        EXPECT_EQ(fitted.lines.last().endsWith(QChar(0x2026)), c.cut);
        if (!c.cut)
            EXPECT_EQ(fitted.lines.join(QString()), QString(c.text).remove(u'\r').remove(u'\n'));
    }
}

} // namespace vantor::test
