// Filling and recomputing a full inventory sheet (kind 22, 12,403 rows): the ledger fill of
// vantor-cli with totals and save, and the recomputation of every row with the total row.
// The fill benchmark reads the templates from the benchmark's own folder (build the
// vantor-templates target) and skips when they are missing.

#include "BenchPrompter.h"
#include "project/EngineProjectWorkbook.h"
#include "project/ProjectSession.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/AddSheetCommand.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/LedgerFill.h"
#include "sheets/RowFormulas.h"
#include "sheets/SheetCatalogue.h"
#include "summation/SheetTotals.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vantor {
namespace {

constexpr int kRows = LedgerFill::MaxRows;
constexpr int kLedgerLines = kRows - 3;

// An inventory ledger: name, unit, quantity, book amount, adjustment, counted quantity and
// appraised unit price, the derived columns left for the row formulas.
std::string inventoryLedger()
{
    std::string text;
    for (int i = 1; i <= kLedgerLines; ++i) {
        const int q = i % 97 + 1;
        text += std::to_string(i) + "\t材料" + std::to_string(i) + "\t件\t" + std::to_string(q) + "\t\t" +
                std::to_string(q * 12) + "." + std::to_string(i % 100) + "\t" + (i % 5 ? "" : "-1.5") + "\t\t" +
                std::to_string(q) + "\t" + std::to_string(11 + i % 7) + ".25\n";
    }
    return text;
}

void BM_RecomputeKind22(benchmark::State &state)
{
    Workbook wb;
    DetailSheetBuilder::build(wb, 22);
    wb.SetRows(kRows);
    for (int row = 3; row < kRows; ++row) {
        const int q = row % 97 + 1;
        wb.DoSetCellData(3, row, q);
        wb.DoSetCellData(5, row, q * 12.5);
        wb.DoSetCellData(6, row, row % 5 ? 0.0 : -1.5);
        wb.DoSetCellData(8, row, q);
        wb.DoSetCellData(9, row, 11.25 + row % 7);
    }
    wb.undoStack().clear();
    for (auto _ : state) {
        state.PauseTiming();
        // Every derived cell must really change, as after an import.
        wb.undoStack().pause();
        for (int row = 3; row < kRows; ++row)
            for (int col : {4, 7, 10, 11})
                wb.DoSetCellData(col, row, 0.0);
        wb.undoStack().resume();
        state.ResumeTiming();
        RowFormulas::recomputeRows(wb, 22, 3, kRows - 1, true);
        state.PauseTiming();
        wb.undoStack().clear();
        state.ResumeTiming();
    }
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_RecomputeKind22)->Unit(benchmark::kMillisecond)->Iterations(5);

std::string programFolder()
{
    std::error_code ec;
    return fs::read_symlink("/proc/self/exe", ec).parent_path().string();
}

void BM_FillKind22AndSave(benchmark::State &state)
{
    const std::string program = programFolder();
    if (!fs::exists(fs::path(program) / "template.vtc")) {
        state.SkipWithError("templates missing: build vantor-templates");
        return;
    }
    const fs::path work = fs::temp_directory_path() / ("vantor-fillbench-" + std::to_string(::getpid()));
    fs::create_directories(work);
    const std::string ledgerText = inventoryLedger();
    for (auto _ : state) {
        state.PauseTiming();
        {
            Workbook wb;
            EngineProjectWorkbook pw(wb);
            ProjectSession session({program, work.string()}, pw);
            bench::BenchPrompter prompter;
            prompter.savePath = (work / "bench.mdb").string();
            session.newProject(ProjectKind::DataEntry, prompter);
            ProjectStore &store = session.store();
            AddSheetCommand::run(wb, 22, "表3-8", "bench", [&store](const AddedSheet &s) {
                store.insertSheet({static_cast<int16_t>(s.id), s.code, s.name});
            });
            std::istringstream in(ledgerText);
            state.ResumeTiming();

            // What `vantor-cli fill` does once the project is open.
            const LedgerFill::Rows rows = LedgerFill::read(in);
            wb.DoSetCurrentSheet(wb.findSheet("b22"));
            if (LedgerFill::check(wb, 22, 3, rows))
                state.SkipWithError("ledger refused");
            wb.undoStack().pause();
            LedgerFill::fill(wb, 22, 3, rows, true);
            wb.undoStack().resume();
            writeSheetTotals(wb, store, 22, prompter);
            if (session.saveProject(prompter) != CommandResult::Done)
                state.SkipWithError("save failed");

            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    std::error_code ec;
    fs::remove_all(work, ec);
    state.counters["rows"] = kLedgerLines;
}
BENCHMARK(BM_FillKind22AndSave)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace vantor
