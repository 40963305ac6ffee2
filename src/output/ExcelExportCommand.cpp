#include "output/ExcelExportCommand.h"

#include "common/Prompter.h"
#include "project/ProjectStore.h"
#include "sheets/SheetCatalogue.h"

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

CommandResult ExcelExportCommand::run(ProjectSession &session, const Workbook &workbook, Prompter &prompter)
{
    if (!session.isOpen())
        return CommandResult::Cancelled;
    FileDialogRequest request;
    request.title = "存为Excel文件";
    request.filter = Filter;
    request.fileName = std::filesystem::path(session.projectPath()).stem().string() + "." + Extension;
    const auto chosen = prompter.saveFileName(request);
    if (!chosen || chosen->empty())
        return CommandResult::Cancelled;
    const std::string path = withExtension(*chosen);
    prompter.message(Notice, ProjectSession::kTitle, MessageIcon::None);
    try {
        ExcelExport::write(workbook, path, titlesFrom(session.store()));
    } catch (const std::exception &e) {
        prompter.message(std::string(e.what()) + "\n没有留下不完整的文件。", ProjectSession::kTitle,
                         MessageIcon::Critical);
        return CommandResult::Failed;
    }
    prompter.message(Success, ProjectSession::kTitle, MessageIcon::None);
    return CommandResult::Done;
}

} // namespace vantor
