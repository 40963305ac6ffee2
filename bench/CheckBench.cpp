// The consistency check and the refresh of a data node at their sizes: a data-entry project
// with every detail kind (68 sheets) of 600 rows each, a summary project of 1,000 data nodes
// with 70 sheet totals each, and refreshing one node of that project from a data-entry file.

#include "BenchPrompter.h"
#include "project/Database.h"
#include "project/ProjectRefresh.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"
#include "project/Savepoint.h"
#include "project/Statement.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailLayouts.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"
#include "sheets/SheetCatalogue.h"
#include "summation/ProjectCheck.h"
#include "summation/SheetTotals.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vantor {
namespace {

constexpr int kRows = 600;
constexpr int kNodes = 1000;

std::string scratchFolder()
{
    std::string pattern = (fs::temp_directory_path() / "vantor-checkbench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("no scratch folder");
    return pattern;
}

// Every detail kind with 600 filled rows, derived cells computed and totals stored.
struct DataProject {
    DataProject() : db(":memory:", Database::Mode::ReadWriteCreate), store(db)
    {
        ProjectSchema::create(db, 1);
        bench::BenchPrompter prompter;
        bool first = true;
        for (int id = SheetCatalogue::FirstDetailId; id <= SheetCatalogue::LastDetailId; ++id) {
            const DetailLayout *layout = DetailLayouts::layout(id);
            store.insertSheet({static_cast<int16_t>(id), "表", "明细表"});
            if (first)
                workbook.setSheetLabel(0, SheetCatalogue::label(id));
            else
                workbook.DoAddSheet(SheetCatalogue::label(id));
            first = false;
            const int index = workbook.SheetCount() - 1;
            workbook.DoSetCurrentSheet(index);
            DetailSheetBuilder::build(workbook, id);
            {
                UndoPause pause(workbook);
                workbook.SetRows(DetailLayouts::FirstDataRow + kRows);
                for (int r = 0; r < kRows; ++r) {
                    const int row = DetailLayouts::FirstDataRow + r;
                    workbook.DoSetCellData(1, row, "名称");
                    for (int c : layout->summedColumns())
                        workbook.DoSetCellData(c, row, 100.0 + (r * 7 + c) % 50);
                }
                RowFormulas::recomputeRows(workbook, id, DetailLayouts::FirstDataRow, workbook.Rows() - 1, true);
            }
            writeSheetTotals(workbook, store, id, prompter, index);
        }
    }
    Database db;
    ProjectStore store;
    Workbook workbook;
};

void insertTotals(Statement &insert, int pmid)
{
    for (int k = 0; k < 70; ++k) {
        const int id = k < 4 ? 3 + k : 6 + k;
        const int64_t base = (int64_t{pmid} * 131 + id * 17) % 100000 * 10000 + 1234;
        const int64_t sign = id >= 58 || id <= 6 ? -1 : 1;
        insert.bindAll(id, pmid, sign * base, sign * (base + 500), sign * (base + 2500), 0, 0, 0);
        insert.run();
        insert.reset();
    }
}

// 1,000 data nodes under the root, each remembered as taken over from a file of its own.
struct SummaryProject {
    SummaryProject()
        : folder(scratchFolder()), db((fs::path(folder) / "sum.mdb").string(), Database::Mode::ReadWriteCreate),
          store(db)
    {
        ProjectSchema::create(db, 0);
        dataFile = (fs::path(folder) / "data.mdb").string();
        {
            Database data(dataFile, Database::Mode::ReadWriteCreate);
            ProjectSchema::create(data, 1);
            Statement insert = data.prepare("INSERT INTO sheetdata VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
            insertTotals(insert, 0);
        }
        Savepoint sp(db);
        Statement node =
            db.prepare("INSERT INTO pmprop (pmid, nodetype, parent, pmname, zczydw, pgjzr) VALUES (?, 1, 0, ?, ?, ?)");
        Statement insert = db.prepare("INSERT INTO sheetdata VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        for (int pmid = 1; pmid <= kNodes; ++pmid) {
            node.bindAll(pmid, std::string("项目"), std::string("某公司"), std::string("2026-06-30"));
            node.run();
            node.reset();
            insertTotals(insert, pmid);
            store.setNodeSource({static_cast<int16_t>(pmid), dataFile, "0"});
        }
        sp.commit();
    }
    ~SummaryProject()
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    std::string folder;
    Database db;
    ProjectStore store;
    std::string dataFile;
};

void BM_CheckDataProject(benchmark::State &state)
{
    static DataProject project;
    for (auto _ : state)
        benchmark::DoNotOptimize(ProjectCheck::run(project.workbook, project.store, {}));
}
BENCHMARK(BM_CheckDataProject)->Unit(benchmark::kMillisecond);

void BM_CheckSummaryProject(benchmark::State &state)
{
    static SummaryProject project;
    Workbook unused;
    for (auto _ : state)
        benchmark::DoNotOptimize(ProjectCheck::run(unused, project.store, {}));
}
BENCHMARK(BM_CheckSummaryProject)->Unit(benchmark::kMillisecond);

void BM_RefreshOneNode(benchmark::State &state)
{
    static SummaryProject project;
    for (auto _ : state) {
        const RefreshPlan plan = ProjectRefresh::prepare(project.store, 500, project.dataFile, project.folder);
        ProjectRefresh::apply(project.store, plan);
    }
}
BENCHMARK(BM_RefreshOneNode)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vantor
