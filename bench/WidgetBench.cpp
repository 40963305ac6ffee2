// Repaint cost of the sheet view on a 12,403-row sheet: a full repaint of the visible area at
// different scroll positions, and the renderer alone over a visible-sized block. Run on the
// offscreen platform; the figures are for reading, nothing asserts them.

#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/CellRenderer.h"
#include "sheet_component/render/SheetGeometry.h"
#include "sheet_component/widget/CellWidget.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kRows = 12403;

// A detail-sheet-like workbook: headings, frozen rows, money columns with number styles,
// borders over the whole block, texts in every row.
std::unique_ptr<vantor::Workbook> makeWorkbook()
{
    auto wb = std::make_unique<vantor::Workbook>();
    wb->SetCols(12);
    wb->SetRows(kRows);
    wb->DoJoinCells(0, 0, 11, 0);
    wb->DoSetCellData(0, 0, "应收账款清查评估明细表");
    wb->DoSetCellFont(0, 0, 12, 1, "宋体");
    for (int c = 0; c < 12; ++c) {
        wb->DoSetCellData(c, 1, "列" + std::to_string(c));
        wb->DoSetCell3DState(c, 1, 1);
        wb->DoSetCellNumberStyle(c, -2, 1, false, 2, -1, 1);
    }
    for (int r = 3; r < kRows; ++r) {
        wb->DoSetCellData(0, r, static_cast<double>(r - 2));
        wb->DoSetCellData(1, r, "单位" + std::to_string(r));
        for (int c = 2; c < 10; ++c)
            wb->DoSetCellData(c, r, 1234.5 * c + r);
    }
    wb->DoSetRangeBorder(0, 1, 11, kRows - 1, 0, 1, 0);
    wb->DoSetUnScrollRow(0, 2);
    return wb;
}

void BM_ViewRepaint(benchmark::State &state)
{
    auto wb = makeWorkbook();
    vantor::CellWidget view(*wb);
    view.resize(1280, 800);
    view.DoRefreshLayout();
    QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        // Jump through the sheet as a scroll bar drag does.
        view.verticalScrollBar()->setValue(3 + (step++ * 997) % (kRows - 60));
        view.viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_ViewRepaint)->Unit(benchmark::kMillisecond);

void BM_RendererVisibleBlock(benchmark::State &state)
{
    auto wb = makeWorkbook();
    vantor::SheetGeometry geometry;
    geometry.rebuild(wb->sheet(0));
    vantor::CellRenderer renderer(*wb);
    QImage image(1280, 800, QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        const int top = 3 + (step++ * 997) % (kRows - 60);
        QPainter painter(&image);
        renderer.paintCells(painter, 0, geometry, vantor::CellRange{0, top, 11, top + 40}, QPointF(0, 0),
                            vantor::RenderOptions{});
    }
}
BENCHMARK(BM_RendererVisibleBlock)->Unit(benchmark::kMillisecond);

void BM_GeometryRebuild(benchmark::State &state)
{
    auto wb = makeWorkbook();
    vantor::SheetGeometry geometry;
    for (auto _ : state) {
        geometry.rebuild(wb->sheet(0));
        benchmark::DoNotOptimize(geometry.totalHeight());
    }
}
BENCHMARK(BM_GeometryRebuild)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
