// Layout and PDF of the largest detail sheet (12,403 rows, R = 25: 496 pages), as the print
// preview's "存为PDF" and vantor-cli print --pdf write it.

#include "PrintLayoutFixture.h"

#include "sheet_component/render/SheetPrinter.h"

#include <QDir>

#include <benchmark/benchmark.h>

namespace vantor {
namespace {

void BM_PrintLayoutAndPdfLargestDetailSheet(benchmark::State &state)
{
    Workbook wb;
    bench::fillLargestDetailSheet(wb);
    const PrintTexts texts = PrintTexts::labels(bench::kPrintSheetId, "某某资产评估有限公司");
    const QString path = QDir::temp().filePath("vantor-print-bench.pdf");
    int pages = 0;
    for (auto _ : state) {
        PrintEngine::PrintDetailSheet(wb, bench::kPrintSheetId, 0, 25, texts, nullptr, [&](Workbook &w, int sheet) {
            SheetPrinter printer(w, sheet);
            pages = printer.pageCount();
            if (!printer.exportPdf(path))
                state.SkipWithError("the PDF was not written");
        });
    }
    state.counters["pages"] = pages;
    QFile::remove(path);
}
BENCHMARK(BM_PrintLayoutAndPdfLargestDetailSheet)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vantor
