#include "OutputCommands.h"

#include "CliProject.h"

#include "output/ExcelExportCommand.h"
#include "output/OverviewList.h"
#include "project/ReportQueries.h"

namespace vantor::cli {

int cliExport(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"password"}, {"yuan"});
    parsed.expectPositional(2);
    const std::string target = ExcelExportCommand::withExtension(parsed.positional()[1]);
    auto project = openProject(checkedProjectPath(parsed.positional()[0]), parsed, io);
    if (!project)
        return ExitFailure;
    try {
        ExcelExportCommand::writeProject(project->workbook, project->session.store(), target, parsed.has("yuan"));
    } catch (const std::exception &e) {
        io.err << "vantor-cli export: " << e.what() << "\n";
        return ExitFailure;
    }
    io.out << target << "\n";
    return ExitOk;
}

int cliOverview(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"list", "password"}, {});
    parsed.expectPositional(1);
    const std::string &key = parsed.required("list");
    if (!OverviewList::isKey(key))
        throw CliUsageError("--list 应为 k0 … k12 或 b 加表号：" + key);
    auto project = openProject(checkedProjectPath(parsed.positional()[0]), parsed, io);
    if (!project)
        return ExitFailure;
    Database &db = project->session.database();
    std::string title = key;
    for (const OverviewTreeEntry &entry : OverviewList::tree(db))
        if (entry.key == key)
            title = entry.text;
    Workbook list;
    OverviewList::BuildOverview(list, ReportQueries::dataNodeCount(db), ReportQueries::holdingUnit(db));
    OverviewList::FillOverview(list, OverviewList::query(db, key).value_or(std::vector<OverviewRow>{}), title);
    writeSheetTsv(list, 0, false, io.out);
    return ExitOk;
}

void addOutputCommands(CliCommandTable &table)
{
    table["export"] = {"export FILE.mdb OUT.xlsx [--yuan] [--password 密码]",
                       "把项目的全部表格存为Excel文件（与“存为Excel文件”相同；汇总表按全部项目计算，"
                       "--yuan 使表1以元为单位）",
                       cliExport};
    table["overview"] = {"overview FILE.mdb --list KEY [--password 密码]",
                         "按资产类别输出一览表（KEY 为 k0 … k12 或 b 加表号），格式同 dump", cliOverview};
}

} // namespace vantor::cli
