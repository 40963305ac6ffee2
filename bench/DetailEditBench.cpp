// Editing commands of a detail sheet on large inventory sheets (kind 22): sorting the
// largest range the sort accepts, and inserting 100 rows into a 12,000-row sheet.

#include "BenchPrompter.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailEditCommands.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace vantor {
namespace {

void fillInventory(Workbook &wb, int rows)
{
    DetailSheetBuilder::build(wb, 22);
    wb.SetRows(rows);
    for (int r = 3; r < rows; ++r) {
        wb.DoSetCellData(1, r, "物料" + std::to_string((r * 7919) % 1000));
        wb.DoSetCellData(3, r, static_cast<double>((r * 31) % 97));
        wb.DoSetCellData(5, r, static_cast<double>((r * 7919) % 10007) / 100.0);
        wb.DoSetCellData(7, r, static_cast<double>((r * 7919) % 10007) / 100.0);
        wb.DoSetCellData(10, r, static_cast<double>((r * 13) % 10007) / 100.0);
    }
    RowFormulas::writeTotals(wb, 22, true);
    wb.undoStack().clear();
}

void BM_Sort512Rows(benchmark::State &state)
{
    bench::BenchPrompter prompter(Answer::Yes);
    std::unique_ptr<Workbook> wb;
    for (auto _ : state) {
        state.PauseTiming();
        wb = std::make_unique<Workbook>(); // the previous one goes while the clock is stopped
        fillInventory(*wb, 600);
        state.ResumeTiming();
        DetailEditCommands::sort(*wb, 22, CellRange{5, 3, 5, 3 + DetailEditCommands::MaxSortRows - 1}, 5, true,
                                 prompter, true);
    }
}
BENCHMARK(BM_Sort512Rows)->Unit(benchmark::kMillisecond);

void BM_Insert100RowsInto12000(benchmark::State &state)
{
    Workbook wb;
    fillInventory(wb, 12000);
    for (auto _ : state) {
        DetailEditCommands::insertRows(wb, 22, CellRange{0, 100, 0, 199}, true);
        state.PauseTiming();
        wb.DoUndo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Insert100RowsInto12000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vantor
