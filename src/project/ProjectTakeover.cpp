#include "project/ProjectTakeover.h"

#include "project/Database.h"
#include "project/ProjectFilePair.h"
#include "project/ProjectPaths.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"
#include "project/Savepoint.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace vantor {

namespace {

constexpr const char *kOldVersion = "您不能使用本程序打开旧版本的项目文件。";
constexpr const char *kOpeningWorkFile = "您试图打开临时工作文件，请不要这样做。";

// Removes the temporary copy (and any journal of it) however the command ends.
class TempCopy {
public:
    explicit TempCopy(std::string path) : m_path(std::move(path)) { remove(); }
    ~TempCopy() { remove(); }
    TempCopy(const TempCopy &) = delete;
    TempCopy &operator=(const TempCopy &) = delete;
    const std::string &path() const { return m_path; }

private:
    void remove()
    {
        std::error_code ec;
        for (const char *suffix : {"", "-journal", "-wal", "-shm"})
            fs::remove(m_path + suffix, ec);
    }
    std::string m_path;
};

} // namespace

CommandResult ProjectTakeover::run(ProjectSession &session, Prompter &prompter, int16_t selectedNode,
                                   int16_t *newNode)
{
    if (!session.isOpen() || session.kind() != ProjectKind::Summary)
        return CommandResult::Cancelled;
    auto chosen = prompter.openFileName({"打开", "项目文件(*.mdb)", session.myFilesFolder(), ""});
    if (!chosen)
        return CommandResult::Cancelled;
    std::string path = ProjectPaths::projectFileFromDialog(*chosen);
    if (path.empty())
        return CommandResult::Cancelled;
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
        TempCopy temp(ProjectPaths::join(fs::path(session.workDatabasePath()).parent_path().string(),
                                         ProjectPaths::kTempDatabase));
        ProjectFilePair::copyFile(path, temp.path(), false);
        Database other(temp.path(), Database::Mode::ReadOnly);
        ProjectSchema::check(other);
        ProjectStore source(other);
        auto root = source.node(0);
        std::vector<SheetSignatories> signatories;
        for (const SheetSignatories &row : source.signatories(0))
            if (row.id < 10)
                signatories.push_back(row);
        auto totals = source.sumsById();

        int16_t parent = store.parentForNewDataNode(selectedNode);
        Savepoint sp(session.database());
        id = store.insertDataNode(parent, root ? root->properties : NodeProperties{});
        store.replaceSignatories(id, signatories);
        for (const auto &[sheet, sums] : totals)
            store.writeSheetTotals(sheet, id, sums);
        sp.commit();
    } catch (const std::exception &e) {
        prompter.message(std::string(e.what()) + "\n\n" + kOldVersion, ProjectSession::kTitle,
                         MessageIcon::Critical);
        return CommandResult::Failed;
    }
    session.setCurrentNode(id);
    if (newNode)
        *newNode = id;
    return CommandResult::Done;
}

} // namespace vantor
