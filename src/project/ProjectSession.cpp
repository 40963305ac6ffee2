#include "project/ProjectSession.h"

#include "project/ProjectFileError.h"
#include "project/ProjectFilePair.h"
#include "project/ProjectPaths.h"
#include "project/ProjectSchema.h"
#include "project/ProjectTree.h"
#include "project/ProjectWorkbook.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace vantor {

namespace {

constexpr const char *kFilter = "项目文件(*.mdb)";
constexpr uintmax_t kMinimumFileSize = 1024;

constexpr const char *kCopyFromCd = "请从本软件光盘中复制此文件粘贴到本机程序目录中。";
constexpr const char *kTemplateBroken =
    "系统文件格式错误，请从本软件光盘中复制\n文件template.vtw和template.vtc粘贴到本机程序目录中";
constexpr const char *kOldVersion = "您不能使用本程序打开旧版本的项目文件。";
constexpr const char *kOpenFailedTitle = "打开项目文件失败";
constexpr const char *kSaveFailedTitle = "保存项目文件失败";
constexpr const char *kSavePrompt = "项目文件数据已经改动，是否保存改变？";
constexpr const char *kOpeningWorkFile = "您试图打开临时工作文件，请不要这样做。";
constexpr const char *kSavingOverWorkFile = "您试图把项目保存为临时工作文件，请选择其他文件名。";
constexpr const char *kWrongPassword = "无效的密码，请重试！";
constexpr const char *kLoginTitle = "安全验证";

// Size of a file, or nullopt when it does not exist or is not a regular file.
std::optional<uintmax_t> fileSize(const std::string &path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    uintmax_t size = fs::file_size(path, ec);
    if (ec)
        return std::nullopt;
    return size;
}

void removeQuietly(const std::string &path)
{
    std::error_code ec;
    fs::remove(path, ec);
}

} // namespace

ProjectSession::ProjectSession(ProjectSessionConfig config, ProjectWorkbook &workbook)
    : m_config(std::move(config)), m_workbook(workbook)
{
}

ProjectSession::~ProjectSession()
{
    // The component may already be gone when the program ends, so only the
    // connection and the working copies are cleaned up here.
    const bool open = isOpen();
    m_store.reset();
    m_db.reset();
    if (open)
        removeWorkingCopies();
}

std::string ProjectSession::workDatabasePath() const
{
    return ProjectPaths::join(m_config.workFolder, ProjectPaths::kWorkDatabase);
}

std::string ProjectSession::workWorkbookPath() const
{
    return ProjectPaths::join(m_config.workFolder, ProjectPaths::kWorkWorkbook);
}

std::string ProjectSession::myFilesFolder() const
{
    if (!m_config.myFilesFolder.empty())
        return m_config.myFilesFolder;
    return ProjectPaths::join(m_config.workFolder, ProjectPaths::kMyFiles);
}

std::string ProjectSession::templatePath(const char *name) const
{
    return ProjectPaths::join(ProjectPaths::dataFolder(m_config.programFolder), name);
}

Database &ProjectSession::database()
{
    if (!m_db)
        throw std::logic_error("no project is open");
    return *m_db;
}

ProjectStore &ProjectSession::store()
{
    if (!m_store)
        throw std::logic_error("no project is open");
    return *m_store;
}

bool ProjectSession::isModified() const
{
    if (!isOpen())
        return false;
    return m_workbook.isModified() || m_db->totalChanges() != m_savedChanges;
}

std::string ProjectSession::windowTitle() const
{
    if (!isOpen() || m_projectPath.empty())
        return kTitle;
    return std::string(kTitle) + "--" + m_projectPath;
}

std::string ProjectSession::statusProjectName() const
{
    if (!isOpen())
        return {};
    auto node = m_store->node(m_currentNode);
    return "项目名称：" + (node ? node->properties.pmname.value_or("") : std::string());
}

std::string ProjectSession::statusUnit() const
{
    if (!isOpen())
        return {};
    auto node = m_store->node(m_currentNode);
    return "资产占有单位：" + (node ? node->properties.zczydw.value_or("") : std::string());
}

void ProjectSession::removeWorkingCopies()
{
    const std::string database = workDatabasePath();
    // A journal left behind by a crash would be played back into the next
    // working copy, so it goes with the database.
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        removeQuietly(database + suffix);
    removeQuietly(workWorkbookPath());
}

void ProjectSession::openConnection()
{
    m_db = std::make_unique<Database>(workDatabasePath());
    try {
        ProjectSchema::check(*m_db);
    } catch (...) {
        m_db.reset();
        throw;
    }
    // The working copy is scratch: the user's file is written, and flushed, only by a
    // save, and a working copy left by a crash is never reopened. Neither its copying
    // nor its commits need wait for the disk.
    m_db->exec("PRAGMA synchronous = OFF");
    m_store = std::make_unique<ProjectStore>(*m_db);
}

