// Importing a client's ledger as the import window does it: a 12,403-row, 20-column ledger
// (a title, two heading rows in the client's own order and words, amounts written with ¥,
// separators and parentheses) opened, its headings detected, its columns matched by name,
// its amounts read and typed into a detail sheet with the row formulas and the total row.
// The same for the ledger saved as an old Excel file (.xls), when LibreOffice is installed
// to convert it.

#include "import/ExternalWorkbook.h"
#include "import/LedgerImport.h"
#include "import/LedgerMapping.h"
#include "import/SheetImport.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/LedgerFill.h"

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vantor {
namespace {

constexpr int kSheetId = 40; // buildings: seventeen columns, row formulas, cost and net values
constexpr int kRows = LedgerFill::MaxRows;
constexpr int kCols = 20;

// The ledger in a scratch folder, written once for every benchmark of the run.
struct LedgerFiles {
    fs::path folder = fs::temp_directory_path() / ("vantor-importbench-" + std::to_string(::getpid()));
    std::string xlsx = (folder / "ledger.xlsx").string();
    std::string xls = (folder / "ledger.xls").string();

    LedgerFiles()
    {
        fs::create_directories(folder);
        lxw_workbook *wb = workbook_new(xlsx.c_str());
        lxw_worksheet *ws = workbook_add_worksheet(wb, "房屋");
        worksheet_merge_range(ws, 0, 0, 0, kCols - 1, "房屋建筑物明细账", nullptr);
        const char *top[kCols] = {"卡片编号", "资产名称", "建筑结构", "帐面价值", nullptr,    "启用日期", "面积",
                                  "说明",     "使用部门", "类别",     "折旧方法", "累计折旧", "月折旧额", "残值率",
                                  "存放地点", "责任人",   "发票号",   "供应商",   "凭证号",   "入帐日期"};
        for (lxw_col_t c = 0; c < kCols; ++c)
            if (top[c] && c != 3)
                worksheet_merge_range(ws, 1, c, 2, c, top[c], nullptr);
        worksheet_merge_range(ws, 1, 3, 1, 4, "帐面价值", nullptr);
        worksheet_write_string(ws, 2, 3, "账面原值", nullptr);
        worksheet_write_string(ws, 2, 4, "帐面净值", nullptr);
        for (lxw_row_t r = 3; r < kRows; ++r) {
            worksheet_write_string(ws, r, 0, ("FA-" + std::to_string(r)).c_str(), nullptr);
            worksheet_write_string(ws, r, 1, ("厂房" + std::to_string(r)).c_str(), nullptr);
            worksheet_write_string(ws, r, 2, "钢混", nullptr);
            const std::string cost = "¥" + std::to_string(r % 90 + 10) + ",000.00";
            worksheet_write_string(ws, r, 3, cost.c_str(), nullptr);
            if (r % 3 == 0) {
                std::string negative(1, '(');
                negative += std::to_string(r % 700 + 1);
                negative += ".50)";
                worksheet_write_string(ws, r, 4, negative.c_str(), nullptr);
            } else {
                worksheet_write_number(ws, r, 4, (r % 97 + 1) * 100.25, nullptr);
            }
            worksheet_write_string(ws, r, 5, "2001-05-01", nullptr);
            worksheet_write_number(ws, r, 6, r % 500 + 20.5, nullptr);
            for (lxw_col_t c = 7; c < kCols; ++c)
                worksheet_write_string(ws, r, c, ("附注" + std::to_string(c)).c_str(), nullptr);
        }
        workbook_close(wb);
        const std::string convert = "cd '" + folder.string() + "' && HOME='" + folder.string() +
                                    "' soffice --headless --convert-to xls ledger.xlsx >/dev/null 2>&1";
        if (std::system("command -v soffice >/dev/null 2>&1") == 0)
            (void)std::system(convert.c_str());
    }
    ~LedgerFiles()
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

LedgerFiles &files()
{
    static LedgerFiles f;
    return f;
}

// Open, detect, map, read and type: what 整表导入 costs once the user has said yes.
void importLedger(benchmark::State &state, const std::string &path)
{
    if (!fs::exists(path)) {
        state.SkipWithError("no ledger of this kind (LibreOffice is needed to write .xls)");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        {
            Workbook target;
            DetailSheetBuilder::build(target, kSheetId);
            target.undoStack().clear();
            state.ResumeTiming();

            Workbook view;
            ExternalWorkbook opened;
            opened.open(path, files().folder.string(), view);
            const ForeignSheet &sheet = *opened.foreignSheet(0);
            const LedgerHeadings headings = LedgerMapping::detect(sheet, kSheetId);
            const LedgerLines lines = LedgerImport::lines(sheet, kSheetId, LedgerMapping::propose(kSheetId, headings),
                                                          headings.firstDataRow, sheet.rows - 1);
            if (!lines.unreadable.empty() || lines.rows.size() != kRows - 3 ||
                SheetImport::checkRows(target, kSheetId, lines.rows)) {
                state.SkipWithError("ledger not read as written");
                break;
            }
            LedgerFill::fill(target, kSheetId, 3, lines.rows, true);
            benchmark::DoNotOptimize(target.DoGetCellData(7, 2));

            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.counters["rows"] = kRows - 3;
}

void BM_ImportClientLedgerXlsx(benchmark::State &state)
{
    importLedger(state, files().xlsx);
}
void BM_ImportClientLedgerXls(benchmark::State &state)
{
    importLedger(state, files().xls);
}
BENCHMARK(BM_ImportClientLedgerXlsx)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportClientLedgerXls)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace vantor
