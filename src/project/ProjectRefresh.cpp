#include "project/ProjectRefresh.h"

#include "project/Database.h"
#include "project/ProjectPaths.h"
#include "project/ProjectStore.h"
#include "project/Savepoint.h"
#include "sheets/SheetCatalogue.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vantor {

namespace {

constexpr const char *kTitle = "更新项目数据";
// Lines of the confirmation beyond which the rest is only counted.
constexpr std::size_t kShownChanges = 24;

std::string money(Amount a, bool negate)
{
    return (negate ? -a : a).toString(2);
}

std::string sheetCode(int16_t id)
{
    if (SheetCatalogue::isContraRow(id))
        return "表11(" + std::to_string(id) + ")";
    if (SheetCatalogue::isSummary(id))
        return SheetCatalogue::label(id);
    auto [code, name] = SheetCatalogue::codeAndName(id);
    return code.empty() ? SheetCatalogue::label(id) : code;
}

} // namespace

RefreshPlan ProjectRefresh::prepare(const ProjectStore &store, int16_t node, const std::string &path,
                                    const std::string &tempFolder)
{
    const auto target = store.node(node);
    if (!target || node == 0 || target->nodetype != static_cast<int16_t>(NodeType::Data))
        throw RefreshError("结点 " + std::to_string(node) + " 不是数据结点，只能更新数据结点的数据。");
    RefreshPlan plan;
    plan.node = node;
    try {
        plan.source = ProjectSource::read(path, tempFolder);
    } catch (const std::exception &e) {
        throw RefreshError("无法读取项目文件" + path + "：" + e.what());
    }
    if (plan.source.kind != ProjectKind::DataEntry)
        throw RefreshError("项目文件" + path + "不是数据录入型项目，不能用来更新数据结点。");

    const std::map<int16_t, SheetTotals> before = store.sumsById({node});
    auto b = before.begin();
    auto a = plan.source.totals.begin();
    // Both maps are ordered by id: walk them together.
    while (b != before.end() || a != plan.source.totals.end()) {
        SheetChange change;
        if (a == plan.source.totals.end() || (b != before.end() && b->first < a->first)) {
            change = {b->first, b->second, {}};
            ++b;
        } else if (b == before.end() || a->first < b->first) {
            change = {a->first, {}, a->second};
            ++a;
        } else {
            change = {a->first, b->second, a->second};
            ++a;
            ++b;
        }
        if (!(change.before == change.after))
            plan.changes.push_back(change);
    }
    return plan;
}

void ProjectRefresh::apply(ProjectStore &store, const RefreshPlan &plan)
{
    Savepoint sp(store.database());
    store.replaceNodeTotals(plan.node, plan.source.totals);
    store.setNodeSource(plan.source.source(plan.node));
    sp.commit();
}

std::optional<int16_t> ProjectRefresh::nodeTakenFrom(const ProjectStore &store, const std::string &path)
{
    const std::string absolute = ProjectSource::absolutePath(path);
    for (const NodeSource &source : store.nodeSources())
        if (source.path == absolute || ProjectPaths::sameFile(source.path, path))
            if (auto n = store.node(source.pmid); n && n->nodetype == static_cast<int16_t>(NodeType::Data))
                return source.pmid;
    return std::nullopt;
}

std::vector<std::string> ProjectRefresh::changeLines(const RefreshPlan &plan)
{
    std::vector<std::string> lines;
    for (const SheetChange &c : plan.changes) {
        const bool negate = SheetCatalogue::isStoredNegated(c.id);
        lines.push_back(sheetCode(c.id) + "  帐面价值 " + money(c.before.v1, negate) + " → " +
                        money(c.after.v1, negate) + "；评估价值 " + money(c.before.v3, negate) + " → " +
                        money(c.after.v3, negate));
    }
    return lines;
}

CommandResult ProjectRefresh::run(ProjectSession &session, Prompter &prompter, int16_t node)
{
    if (!session.isOpen() || session.kind() != ProjectKind::Summary)
        return CommandResult::Cancelled;
    FileDialogRequest request{"打开", "项目文件(*.mdb)", session.myFilesFolder(), ""};
    if (auto remembered = session.store().nodeSource(node)) {
        request.directory = fs::path(remembered->path).parent_path().string();
        request.fileName = fs::path(remembered->path).filename().string();
    }
    auto chosen = prompter.openFileName(request);
    if (!chosen)
        return CommandResult::Cancelled;
    const std::string path = ProjectPaths::projectFileFromDialog(*chosen);
    if (path.empty())
        return CommandResult::Cancelled;
    return refreshFile(session, prompter, node, path);
}

CommandResult ProjectRefresh::refreshFile(ProjectSession &session, Prompter &prompter, int16_t node,
                                          const std::string &path)
{
    if (!session.isOpen() || session.kind() != ProjectKind::Summary)
        return CommandResult::Cancelled;
    if (ProjectPaths::sameFile(path, session.workDatabasePath())) {
        prompter.message("您试图打开临时工作文件，请不要这样做。", kTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }
    RefreshPlan plan;
    try {
        plan = prepare(session.store(), node, path, fs::path(session.workDatabasePath()).parent_path().string());
    } catch (const std::exception &e) {
        prompter.message(std::string(e.what()) + "\n结点的数据没有改变。", kTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }
    const auto name = session.store().node(node)->properties.pmname.value_or("");
    std::string text = "用" + path + "更新数据结点“" + name + "”";
    const std::vector<std::string> lines = changeLines(plan);
    if (lines.empty()) {
        text += "：各表合计数没有变化。\n\n是否更新？";
    } else {
        text += "，以下各表的合计数将改变：\n";
        for (std::size_t i = 0; i < lines.size() && i < kShownChanges; ++i)
            text += "\n" + lines[i];
        if (lines.size() > kShownChanges)
            text += "\n……另有 " + std::to_string(lines.size() - kShownChanges) + " 张表";
        text += "\n\n是否更新？";
    }
    if (prompter.question(text, kTitle, QuestionButtons::YesNo) != Answer::Yes)
        return CommandResult::Cancelled;
    try {
        apply(session.store(), plan);
    } catch (const std::exception &e) {
        prompter.message(std::string(e.what()) + "\n结点的数据没有改变。", kTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }
    return CommandResult::Done;
}

} // namespace vantor
