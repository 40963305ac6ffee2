#include "SummaryCommands.h"

#include "CliProject.h"
#include "CliText.h"

#include "project/NodePropertiesForm.h"
#include "project/ProjectTakeover.h"
#include "summation/SummaryDriver.h"
#include "summation/SummarySheets.h"

#include <charconv>

namespace vantor::cli {

namespace {

// An open summary project, or nothing after telling the user why not.
std::unique_ptr<OpenProject> openSummaryProject(const std::string &command, const CliArgs &args, CliStreams &io)
{
    auto project = openProject(checkedProjectPath(args.positional()[0]), args, io);
    if (project && project->session.kind() != ProjectKind::Summary) {
        io.err << "vantor-cli " << command << ": " << args.positional()[0] << " 不是项目汇总型项目。\n";
        return nullptr;
    }
    return project;
}

// The --parent option: the root or a folder of the project.
std::optional<int16_t> parentFolder(const std::string &command, const CliArgs &args, OpenProject &project,
                                    CliStreams &io)
{
    const int16_t parent = static_cast<int16_t>(args.integer("parent", 0, INT16_MAX, 0));
    if (parent == 0)
        return parent;
    const auto node = project.session.store().node(parent);
    if (!node || node->nodetype == static_cast<int16_t>(NodeType::Data)) {
        io.err << "vantor-cli " << command << ": 结点 " << parent << " 不是汇总结点。\n";
        return std::nullopt;
    }
    return parent;
}

} // namespace

int cliAddFolder(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"parent", "password"}, {});
    parsed.expectPositional(2);
    const std::string &name = CliText::accepted("名称", parsed.positional()[1], NodePropertiesForm::kNameLength);
    if (name.empty())
        throw CliUsageError("结点名称不能为空");
    auto project = openSummaryProject("add-folder", parsed, io);
    if (!project)
        return ExitFailure;
    const auto parent = parentFolder("add-folder", parsed, *project, io);
    if (!parent)
        return ExitFailure;
    ProjectStore &store = project->session.store();
    const int16_t id = store.insertFolderNode(*parent);
    NodeProperties properties;
    properties.pmname = name;
    store.updateNodeProperties(id, properties);
    if (!save(*project, io))
        return ExitFailure;
    io.out << id << "\n";
    return ExitOk;
}

int cliTakeover(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"parent", "password"}, {});
    if (parsed.positional().size() < 2)
        throw CliUsageError("缺少参数");
    auto project = openSummaryProject("takeover", parsed, io);
    if (!project)
        return ExitFailure;
    const auto parent = parentFolder("takeover", parsed, *project, io);
    if (!parent)
        return ExitFailure;
    std::vector<int16_t> ids;
    for (std::size_t i = 1; i < parsed.positional().size(); ++i) {
        const std::string &path = parsed.positional()[i];
        int16_t id = 0;
        if (ProjectTakeover::takeOverFile(project->session, project->prompter, path, *parent, &id) !=
            CommandResult::Done) {
            io.err << "vantor-cli takeover: 没有接收 " << path << "，汇总项目没有保存，仍是原来的内容。\n";
            return ExitFailure;
        }
        ids.push_back(id);
    }
    for (std::size_t i = 0; i < ids.size(); ++i)
        io.out << ids[i] << "\t" << parsed.positional()[i + 1] << "\n";
    return save(*project, io) ? ExitOk : ExitFailure;
}

int cliSummary(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"sheet", "node", "password"}, {"yuan"});
    parsed.expectPositional(1);
    const std::string &label = parsed.required("sheet");
    if (SummaryDriver::sheetOf(label) < 0)
        throw CliUsageError("--sheet 应为汇总表的标签 b0 … b9：" + label);
    const int16_t node = static_cast<int16_t>(parsed.integer("node", 0, INT16_MAX, 0));

    auto project = openProject(checkedProjectPath(parsed.positional()[0]), parsed, io);
    if (!project)
        return ExitFailure;
    if (!project->session.store().node(node)) {
        io.err << "vantor-cli summary: 项目中没有结点 " << node << "。\n";
        return ExitFailure;
    }
    UnitPrompter prompter(io.err, parsed.has("yuan"));
    if (!SummaryDriver::build(project->workbook, project->session.store(), label, node, prompter)) {
        io.err << "vantor-cli summary: 工作簿中没有汇总表 " << label << "。\n";
        return ExitFailure;
    }
    writeSheetTsv(project->workbook, project->workbook.findSheet(label), false, io.out);
    return ExitOk;
}

void addSummaryCommands(CliCommandTable &table)
{
    table["add-folder"] = {"add-folder SUMMARY.mdb NAME [--parent ID] [--password 密码]",
                           "在项目汇总型项目的根结点（或汇总结点 ID）下添加汇总结点，输出其编号并保存项目",
                           cliAddFolder};
    table["takeover"] = {"takeover SUMMARY.mdb DATA.mdb… [--parent ID] [--password 密码]",
                         "把数据录入型项目逐个接收为根结点（或汇总结点 ID）下的数据结点，输出新结点编号并保存；"
                         "任何一个文件失败则不保存",
                         cliTakeover};
    table["summary"] = {
        "summary FILE.mdb --sheet b0…b9 [--node ID] [--yuan] [--password 密码]",
        "按结点 ID（默认整个项目）计算汇总表并像 dump 一样输出；表1 默认以万元为单位，--yuan 以元为单位", cliSummary};
}

} // namespace vantor::cli
