// Writing a large workbook as an Excel file: 8 detail-like sheets of 12,500 rows × 16 columns
// (1.6 million cells: numbers, texts, a sum formula per row, bordered and number-styled
// cells, merged two-row headings and frozen rows). Reports the file size and the peak
// resident memory of the process, the workbook itself included.

#include "output/ExcelExport.h"
#include "sheet_component/engine/Workbook.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace vantor {
namespace {

constexpr int kSheets = 8;
constexpr int kRows = 12500;
constexpr int kCols = 16;

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void fill(Workbook &wb)
{
    CellFormat money;
    money.alignment = AlignRight2;
    money.number = {1, false, 2, -1, 1, 1, 0};
    money.borders = {1, 1, 1, 1};
    CellFormat heading;
    heading.alignment = AlignCenter;
    heading.fontStyle = 1;
    heading.borders = {1, 1, 1, 1};
    const StyleId moneyId = wb.styles().intern(money);
    const StyleId headingId = wb.styles().intern(heading);
    for (int s = 0; s < kSheets; ++s) {
        const int index = s == 0 ? 0 : wb.addSheetForLoading("b" + std::to_string(16 + s), kCols, kRows);
        if (s == 0)
            wb.setSheetLabel(0, "b16");
        Sheet &sheet = wb.sheetForLoading(index);
        if (s == 0) {
            wb.SetCols(kCols, 0);
            wb.SetRows(kRows, 0);
        }
        for (int c = 0; c < kCols; ++c) {
            sheet.loadCell(c, 0, CellValue::text("栏目" + std::to_string(c)), headingId);
            sheet.loadCell(c, 1, CellValue(), headingId);
            sheet.loadMerge({c, 0, c, 1});
            sheet.loadColWidth(c, c == 1 ? 180 : 90);
        }
        sheet.loadFrozenRows({0, 2});
        for (int r = 2; r < kRows; ++r) {
            sheet.loadCell(0, r, CellValue::number(r - 1), 0);
            sheet.loadCell(1, r, CellValue::text("资产名称第" + std::to_string(r) + "项"), 0);
            for (int c = 2; c < kCols - 2; ++c)
                sheet.loadCell(c, r, CellValue::number((r * 37 + c * 101) % 100000 / 100.0), moneyId);
            const std::string row = std::to_string(r + 1);
            sheet.loadFormula(kCols - 2, r, "sum(C" + row + ":N" + row + ")");
            sheet.loadCell(kCols - 1, r, CellValue::text("备注"), 0);
        }
    }
    wb.recalculateAll();
}

void BM_ExportExcel(benchmark::State &state)
{
    Workbook wb;
    fill(wb);
    const double workbookMb = peakRssMb();
    const auto name = "vantor-bench-" + std::to_string(::getpid()) + ".xlsx";
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    for (auto _ : state)
        ExcelExport::write(wb, path, {});
    state.counters["cells"] = static_cast<double>(kSheets) * kRows * kCols;
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
    state.counters["workbook_rss_MB"] = workbookMb;
    state.counters["peak_rss_MB"] = peakRssMb();
    std::filesystem::remove(path);
}
BENCHMARK(BM_ExportExcel)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace vantor
