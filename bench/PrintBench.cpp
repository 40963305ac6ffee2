// The print layout of the largest detail sheet (12,403 rows, R = 25: 496 pages) on the temporary
// sheet, without painting.

#include "PrintLayoutFixture.h"

#include <benchmark/benchmark.h>

namespace vantor {
namespace {

void BM_PrintLayoutLargestDetailSheet(benchmark::State &state)
{
    Workbook wb;
    bench::fillLargestDetailSheet(wb);
    const PrintTexts texts = PrintTexts::labels(bench::kPrintSheetId, "某某资产评估有限公司");
    int rows = 0;
    for (auto _ : state) {
        PrintEngine::PrintDetailSheet(wb, bench::kPrintSheetId, 0, 25, texts, nullptr,
                                      [&](Workbook &w, int sheet) { rows = w.Rows(sheet); });
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_PrintLayoutLargestDetailSheet)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vantor
