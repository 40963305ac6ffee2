// The whole report of a data-entry project of 69 detail sheets of 60 rows each and the ten
// summary sheets: as one PDF (contents, pages, bookmarks) and as an Excel file with the summaries
// computed and the print page set-up. Reports pages, file size and the peak resident memory of
// the process.

#include "ReportProjectFixture.h"

#include "output/ExcelExportCommand.h"
#include "output/ReportBook.h"
#include "output/pdf/ReportPdf.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <sys/resource.h>

namespace vantor {
namespace {

constexpr int kRows = 60;

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_WholeReportPdf(benchmark::State &state)
{
    bench::ReportProject project(kRows);
    const std::string path = project.folder + "/report.pdf";
    std::size_t forms = 0;
    for (auto _ : state) {
        ReportBook book(project.workbook, *project.store, ReportOptions{});
        forms = book.forms().size();
        ReportPdf::write(book, path);
    }
    state.counters["forms"] = static_cast<double>(forms);
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
    state.counters["peak_rss_MB"] = peakRssMb();
}
BENCHMARK(BM_WholeReportPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_WholeReportExcel(benchmark::State &state)
{
    bench::ReportProject project(kRows);
    const std::string path = project.folder + "/report.xlsx";
    for (auto _ : state)
        ExcelExportCommand::writeProject(project.workbook, *project.store, path, false);
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
    state.counters["peak_rss_MB"] = peakRssMb();
}
BENCHMARK(BM_WholeReportExcel)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
} // namespace vantor

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
