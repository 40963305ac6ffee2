// Benchmarks of the engine on the workload of a large appraisal job: 80 sheets, five of them
// 12,403 rows × 26 columns of amounts with sum formulas in the total row (row 3), the others
// 28 rows; about 1.6 million cells. Run with scripts/bench.sh (Release build).
//
// Measured: saving and opening the workbook file, one changed cell until the total row is
// current, inserting a row at row 4 of a large sheet, and the memory the open workbook takes
// (resident set growth while loading it, counter "rss_MB").

#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace vantor;

constexpr int SheetCount = 80;
constexpr int BigRows = 12403;
constexpr int SmallRows = 28;
constexpr int Cols = 26;
constexpr int FirstDataRow = 3;
constexpr int TotalRow = 2;
constexpr int BigSheets[] = {14, 15, 16, 17, 30}; // indexes of the large detail sheets

bool isBig(int sheet)
{
    for (const int big : BigSheets)
        if (big == sheet)
            return true;
    return false;
}

std::string columnLetter(int col)
{
    return std::string(1, static_cast<char>('A' + col));
}

// Appending instead of operator+ on a literal: GCC 12 warns falsely (-Wrestrict) about the latter.
std::string joined(std::string head, const std::string &tail)
{
    head += tail;
    return head;
}

// Built through the loading interface (no undo, one recalculation), as a file load would.
std::unique_ptr<Workbook> buildWorkload()
{
    auto wb = std::make_unique<Workbook>();
    for (int s = 0; s < SheetCount; ++s) {
        const int rows = isBig(s) ? BigRows : SmallRows;
        wb->addSheetForLoading(joined("b", std::to_string(s)), Cols, rows);
    }
    wb->DoDeleteSheets(0, 1);
    std::uint64_t seed = 12345;
    for (int s = 0; s < SheetCount; ++s) {
        Sheet &sheet = wb->sheetForLoading(s);
        const int rows = sheet.rows();
        sheet.loadCell(0, 0, CellValue::text(joined("资产评估明细表 b", std::to_string(s))), 0);
        for (int col = 0; col < Cols; ++col) {
            sheet.loadCell(col, 1, CellValue::text(joined("栏目", std::to_string(col + 1))), 0);
            std::string formula = "sum(";
            formula += columnLetter(col);
            formula += std::to_string(FirstDataRow + 1);
            formula += ':';
            formula += columnLetter(col);
            formula += std::to_string(rows);
            formula += ')';
            sheet.loadFormula(col, TotalRow, formula);
        }
        for (int row = FirstDataRow; row < rows; ++row) {
            for (int col = 0; col < Cols; ++col) {
                seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
                const auto cents = static_cast<std::int64_t>((seed >> 33) % 100000000); // < 1,000,000.00
                sheet.loadCell(col, row, CellValue::number(static_cast<double>(cents) / 100.0), 0);
            }
        }
    }
    wb->recalculateAll();
    wb->undoStack().clear();
    wb->DoSetModified(false);
    return wb;
}

class Scratch {
public:
    Scratch()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantor-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        m_dir = pattern;
        saveWorkbook(*buildWorkload(), workloadPath());
    }
    ~Scratch()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    std::string workloadPath() const { return (m_dir / "workload.cll").string(); }
    std::string savePath() const { return (m_dir / "saved.cll").string(); }

private:
    std::filesystem::path m_dir;
};

Scratch &scratch()
{
    static Scratch instance;
    return instance;
}

std::size_t residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

std::size_t cellCount(const Workbook &wb)
{
    std::size_t cells = 0;
    for (int s = 0; s < wb.SheetCount(); ++s)
        cells += static_cast<std::size_t>(wb.sheet(s).rows()) * static_cast<std::size_t>(wb.sheet(s).cols());
    return cells;
}

// First, while the heap is fresh: what holding the open workbook costs.
void BM_OpenWorkbookMemory(benchmark::State &state)
{
    const std::string path = scratch().workloadPath();
    for (auto _ : state) {
        ::malloc_trim(0);
        const std::size_t before = residentBytes();
        auto wb = loadWorkbook(path);
        const std::size_t after = residentBytes();
        state.counters["rss_MB"] = static_cast<double>(after - before) / (1024.0 * 1024.0);
        state.counters["cells"] = static_cast<double>(cellCount(*wb));
        benchmark::DoNotOptimize(wb.get());
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
}
BENCHMARK(BM_OpenWorkbookMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Open(benchmark::State &state)
{
    const std::string path = scratch().workloadPath();
    for (auto _ : state) {
        auto wb = loadWorkbook(path);
        benchmark::DoNotOptimize(wb.get());
        state.PauseTiming();
        wb.reset(); // freeing is not part of opening
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_Save(benchmark::State &state)
{
    const auto wb = loadWorkbook(scratch().workloadPath());
    for (auto _ : state)
        saveWorkbook(*wb, scratch().savePath());
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(scratch().savePath())) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The part of saving that is ours rather than the disk's.
void BM_SaveEncodeOnly(benchmark::State &state)
{
    const auto wb = loadWorkbook(scratch().workloadPath());
    for (auto _ : state) {
        std::string bytes = CllFile::toBytes(*wb);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_SaveEncodeOnly)->Unit(benchmark::kMillisecond);

void BM_ChangeOneCell(benchmark::State &state)
{
    const auto wb = loadWorkbook(scratch().workloadPath());
    const int sheet = BigSheets[0];
    wb->DoSetCurrentSheet(sheet);
    int row = FirstDataRow;
    double amount = 1.25;
    for (auto _ : state) {
        {
            UndoGroup group(*wb);
            wb->DoSetCellData(5, row, amount);
        }
        const CellValue total = wb->DoGetCellData(5, TotalRow);
        benchmark::DoNotOptimize(total);
        amount += 0.01;
        row = row + 97 < BigRows ? row + 97 : FirstDataRow + (row % 97);
    }
}
BENCHMARK(BM_ChangeOneCell)->Unit(benchmark::kMicrosecond);

void BM_InsertRowAtRow4(benchmark::State &state)
{
    const auto wb = loadWorkbook(scratch().workloadPath());
    const int sheet = BigSheets[0];
    wb->DoSetCurrentSheet(sheet);
    for (auto _ : state) {
        wb->DoInsertRows(FirstDataRow, 1, sheet);
        state.PauseTiming();
        if (wb->DoGetCellData(0, TotalRow).isError())
            state.SkipWithError("total row broken by the insertion");
        wb->DoUndo(); // back to the original size for the next round
        state.ResumeTiming();
    }
}
BENCHMARK(BM_InsertRowAtRow4)->Unit(benchmark::kMicrosecond);

} // namespace