void ProjectSession::discardProject()
{
    m_store.reset();
    m_db.reset();
    removeWorkingCopies();
    m_workbook.reset();
    m_workbook.setReadOnly(true);
    m_kind = ProjectKind::None;
    m_projectPath.clear();
    m_workbookPath.clear();
    m_suggestedPath.clear();
    m_currentNode = 0;
    m_currentSheet = 0;
    m_savedChanges = 0;
}

void ProjectSession::markSaved()
{
    m_workbook.setModified(false);
    m_savedChanges = m_db ? m_db->totalChanges() : 0;
}

CommandResult ProjectSession::newProject(ProjectKind kind, Prompter &prompter)
{
    if (kind == ProjectKind::None || isOpen())
        return CommandResult::Cancelled;

    const std::string templateWorkbook = templatePath(ProjectPaths::kTemplateWorkbook);
    const std::string templateDatabase = templatePath(ProjectPaths::kTemplateDatabase);
    auto workbookSize = fileSize(templateWorkbook);
    auto databaseSize = fileSize(templateDatabase);
    std::string problem;
    if (!workbookSize)
        problem = "系统文件template.vtc不存在";
    else if (!databaseSize)
        problem = "系统文件template.vtw不存在";
    else if (*databaseSize < kMinimumFileSize)
        problem = "系统文件template.vtw格式错误";
    else if (*workbookSize < kMinimumFileSize)
        problem = "系统文件template.vtc格式错误";
    if (!problem.empty()) {
        prompter.message(problem + "\n" + kCopyFromCd, kTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }

    try {
        removeWorkingCopies();
        ProjectFilePair::copyFile(templateDatabase, workDatabasePath(), false);
        ProjectFilePair::copyFile(templateWorkbook, workWorkbookPath(), false);
        m_workbook.load(workWorkbookPath());
        m_workbook.setReadOnly(true);
        openConnection();
    } catch (const ProjectFileError &e) {
        discardProject();
        prompter.message(std::string(e.what()) + "\n新建项目失败。", kTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    } catch (const std::exception &e) {
        // A template that loads as neither workbook nor project database.
        discardProject();
        prompter.message(std::string(e.what()) + "\n" + kTemplateBroken, kTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }

    const bool dataEntry = kind == ProjectKind::DataEntry;
    const int index = dataEntry ? 4 : 1;
    const std::string label = dataEntry ? "b10" : "b1";
    if (m_workbook.sheetCount() <= index || m_workbook.sheetLabel(index) != label) {
        discardProject();
        prompter.message(kTemplateBroken, kTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }

    try {
        m_store->setKind(kind);
    } catch (const std::exception &e) {
        discardProject();
        prompter.message(std::string(e.what()) + "\n" + kTemplateBroken, kTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }
    m_kind = kind;
    m_projectPath.clear();
    m_workbookPath.clear();
    m_currentNode = 0;
    m_currentSheet = dataEntry ? 10 : 1;
    m_workbook.showSheet(index);
    m_workbook.setReadOnly(!dataEntry);
    markSaved();
    return CommandResult::Done;
}

CommandResult ProjectSession::openProject(Prompter &prompter, const LoginFunction &login)
{
    if (isOpen())
        return CommandResult::Cancelled;
    std::error_code ec;
    fs::create_directories(myFilesFolder(), ec);
    auto chosen = prompter.openFileName({"打开", kFilter, myFilesFolder(), ""});
    if (!chosen)
        return CommandResult::Cancelled;
    std::string path = ProjectPaths::projectFileFromDialog(*chosen);
    if (path.empty())
        return CommandResult::Cancelled;
    return openProjectFile(path, prompter, login);
}

CommandResult ProjectSession::openProjectFile(const std::string &path, Prompter &prompter, const LoginFunction &login)
{
    if (isOpen())
        return CommandResult::Cancelled;
    const std::string workbookPath = ProjectPaths::pairedWorkbook(path);

    if (ProjectPaths::sameFile(path, workDatabasePath()) || ProjectPaths::sameFile(workbookPath, workWorkbookPath())) {
        prompter.message(kOpeningWorkFile, kOpenFailedTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }
    try {
        // A save of this project that was cut off is finished or dropped first.
        ProjectFilePair::settle(path, workbookPath);
    } catch (const ProjectFileError &e) {
        prompter.message(e.what(), kOpenFailedTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }
    auto projectSize = fileSize(path);
    if (!projectSize) {
        prompter.message("项目文件" + path + "不存在", kOpenFailedTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }
    if (*projectSize < kMinimumFileSize) {
        prompter.message("项目文件" + path + "格式错误", kOpenFailedTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }
    auto workbookSize = fileSize(workbookPath);
    if (!workbookSize || *workbookSize < kMinimumFileSize) {
        prompter.message("项目文件" + path + "\n的数据文件" + workbookPath + "不存在或文件格式错误", kOpenFailedTitle,
                         MessageIcon::Critical);
        return CommandResult::Failed;
    }

    ProjectKind kind = ProjectKind::None;
    std::string passwordHash;
    try {
        removeWorkingCopies();
        ProjectFilePair::copyFile(path, workDatabasePath(), false);
        openConnection();
        kind = m_store->kind();
        passwordHash = m_store->passwordHash();
    } catch (const ProjectFileError &e) {
        discardProject();
        prompter.message(e.what(), kOpenFailedTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    } catch (const std::exception &e) {
        discardProject();
        prompter.message(std::string(e.what()) + "\n\n" + kOldVersion, kOpenFailedTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }

    if (!passwordHash.empty()) {
        auto accept = [&](const std::string &typed) { return ProjectPassword::verify(typed, passwordHash); };
        if (!login || !login(accept)) {
            discardProject();
            return CommandResult::Cancelled;
        }
    }

    try {
        ProjectFilePair::copyFile(workbookPath, workWorkbookPath(), false);
        m_workbook.load(workWorkbookPath());
        m_workbook.setReadOnly(true);
    } catch (const ProjectFileError &e) {
        discardProject();
        prompter.message(e.what(), kOpenFailedTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    } catch (const std::exception &e) {
        discardProject();
        prompter.message(std::string(e.what()) + "\n\n" + kOldVersion, kOpenFailedTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }

    const bool dataEntry = kind == ProjectKind::DataEntry;
    const std::string label = dataEntry ? "b10" : "b1";
    int index = ProjectTree::findSheetFromStart(
        m_workbook.sheetCount(), [this](int i) { return m_workbook.sheetLabel(i); }, label);
    if (index < 0) {
        discardProject();
        prompter.message("数据文件格式错误，请与" + m_config.supportContact + "联系，以获得最大可能的文件修复服务。",
                         kOpenFailedTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }

    m_workbook.showSheet(index);
    m_workbook.setReadOnly(!dataEntry);
    m_kind = kind;
    m_projectPath = path;
    m_workbookPath = workbookPath;
    m_currentNode = 0;
    m_currentSheet = dataEntry ? 10 : 1;
    markSaved();
    return CommandResult::Done;
}

CommandResult ProjectSession::openRecovered(const RecoveredProject &recovered, Prompter &prompter,
                                            const LoginFunction &login)
{
    if (isOpen())
        return CommandResult::Cancelled;
    ProjectKind kind = ProjectKind::None;
    int index = -1;
    const auto failed = [&](const std::string &why) {
        discardProject();
        prompter.message(why + "\n未能恢复上次未保存的项目。", kOpenFailedTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    };
    std::string passwordHash;
    try {
        removeWorkingCopies();
        ProjectFilePair::copyFile(recovered.databasePath, workDatabasePath(), false);
        openConnection();
        kind = m_store->kind();
        passwordHash = m_store->passwordHash();
    } catch (const std::exception &e) {
        return failed(e.what());
    }
    // The copy holds the project's data as plainly as the project file: the
    // same password guards it.
    if (!passwordHash.empty()) {
        auto accept = [&](const std::string &typed) { return ProjectPassword::verify(typed, passwordHash); };
        if (!login || !login(accept)) {
            discardProject();
            return CommandResult::Cancelled;
        }
    }
    try {
        ProjectFilePair::copyFile(recovered.workbookPath, workWorkbookPath(), false);
        m_workbook.load(workWorkbookPath());
        const std::string label = kind == ProjectKind::DataEntry ? "b10" : "b1";
        index = ProjectTree::findSheetFromStart(
            m_workbook.sheetCount(), [this](int i) { return m_workbook.sheetLabel(i); }, label);
        if (index < 0)
            throw std::runtime_error("数据文件格式错误");
    } catch (const std::exception &e) {
        return failed(e.what());
    }
    m_workbook.showSheet(index);
    m_workbook.setReadOnly(kind != ProjectKind::DataEntry);
    m_kind = kind;
    m_projectPath.clear();
    m_workbookPath.clear();
    m_suggestedPath = recovered.projectPath;
    m_currentNode = 0;
    m_currentSheet = kind == ProjectKind::DataEntry ? 10 : 1;
    markSaved();
    // Nothing of it is saved in a file of the user's yet.
    m_workbook.setModified(true);
    return CommandResult::Done;
}

void ProjectSession::writeRecoveryCopy(RecoveryStore &store)
{
    if (!isOpen())
        return;
    auto root = m_store->node(0);
    const std::string name = root ? root->properties.pmname.value_or("") : std::string();
    // A restored project that was not saved yet still belongs to its old file.
    store.write(
        *m_db, [this](const std::string &path) { m_workbook.save(path); },
        m_projectPath.empty() ? m_suggestedPath : m_projectPath, name);
}

std::optional<std::string> ProjectSession::askSavePath(Prompter &prompter)
{
    FileDialogRequest request{"保存", kFilter, myFilesFolder(), ""};
    if (!m_suggestedPath.empty()) {
        const fs::path suggested(m_suggestedPath);
        request.directory = suggested.parent_path().string();
        request.fileName = suggested.filename().string();
    }
    std::error_code ec;
    fs::create_directories(myFilesFolder(), ec);
    auto chosen = prompter.saveFileName(request);
    if (!chosen)
        return std::nullopt;
    std::string path = ProjectPaths::projectFileFromDialog(*chosen);
    if (path.empty())
        return std::nullopt;
    return path;
}

bool ProjectSession::writeFiles(const std::string &projectPath, Prompter &prompter)
{
    const std::string workbookPath = ProjectPaths::pairedWorkbook(projectPath);
    // Copying a file onto itself would destroy it, and the working copies are
    // deleted when the project closes.
    if (ProjectPaths::sameFile(projectPath, workDatabasePath()) ||
        ProjectPaths::sameFile(workbookPath, workWorkbookPath()) ||
        ProjectPaths::sameFile(projectPath, workWorkbookPath())) {
        prompter.message(kSavingOverWorkFile, kSaveFailedTitle, MessageIcon::Critical);
        return false;
    }
    try {
        if (m_beforeSave)
            m_beforeSave();
        m_workbook.save(workWorkbookPath());
        ProjectFilePair::write(
            projectPath, [this](const std::string &temp) { m_db->backupTo(temp); }, workbookPath,
            [this](const std::string &temp) { ProjectFilePair::copyFile(workWorkbookPath(), temp); });
    } catch (const std::exception &e) {
        prompter.message(std::string(e.what()) + "\n项目没有保存，原来的项目文件没有改变。", kSaveFailedTitle,
                         MessageIcon::Critical);
        return false;
    }
    m_projectPath = projectPath;
    m_workbookPath = workbookPath;
    m_suggestedPath.clear();
    markSaved();
    return true;
}

CommandResult ProjectSession::saveProject(Prompter &prompter)
{
    if (!isOpen())
        return CommandResult::Cancelled;
    std::string path = m_projectPath;
    if (path.empty()) {
        auto chosen = askSavePath(prompter);
        if (!chosen)
            return CommandResult::Cancelled;
        path = *chosen;
    }
    return writeFiles(path, prompter) ? CommandResult::Done : CommandResult::Failed;
}

CommandResult ProjectSession::closeProject(Prompter &prompter)
{
    if (!isOpen())
        return CommandResult::Done;
    if (isModified()) {
        Answer answer = prompter.question(kSavePrompt, kTitle, QuestionButtons::YesNoCancel, MessageIcon::Question);
        if (answer == Answer::Cancel)
            return CommandResult::Cancelled;
        if (answer == Answer::Yes) {
            CommandResult saved = saveProject(prompter);
            if (saved != CommandResult::Done)
                return saved;
        }
    }
    discardProject();
    return CommandResult::Done;
}

int16_t ProjectSession::insertFolderNode()
{
    int16_t id = store().insertFolderNode();
    m_currentNode = id;
    return id;
}

CommandResult ProjectSession::deleteCurrentNode(Prompter &prompter, const std::string &entryText)
{
    if (!isOpen() || m_currentNode == 0)
        return CommandResult::Cancelled;
    Answer answer = prompter.question("此操作将删除" + entryText + "及其子目录全部数据", kTitle,
                                      QuestionButtons::YesNoCancel, MessageIcon::Warning);
    if (answer != Answer::Yes)
        return CommandResult::Cancelled;
    try {
        store().deleteNode(m_currentNode);
    } catch (const DatabaseError &e) {
        prompter.message(std::string(e.what()) + "\n删除失败。", kTitle, MessageIcon::Critical);
        return CommandResult::Failed;
    }
    m_currentNode = 0;
    return CommandResult::Done;
}

void ProjectSession::storeNodeProperties(const NodeProperties &properties)
{
    std::optional<ProjectKind> kind;
    if (m_projectPath.empty() && m_currentNode == 0)
        kind = m_kind;
    store().updateNodeProperties(m_currentNode, properties, kind);
}

LoginFunction ProjectSession::promptLogin(Prompter &prompter)
{
    return [&prompter](const PasswordCheck &accept) {
        for (;;) {
            auto typed = prompter.inputText("请输入密码(&P)：", "要求输入密码", "");
            if (!typed)
                return false;
            if (accept(*typed))
                return true;
            prompter.message(kWrongPassword, kLoginTitle, MessageIcon::Critical);
        }
    };
}

} // namespace vantor
