#include "CheckCommands.h"

#include "CliProject.h"

#include "project/ProjectRefresh.h"
#include "summation/ProjectCheck.h"

#include <exception>
#include <filesystem>

namespace vantor::cli {

int cliCheck(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"node", "password"}, {"csv"});
    parsed.expectPositional(1);
    std::optional<int16_t> node;
    if (parsed.has("node"))
        node = static_cast<int16_t>(parsed.integer("node", 1, INT16_MAX, 1));

    auto project = openProject(checkedProjectPath(parsed.positional()[0]), parsed, io);
    if (!project)
        return ExitUsage;
    CheckReport report;
    try {
        const ProjectStore &store = project->session.store();
        if (node) {
            const auto n = store.node(*node);
            if (store.kind() != ProjectKind::Summary || !n || n->nodetype != static_cast<int16_t>(NodeType::Data)) {
                io.err << "vantor-cli check: 项目中没有数据结点 " << *node << "。\n";
                return ExitUsage;
            }
        }
        report = ProjectCheck::run(project->workbook, store, CheckLimits{}, node);
    } catch (const std::exception &e) {
        io.err << "vantor-cli check: " << e.what() << "\n";
        return ExitUsage;
    }
    if (parsed.has("csv")) {
        io.out << ProjectCheck::csv(report);
    } else {
        for (const CheckFinding &f : report.findings)
            io.out << ProjectCheck::line(f) << "\n";
        io.out << report.summary() << "\n";
    }
    return report.count(CheckSeverity::Error) > 0 ? ExitFailure : ExitOk;
}

int cliRefresh(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"node", "password"}, {});
    parsed.expectPositional(2);
    const auto node = static_cast<int16_t>(parsed.integer("node", 1, INT16_MAX, 0));
    if (!parsed.has("node"))
        throw CliUsageError("缺少 --node");
    const std::string &dataPath = parsed.positional()[1];

    auto project = openProject(checkedProjectPath(parsed.positional()[0]), parsed, io);
    if (!project)
        return ExitFailure;
    if (project->session.kind() != ProjectKind::Summary) {
        io.err << "vantor-cli refresh: " << parsed.positional()[0] << " 不是项目汇总型项目。\n";
        return ExitFailure;
    }
    RefreshPlan plan;
    try {
        const std::string temp = std::filesystem::path(project->session.workDatabasePath()).parent_path().string();
        plan = ProjectRefresh::prepare(project->session.store(), node, dataPath, temp);
        ProjectRefresh::apply(project->session.store(), plan);
    } catch (const std::exception &e) {
        io.err << "vantor-cli refresh: " << e.what() << "\n汇总项目没有保存，结点 " << node << " 仍是原来的数据。\n";
        return ExitFailure;
    }
    if (!save(*project, io))
        return ExitFailure;
    for (const std::string &line : ProjectRefresh::changeLines(plan))
        io.out << line << "\n";
    io.out << "结点 " << node << " 已更新，" << plan.changes.size() << " 张表的合计数有变化。\n";
    return ExitOk;
}

void addCheckCommands(CliCommandTable &table)
{
    table["check"] = {"check FILE.mdb [--node ID] [--csv] [--password 密码]",
                      "检查项目数据的勾稽关系，每行输出一项（级别、结点、表号、单元格、说明）；无错误时退出码为 0，"
                      "有错误为 1，命令行或文件错误为 2；不改动项目",
                      cliCheck};
    table["refresh"] = {"refresh SUMMARY.mdb --node ID DATA.mdb [--password 密码]",
                        "用数据录入型项目更新汇总项目的数据结点 ID，输出合计数有变化的表并保存；失败时不作任何改动",
                        cliRefresh};
}

} // namespace vantor::cli
