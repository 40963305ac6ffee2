// The import window's two costs on a full ledger: opening a 12,403 × 15 Excel workbook (read
// with libzip and expat, shown as a workbook of values) and 整表导入 of the 12,400 data rows
// a detail sheet holds (rows 4 … 12,403) into one with 15 columns, each cell typed, the row
// formulas and the total row.

#include "import/ExternalWorkbook.h"
#include "import/SheetImport.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/LedgerFill.h"

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vantor
{
namespace
{

constexpr int kSheetId = 49; // fifteen columns
constexpr int kRows = LedgerFill::MaxRows;
constexpr int kCols = 15;

// A scratch folder with the ledger, written once for every benchmark of the run.
struct LedgerFile {
    fs::path folder = fs::temp_directory_path() / ("vantor-importbench-" + std::to_string(::getpid()));
    std::string path = (folder / "ledger.xlsx").string();

    LedgerFile()
    {
        fs::create_directories(folder);
        lxw_workbook *wb = workbook_new(path.c_str());
        lxw_worksheet *ws = workbook_add_worksheet(wb, "明细");
        for (int c = 0; c < kCols; ++c)
            worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), ("栏目" + std::to_string(c)).c_str(),
                                   nullptr);
        for (int r = 1; r < kRows; ++r) {
            worksheet_write_number(ws, static_cast<lxw_row_t>(r), 0, r, nullptr);
            worksheet_write_string(ws, static_cast<lxw_row_t>(r), 1, ("设备" + std::to_string(r)).c_str(),
                                   nullptr);
            worksheet_write_string(ws, static_cast<lxw_row_t>(r), 2,
                                   ("型号-" + std::to_string(r * 7)).c_str(), nullptr);
            for (int c = 3; c < kCols - 1; ++c)
                worksheet_write_number(ws, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                       (r % 97 + 1) * 10.25 + c + r / 1000.0, nullptr);
            worksheet_write_string(ws, static_cast<lxw_row_t>(r), kCols - 1, "台", nullptr);
        }
        workbook_close(wb);
    }
    ~LedgerFile()
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

LedgerFile &ledger()
{
    static LedgerFile file;
    return file;
}

void BM_OpenExcelLedger(benchmark::State &state)
{
    LedgerFile &file = ledger();
    for (auto _ : state) {
        Workbook view;
        ExternalWorkbook opened;
        opened.open(file.path, file.folder.string(), view);
        benchmark::DoNotOptimize(view.Rows());
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(file.path));
}
BENCHMARK(BM_OpenExcelLedger)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ImportExcelLedgerIntoDetailSheet(benchmark::State &state)
{
    LedgerFile &file = ledger();
    Workbook view;
    ExternalWorkbook opened;
    opened.open(file.path, file.folder.string(), view);
    const ForeignSheet &sheet = *opened.foreignSheet(0);
    for (auto _ : state) {
        state.PauseTiming();
        {
            Workbook target;
            DetailSheetBuilder::build(target, kSheetId);
            target.undoStack().clear();
            state.ResumeTiming();

            // As the window does it, undo recorded: one step.
            const LedgerFill::Rows rows = SheetImport::ledgerRows(sheet, 1, kRows - 3);
            if (SheetImport::checkRows(target, kSheetId, rows)) {
                state.SkipWithError("ledger refused");
                break;
            }
            LedgerFill::fill(target, kSheetId, 3, rows, true);
            benchmark::DoNotOptimize(target.DoGetCellData(5, 2));

            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.counters["rows"] = kRows - 3;
}
BENCHMARK(BM_ImportExcelLedgerIntoDetailSheet)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace vantor
