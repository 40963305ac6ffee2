// The cell renderer checked by regions of the pictures it draws (not against a golden image):
// locked cells pink, no grid inside merged blocks, alignments, hidden zeros, borders, wrapping,
// long texts kept in their cells, and frozen rows that stay put while the view scrolls.

#include "WidgetTestSupport.h"

#include "sheet_component/render/CellRenderer.h"
#include "sheet_component/render/SheetGeometry.h"

#include <QPainter>
#include <QScrollBar>

namespace vantor::test {

namespace {

// Sum of darkness (255 - grey) over a rectangle: how much ink it holds.
long ink(const QImage &image, const QRect &rect)
{
    long sum = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            sum += 255 - qGray(image.pixel(x, y));
    return sum;
}

QRect cellBox(const SheetGeometry &g, int col, int row)
{
    return QRect(g.colX(col), g.rowY(row), g.colWidth(col), g.rowHeight(row));
}

bool isPink(QRgb c)
{
    return qRed(c) > 240 && qGreen(c) < 230 && qBlue(c) < 240 && qRed(c) - qGreen(c) > 25;
}

// A sheet with the features the renderer must draw.
void buildSample(Workbook &wb)
{
    wb.SetCols(8);
    wb.SetRows(40);
    wb.DoSetRowHeight(0, 30);
    wb.DoJoinCells(0, 0, 5, 0);
    wb.DoSetCellData(0, 0, "资产评估结果汇总表");
    wb.DoSetCellFont(0, 0, 16, 1, "宋体");
    wb.DoSetCellAlignment(0, 0, AlignCenter);
    wb.DoSetCellData(0, 1, "项目");
    wb.DoSetCellData(1, 1, "帐面价值");
    wb.DoSetCellData(2, 1, "评估价值");
    wb.DoSetCellData(3, 1, "增值率%");
    for (int c = 0; c < 4; ++c)
        wb.DoSetCell3DState(c, 1, 1);
    wb.DoSetCellData(0, 2, "合    计");
    wb.DoSetUnScrollRow(0, 2);

    wb.DoSetCellData(0, 4, "锁定");
    wb.DoSetCellLock(1, 4, true);
    wb.DoSetCellData(1, 4, 1234567.891);
    wb.DoSetCellNumberStyle(1, 4, 1, false, 2, -1, 1);
    wb.DoSetRangeBorder(3, 4, 3, 4, 0, 1, 0);

    wb.DoSetCellData(3, 5, 0.0);
    wb.DoSetCellZeroDisplay(3, 5, 0);
    wb.DoSetCellData(3, 6, 0.0);
    wb.DoSetCellData(4, 5, "某某市某某区某某街道某某号某某大厦第十八层全体办公设备"); // beside an empty cell

    wb.DoJoinCells(1, 7, 3, 8);
    wb.DoSetCellData(4, 7, "左");
    wb.DoSetCellAlignment(4, 7, AlignLeft);
    wb.DoSetCellData(5, 7, "右");
    wb.DoSetCellAlignment(5, 7, AlignRight);
    wb.DoSetCellData(0, 9, "本软件是基于关系数据库技术和电子表格技术开发的");
    wb.DoSetCellTextStyle(0, 9, 1);
    wb.DoSetRowHeight(9, 60);
    for (int r = 10; r < 40; ++r) {
        wb.DoSetCellData(0, r, static_cast<double>(r - 9));
        wb.DoSetCellData(1, r, "行" + std::to_string(r - 9));
    }
}

} // namespace

class Render : public ::testing::Test {
protected:
    void SetUp() override
    {
        buildSample(wb);
        geometry.rebuild(wb.sheet(0));
        image = QImage(geometry.colX(8), geometry.rowY(12), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        CellRenderer renderer(wb);
        RenderOptions options;
        renderer.paintCells(p, 0, geometry, CellRange{0, 0, 7, 11}, QPointF(0, 0), options);
        p.end();
    }

    Workbook wb;
    SheetGeometry geometry;
    QImage image;
};

TEST_F(Render, LockedCellIsPinkOnScreen)
{
    const QRect locked = cellBox(geometry, 1, 4);
    EXPECT_TRUE(isPink(image.pixel(locked.left() + 2, locked.top() + 2)));
    EXPECT_FALSE(isPink(image.pixel(cellBox(geometry, 2, 4).center())));
}

TEST_F(Render, MergedBlockHasNoInnerGridLines)
{
    // The boundary between columns 1 and 2 lies one pixel left of column 2.
    const int x = geometry.colX(2) - 1;
    const int insideMerge = geometry.rowY(7) + 5;
    const int belowMerge = geometry.rowY(10) + 5;
    EXPECT_EQ(image.pixel(x, insideMerge), qRgb(255, 255, 255));
    EXPECT_NE(image.pixel(x, belowMerge), qRgb(255, 255, 255));
}

TEST_F(Render, AlignmentsPutTheInkWhereExpected)
{
    auto halves = [&](int col, int row) {
        const QRect r = cellBox(geometry, col, row).adjusted(1, 1, -2, -2);
        const QRect left(r.left(), r.top(), r.width() / 2, r.height());
        const QRect right(r.left() + r.width() / 2, r.top(), r.width() - r.width() / 2, r.height());
        return std::make_pair(ink(image, left), ink(image, right));
    };
    // Left and right alignment; numbers without one go to the right, texts to the left.
    for (const auto &[col, row, right] : {std::tuple{4, 7, false}, {5, 7, true}, {0, 10, true}, {1, 10, false}}) {
        const auto [l, r] = halves(col, row);
        EXPECT_TRUE(right ? l == 0 && r > 0 : l > 0 && r == 0) << col << "," << row;
    }
}

TEST_F(Render, HiddenZerosBordersAndWrappedText)
{
    EXPECT_EQ(ink(image, cellBox(geometry, 3, 5).adjusted(1, 1, -2, -2)), 0);
    EXPECT_GT(ink(image, cellBox(geometry, 3, 6).adjusted(1, 1, -2, -2)), 0);
    // A long text stays inside its own cell.
    EXPECT_GT(ink(image, cellBox(geometry, 4, 5).adjusted(1, 1, -2, -2)), 0);
    EXPECT_EQ(ink(image, cellBox(geometry, 5, 5).adjusted(1, 1, -2, -2)), 0);
    // Borders are black lines on the cell's edges; an ordinary edge is the light grid.
    const QRect r = cellBox(geometry, 3, 4);
    for (QPoint edge : {QPoint(r.right(), r.center().y()), QPoint(r.center().x(), r.bottom()),
                        QPoint(r.left() - 1, r.center().y()), QPoint(r.center().x(), r.top() - 1)})
        EXPECT_LT(qGray(image.pixel(edge)), 40);
    EXPECT_GT(qGray(image.pixel(cellBox(geometry, 4, 4).right(), r.center().y())), 150);
    const QRect w = cellBox(geometry, 0, 9).adjusted(1, 1, -2, -2); // wrapped: ink in the last third
    EXPECT_GT(ink(image, QRect(w.left(), w.top() + 2 * (w.height() / 3), w.width(), w.height() / 3)), 0);
}

using ViewPicture = SheetViewTest;

TEST_F(ViewPicture, FrozenRowsStayInPlaceWhileScrolling)
{
    buildSample(*workbook);
    workbook->SetRows(12403);
    for (int r = 40; r < 12403; r += 997)
        workbook->DoSetCellData(1, r, "第" + std::to_string(r) + "行");
    view->DoRefreshLayout();
    const QImage before = view->viewport()->grab().toImage();
    const QRect band = view->cellRect(0, 0).united(view->cellRect(7, 2));
    ASSERT_GT(band.height(), 60);

    view->verticalScrollBar()->setValue(6000);
    QApplication::processEvents();
    const QImage after = view->viewport()->grab().toImage();
    EXPECT_EQ(view->topRow(), 6000);
    // Every pixel row of the frozen band is unchanged.
    for (int y = band.top(); y < band.bottom(); ++y)
        for (int x = 0; x < before.width(); x += 3)
            ASSERT_EQ(before.pixel(x, y), after.pixel(x, y)) << "at " << x << "," << y;
    EXPECT_EQ(view->cellRect(0, 6000).top(), band.bottom() + 1); // the rows below did scroll
}

} // namespace vantor::test
