#include "PrintCommands.h"

#include "CliProject.h"
#include "SummaryCommands.h"

#include "output/PrintEngine.h"
#include "output/PrintOptions.h"
#include "output/ReportBook.h"
#include "output/pdf/ReportPdf.h"
#include "output/print/PrintSettingsStore.h"
#include "sheet_component/render/QtTextMeasurer.h"
#include "sheet_component/render/SheetPrinter.h"
#include "summation/SummaryDriver.h"

#include <QGuiApplication>

#include <charconv>
#include <cstdlib>
#include <memory>

namespace vantor::cli {

namespace {

int parseNumber(const std::string &option, const std::string &text, int low, int high, const std::string &what)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
        throw CliUsageError("--" + option + " 应为" + what + "：" + text);
    return value;
}

// Qt's painting needs an application object; the command line has no display.
std::unique_ptr<QGuiApplication> guiApplication()
{
    if (QGuiApplication::instance())
        return nullptr;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "vantor-cli";
    static char *argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

void writeLayout(const Workbook &workbook, int sheet, std::ostream &out)
{
    const std::vector<int> &breaks = workbook.printSettings(sheet).rowPageBreaks;
    const Sheet &s = workbook.sheet(sheet);
    std::size_t next = 0;
    for (int row = 0; row < s.rows(); ++row) {
        if (next < breaks.size() && breaks[next] == row) {
            out << "\f\n";
            ++next;
        }
        for (int col = 0; col < s.cols(); ++col) {
            if (col > 0)
                out << '\t';
            out << escapeTsvField(workbook.displayText(sheet, col, row));
        }
        out << '\n';
    }
}

// --all: the whole report as one PDF.
int printReport(const CliArgs &parsed, int16_t node, CliStreams &io)
{
    if (!parsed.has("pdf"))
        throw CliUsageError("--all 需要 --pdf 指定输出文件");
    auto project = openProject(checkedProjectPath(parsed.positional()[0]), parsed, io);
    if (!project)
        return ExitFailure;
    if (!project->session.store().node(node)) {
        io.err << "vantor-cli print: 项目中没有结点 " << node << "。\n";
        return ExitFailure;
    }
    const auto app = guiApplication();
    ReportOptions options;
    options.node = node;
    options.yuan = parsed.has("yuan");
    options.includeEmpty = parsed.has("include-empty");
    options.institution = PrintSettingsStore::institution();
    options.rowsPerPage = [](int16_t id) { return PrintSettingsStore::rows(id); };
    ReportBook book(project->workbook, project->session.store(), options);
    for (const ReportForm &form : book.tooLong())
        io.err << "vantor-cli print: " << form.code << " 超过" << PrintEngine::MaxDetailRows << "行，没有打印。\n";
    try {
        ReportPdf::write(book, parsed.required("pdf"));
    } catch (const ReportPdfError &e) {
        io.err << "vantor-cli print: " << e.what() << "\n";
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace

int cliPrint(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"sheet", "node", "rows", "pdf", "password"},
                         {"yuan", "layout", "all", "include-empty"});
    parsed.expectPositional(1);
    const auto node = static_cast<int16_t>(
        parsed.has("node") ? parseNumber("node", parsed.required("node"), 0, INT16_MAX, "结点编号（0 至 32767）") : 0);
    if (parsed.has("all"))
        return printReport(parsed, node, io);
    const std::string &label = parsed.required("sheet");
    int id = -1;
    if (label.size() >= 2 && label[0] == 'b')
        std::from_chars(label.data() + 1, label.data() + label.size(), id);
    if (id < 0 || id > 78 || label != "b" + std::to_string(id))
        throw CliUsageError("--sheet 应为工作表的标签 b0 … b78：" + label);
    const int rows = parsed.has("rows") ? parseNumber("rows", parsed.required("rows"), PrintEngine::MinRowsPerPage,
                                                      PrintEngine::MaxRowsPerPage, "每页行数（25 至 50）")
                                        : 0;
    const bool pdf = parsed.has("pdf");
    const bool layout = parsed.has("layout") || !pdf;

    auto project = openProject(checkedProjectPath(parsed.positional()[0]), parsed, io);
    if (!project)
        return ExitFailure;
    ProjectStore &store = project->session.store();
    Workbook &workbook = project->workbook;
    if (!store.node(node)) {
        io.err << "vantor-cli print: 项目中没有结点 " << node << "。\n";
        return ExitFailure;
    }
    const int index = workbook.findSheet(label);
    if (index < 0) {
        io.err << "vantor-cli print: 工作簿中没有工作表 " << label << "。\n";
        return ExitFailure;
    }
    const auto app = guiApplication();
    // Column widths fitted to amounts measure with the fonts the pages are drawn in.
    QtTextMeasurer measurer;
    workbook.setTextMeasurer(&measurer);
    struct Detach {
        Workbook &w;
        ~Detach() { w.setTextMeasurer(nullptr); }
    } detach{workbook};
    PrintContext context;
    context.summaryView = id <= 9;
    context.summaryKey = label;
    context.sheetId = static_cast<int16_t>(id);
    if (context.summaryView) {
        UnitPrompter prompter(io.err, parsed.has("yuan"));
        SummaryDriver::build(workbook, store, label, node, prompter);
    }
    workbook.DoSetCurrentSheet(index);

    const std::string institution = PrintSettingsStore::institution();
    bool written = true;
    const auto outcome = PrintEngine::PrintSheet(
        workbook, context,
        [&](int16_t sheetId) {
            PrintTexts t = PrintTexts::read(store, node, sheetId, institution);
            t.unitLine = PrintTexts::unitLineOf(sheetId, parsed.has("yuan"));
            return t;
        },
        [&](int16_t sheetId) { return rows > 0 ? rows : PrintSettingsStore::rows(sheetId); }, nullptr,
        [&](Workbook &wb, int sheet) {
            if (pdf) {
                SheetPrinter pages(wb, sheet);
                QString error;
                if (!pages.exportPdf(QString::fromStdString(parsed.required("pdf")), &error)) {
                    io.err << "vantor-cli print: " << error.toStdString() << "\n";
                    written = false;
                }
            }
            if (layout)
                writeLayout(wb, sheet, io.out);
        });
    switch (outcome) {
    case PrintEngine::Outcome::Printed:
        return written ? ExitOk : ExitFailure;
    case PrintEngine::Outcome::TooManyRows:
        io.err << "vantor-cli print: 明细表超过" << PrintEngine::MaxDetailRows << "行，不能打印。\n";
        return ExitFailure;
    default:
        io.err << "vantor-cli print: 工作表 " << label << " 不能打印。\n";
        return ExitFailure;
    }
}

void addPrintCommands(CliCommandTable &table)
{
    table["print"] = {"print FILE.mdb --sheet LABEL [--node ID] [--rows R] [--yuan] [--pdf OUT.pdf] [--layout] "
                      "[--password 密码]\n"
                      "print FILE.mdb --all --pdf OUT.pdf [--node ID] [--yuan] [--include-empty] [--password 密码]",
                      "按打印格式排版工作表（汇总表先按结点 ID 计算）：--pdf 写出 A4 的 PDF 文件，--layout "
                      "像 dump 一样输出排好的表，每个打印页之间一行换页符；R 默认为程序记住的每页行数；--all "
                      "把整套报表（目录、汇总表、"
                      "有数据的明细表，--include-empty 也含空表）写成一个 PDF 文件",
                      cliPrint};
}

} // namespace vantor::cli
