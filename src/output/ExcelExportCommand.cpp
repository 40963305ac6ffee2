#include "output/ExcelExportCommand.h"

#include "common/Prompter.h"
#include "output/ReportBook.h"
#include "project/ProjectStore.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailLayouts.h"
#include "sheets/SheetCatalogue.h"
#include "summation/SummarySheets.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>

namespace vantor {

namespace {

bool endsWithIgnoringCase(const std::string &text, const std::string &end)
{
    if (text.size() < end.size())
        return false;
    return std::equal(end.rbegin(), end.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

} // namespace

std::string ExcelExportCommand::withExtension(const std::string &path)
{
    const std::string dotted = std::string(".") + Extension;
    return endsWithIgnoringCase(path, dotted) ? path : path + dotted;
}

ExcelExport::SheetTitle ExcelExportCommand::titlesFrom(const ProjectStore &store)
{
    auto names = std::make_shared<std::map<int, std::string>>();
    for (const SheetListRow &row : store.sheets())
        (*names)[row.id] = row.code + " " + row.name;
    return [names](const std::string &label) -> std::string {
        const auto id = label.size() > 1 && label[0] == 'b' ? SheetCatalogue::idOfLabel(label) : std::nullopt;
        if (!id || SheetCatalogue::label(*id) != label)
            return label;
        if (const auto it = names->find(*id); it != names->end())
            return it->second;
        if (const SummarySheetEntry *s = SheetCatalogue::summaryEntry(*id))
            return std::string(s->code) + " " + std::string(s->name);
        const auto [code, name] = SheetCatalogue::codeAndName(*id);
        return code.empty() ? label : code + " " + name;
    };
}

void ExcelExportCommand::writeProject(const Workbook &workbook, const ProjectStore &store, const std::string &path,
                                      bool yuan, const std::function<int(int16_t id)> &rowsPerPage)
{
    // Room in the margins for the page header and footer.
    constexpr double MinTopMargin = 20, MinBottomMargin = 15;
    ReportOptions options;
    options.yuan = yuan;
    options.includeEmpty = true;
    options.rowsPerPage = rowsPerPage;
    ReportBook book(workbook, store, options);
    Workbook &wb = book.scratch();
    std::map<int, ExcelPageSetup> pages;
    for (std::size_t i = 0; i < book.forms().size(); ++i) {
        const ReportForm &form = book.forms()[i];
        const FormPageSetup printed = book.pageSetup(i);
        ExcelPageSetup page;
        page.landscape = printed.landscape;
        page.margins = printed.margins;
        page.margins[1] = std::max(page.margins[1], MinTopMargin);
        page.margins[3] = std::max(page.margins[3], MinBottomMargin);
        if (form.id != SheetCatalogue::ContraSheetId && SheetCatalogue::isDetail(form.id)) {
            page.repeatFirst = 0;
            page.repeatLast = DetailLayouts::TotalRow - 1;
        }
        page.header = "&L" + ExcelExport::headerText(printed.code) + "&C&\"宋体,Bold\"&12" +
                      ExcelExport::headerText(printed.name) + "&R" + ExcelExport::headerText(printed.unitLine);
        page.footer = "&C共&N页，第&P页";
        pages[form.index] = page;
        // The grid the sheet view draws round every cell of a form.
        UndoPause pause(wb);
        wb.DoSetRangeBorder(0, 0, wb.Cols(form.index) - 1, wb.Rows(form.index) - 1, 0, 1, 0, form.index);
    }
    ExcelExport::write(wb, path, titlesFrom(store), [&](int index) -> std::optional<ExcelPageSetup> {
        const auto it = pages.find(index);
        return it == pages.end() ? std::nullopt : std::optional<ExcelPageSetup>(it->second);
    });
}

CommandResult ExcelExportCommand::run(ProjectSession &session, const Workbook &workbook, Prompter &prompter,
                                      const std::function<int(int16_t id)> &rowsPerPage)
{
    if (!session.isOpen())
        return CommandResult::Cancelled;
    FileDialogRequest request;
    request.title = "存为Excel文件";
    request.filter = Filter;
    // Beside the project, under its name.
    request.directory = std::filesystem::path(session.projectPath()).parent_path().string();
    request.fileName = std::filesystem::path(session.projectPath()).stem().string() + "." + Extension;
    const auto chosen = prompter.saveFileName(request);
    if (!chosen || chosen->empty())
        return CommandResult::Cancelled;
    const std::string path = withExtension(*chosen);
    const bool yuan =
        prompter.question(SummarySheets::UnitQuestion, ProjectSession::kTitle, QuestionButtons::YesNo) == Answer::Yes;
    prompter.message(Notice, ProjectSession::kTitle, MessageIcon::None);
    try {
        writeProject(workbook, session.store(), path, yuan, rowsPerPage);
    } catch (const std::exception &e) {
        prompter.message(std::string(e.what()) + "\n没有留下不完整的文件。", ProjectSession::kTitle,
                         MessageIcon::Critical);
        return CommandResult::Failed;
    }
    prompter.message(Success, ProjectSession::kTitle, MessageIcon::None);
    return CommandResult::Done;
}

} // namespace vantor
