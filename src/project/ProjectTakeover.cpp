#include "project/ProjectTakeover.h"

#include "project/Database.h"
#include "project/ProjectPaths.h"
#include "project/ProjectRefresh.h"
#include "project/ProjectSource.h"
#include "project/ProjectStore.h"
#include "project/Savepoint.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vantor {

namespace {

constexpr const char *kOldVersion = "您不能使用本程序打开旧版本的项目文件。";
constexpr const char *kOpeningWorkFile = "您试图打开临时工作文件，请不要这样做。";

} // namespace

CommandResult ProjectTakeover::run(ProjectSession &session, Prompter &prompter, int16_t selectedNode, int16_t *newNode)
{
    if (!session.isOpen() || session.kind() != ProjectKind::Summary)
        return CommandResult::Cancelled;
    auto chosen = prompter.openFileName({"打开", "项目文件(*.mdb)", session.myFilesFolder(), ""});
    if (!chosen)
        return CommandResult::Cancelled;
    std::string path = ProjectPaths::projectFileFromDialog(*chosen);
    if (path.empty())
        return CommandResult::Cancelled;
    // A file that is already a node: bring the node up to date instead of adding it twice.
    if (const auto existing = ProjectRefresh::nodeTakenFrom(session.store(), path)) {
        const auto node = session.store().node(*existing);
        const std::string name = node ? node->properties.pmname.value_or("") : std::string();
        const Answer answer = prompter.question(path + "已接收为数据结点“" + name +
                                                    "”。\n\n按“是”用此文件更新该结点的数据，按“否”另行接收为新结点。",
                                                ProjectSession::kTitle, QuestionButtons::YesNoCancel);
        if (answer == Answer::Cancel)
            return CommandResult::Cancelled;
        if (answer == Answer::Yes) {
            const CommandResult result = ProjectRefresh::refreshFile(session, prompter, *existing, path);
            if (result == CommandResult::Done) {
                session.setCurrentNode(*existing);
                if (newNode)
                    *newNode = *existing;
            }
            return result;
        }
    }
    return takeOverFile(session, prompter, path, selectedNode, newNode);
}

CommandResult ProjectTakeover::takeOverFile(ProjectSession &session, Prompter &prompter, const std::string &path,
                                            int16_t selectedNode, int16_t *newNode)
{
    if (!session.isOpen() || session.kind() != ProjectKind::Summary)
        return CommandResult::Cancelled;
    if (ProjectPaths::sameFile(path, session.workDatabasePath())) {
        prompter.message(kOpeningWorkFile, ProjectSession::kTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }

    ProjectStore &store = session.store();
    int16_t id = 0;
    try {
        const SourceContent source =
            ProjectSource::read(path, fs::path(session.workDatabasePath()).parent_path().string());
        int16_t parent = store.parentForNewDataNode(selectedNode);
        Savepoint sp(session.database());
        id = store.insertDataNode(parent, source.properties);
        store.replaceSignatories(id, source.signatories);
        for (const auto &[sheet, sums] : source.totals)
            store.writeSheetTotals(sheet, id, sums);
        store.setNodeSource(source.source(id));
        sp.commit();
    } catch (const std::exception &e) {
        prompter.message(std::string(e.what()) + "\n\n" + kOldVersion, ProjectSession::kTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }
    session.setCurrentNode(id);
    if (newNode)
        *newNode = id;
    return CommandResult::Done;
}

} // namespace vantor
