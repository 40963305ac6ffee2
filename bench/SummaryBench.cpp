// Summary sheets of a large summary project (1,000 data nodes in 10 folders, 70 sheet totals
// each: 70,000 sheetdata rows in a project file on disk): b1 for the root and for one
// folder, and all ten sheets for the root; and taking 100 data-entry projects of 70 sheets
// each over into a new summary project. The takeover reads the templates from the
// benchmark's own folder (build the vantor-templates target) and skips when they are missing.

#include "BenchPrompter.h"
#include "project/Database.h"
#include "project/EngineProjectWorkbook.h"
#include "project/ProjectSchema.h"
#include "project/ProjectSession.h"
#include "project/ProjectStore.h"
#include "project/ProjectTakeover.h"
#include "project/Savepoint.h"
#include "project/Statement.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/TemplateWorkbook.h"
#include "summation/SummaryDriver.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vantor {
namespace {

constexpr int kFolders = 10;
constexpr int kNodesPerFolder = 100;
constexpr int kProjects = 100;

// The 70 sheet ids a full project has totals for: the contra rows 3 … 6 and 10 … 75.
int sheetIdAt(int k)
{
    return k < 4 ? 3 + k : 6 + k;
}

void insertTotals(Database &db, int pmid, Statement &insert)
{
    for (int k = 0; k < 70; ++k) {
        const int id = sheetIdAt(k);
        const int64_t base = (int64_t{pmid} * 131 + id * 17) % 100000 * 10000 + 1234;
        const int64_t sign = id >= 58 || id <= 6 ? -1 : 1;
        insert.bindAll(id, pmid, sign * base, sign * (base + 500), sign * (base + 2500),
                       id >= 40 && id <= 46 ? base * 2 : 0, id >= 40 && id <= 46 ? base * 2 : 0,
                       id >= 40 && id <= 46 ? base * 3 : 0);
        insert.run();
        insert.reset();
    }
    (void)db;
}

std::string scratchFolder()
{
    std::string pattern = (fs::temp_directory_path() / "vantor-sumbench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("no scratch folder");
    return pattern;
}

// The summary project, made once for all benchmarks of the sheets.
struct LargeProject {
    LargeProject() : folder(scratchFolder())
    {
        db = std::make_unique<Database>((fs::path(folder) / "_workfile.mdb").string(), Database::Mode::ReadWriteCreate);
        ProjectSchema::create(*db, 0);
        {
            Savepoint sp(*db);
            Statement node = db->prepare("INSERT INTO pmprop (pmid, nodetype, parent, pmname) VALUES (?, ?, ?, ?)");
            Statement insert = db->prepare("INSERT INTO sheetdata VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
            int pmid = 1;
            for (int f = 0; f < kFolders; ++f) {
                const int folderId = pmid++;
                node.bindAll(folderId, 0, 0, std::string("分公司"));
                node.run();
                node.reset();
                for (int n = 0; n < kNodesPerFolder; ++n) {
                    node.bindAll(pmid, 1, folderId, std::string("项目"));
                    node.run();
                    node.reset();
                    insertTotals(*db, pmid++, insert);
                }
            }
            sp.commit();
        }
        store = std::make_unique<ProjectStore>(*db);
        TemplateWorkbook::build(workbook);
    }
    ~LargeProject()
    {
        store.reset();
        db.reset();
        std::error_code ec;
        fs::remove_all(folder, ec);
    }

    std::string folder;
    std::unique_ptr<Database> db;
    std::unique_ptr<ProjectStore> store;
    Workbook workbook;
    bench::BenchPrompter prompter;
};

LargeProject &largeProject()
{
    static LargeProject project;
    return project;
}

void BM_SummaryB1Root(benchmark::State &state)
{
    LargeProject &p = largeProject();
    for (auto _ : state)
        benchmark::DoNotOptimize(SummaryDriver::build(p.workbook, *p.store, "b1", 0, p.prompter));
}
BENCHMARK(BM_SummaryB1Root)->Unit(benchmark::kMillisecond);

void BM_SummaryB1Folder(benchmark::State &state)
{
    LargeProject &p = largeProject();
    for (auto _ : state)
        benchmark::DoNotOptimize(SummaryDriver::build(p.workbook, *p.store, "b1", 1, p.prompter));
}
BENCHMARK(BM_SummaryB1Folder)->Unit(benchmark::kMillisecond);

void BM_SummaryAllTenSheetsRoot(benchmark::State &state)
{
    LargeProject &p = largeProject();
    for (auto _ : state)
        for (const char *label : {"b0", "b1", "b2", "b3", "b4", "b5", "b6", "b7", "b8", "b9"})
            benchmark::DoNotOptimize(SummaryDriver::build(p.workbook, *p.store, label, 0, p.prompter));
}
BENCHMARK(BM_SummaryAllTenSheetsRoot)->Unit(benchmark::kMillisecond);

std::string programFolder()
{
    std::error_code ec;
    return fs::read_symlink("/proc/self/exe", ec).parent_path().string();
}

void BM_TakeoverOfHundredProjects(benchmark::State &state)
{
    const std::string program = programFolder();
    if (!fs::exists(fs::path(program) / "template.vtw")) {
        state.SkipWithError("templates missing: build vantor-templates");
        return;
    }
    const std::string folder = scratchFolder();
    std::vector<std::string> files;
    for (int i = 0; i < kProjects; ++i) {
        const std::string path = (fs::path(folder) / ("data" + std::to_string(i) + ".mdb")).string();
        fs::copy_file(fs::path(program) / "template.vtw", path);
        Database db(path);
        Savepoint sp(db);
        db.prepare("UPDATE pmprop SET pmname = ?, zczydw = ? WHERE pmid = 0")
            .bindAll(std::string("项目") + std::to_string(i), std::string("某公司"))
            .run();
        db.exec("INSERT INTO sheetprop (pmid, id, tbr, pgry) VALUES (0, 3, '甲', '乙'), (0, 4, '甲', '乙')");
        Statement insert = db.prepare("INSERT INTO sheetdata VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        insertTotals(db, 0, insert);
        sp.commit();
        files.push_back(path);
    }
    Workbook workbook;
    EngineProjectWorkbook projectWorkbook(workbook);
    bench::BenchPrompter prompter;
    {
        ProjectSession session({program, (fs::path(folder) / "work").string()}, projectWorkbook);
        fs::create_directories(fs::path(folder) / "work");
        for (auto _ : state) {
            state.PauseTiming();
            if (session.isOpen())
                session.closeProject(prompter);
            session.newProject(ProjectKind::Summary, prompter);
            state.ResumeTiming();
            for (const std::string &file : files)
                if (ProjectTakeover::takeOverFile(session, prompter, file, 0) != CommandResult::Done)
                    state.SkipWithError("takeover failed");
        }
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
}
BENCHMARK(BM_TakeoverOfHundredProjects)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vantor
