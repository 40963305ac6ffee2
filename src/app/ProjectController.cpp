#include "app/ProjectController.h"

#include "app/ProjectDocument.h"
#include "app/frmMain.h"
#include "project/ProjectPaths.h"
#include "project/ProjectTree.h"
#include "project/dialogs/DefaultRepresentative.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/AddSheetCommand.h"
#include "sheets/SheetCatalogue.h"

#include <chrono>
#include <stdexcept>

namespace vantor {

namespace {

std::chrono::year_month_day today()
{
    return std::chrono::year_month_day{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
}

} // namespace

ProjectController::ProjectController(frmMain &window)
    : m_window(window), m_doc(window.document()), m_session(m_doc.session())
{
    m_session.setBeforeSave([this] { writeShownSheetTotals(); });
    ShellHooks &hooks = m_window.hooks();
    hooks.closeProject = [this] { return closeProject() == CommandResult::Done; };
    hooks.projectTreeClicked = [this](const std::string &key) { onProjectTreeClicked(key); };
    registerCommands();
}

ProjectController::~ProjectController()
{
    // The window and the session may outlive the controller: nothing calls into it.
    m_session.setBeforeSave(nullptr);
    ShellHooks &hooks = m_window.hooks();
    hooks.closeProject = nullptr;
    hooks.projectTreeClicked = nullptr;
    hooks.writeSheetTotals = nullptr;
    for (CommandId id : {CommandId::FileNew, CommandId::FileOpen, CommandId::FileSave, CommandId::FileClose,
                         CommandId::SettingProjectProperties, CommandId::ToolPassword, CommandId::InsertSheet,
                         CommandId::InsertFolderNode, CommandId::DeleteSheet})
        m_window.dispatcher().setHandler(id, nullptr);
}

ProjectDialogs &ProjectController::dialogs()
{
    if (m_dialogs)
        return *m_dialogs;
    // Made afresh so that the dialogs use the window's current prompter.
    m_qtDialogs = std::make_unique<QtProjectDialogs>(&m_window, m_window.prompter());
    return *m_qtDialogs;
}

void ProjectController::registerCommands()
{
    using C = CommandId;
    CommandDispatcher &d = m_window.dispatcher();
    d.setHandler(C::FileNew, [this] { newProject(); });
    d.setHandler(C::FileOpen, [this] { openProject(); });
    d.setHandler(C::FileSave, [this] { saveProject(); });
    d.setHandler(C::FileClose, [this] { closeProject(); });
    d.setHandler(C::SettingProjectProperties, [this] { editProjectProperties(); });
    d.setHandler(C::ToolPassword, [this] { changePassword(); });
    d.setHandler(C::InsertSheet, [this] { addSheet(); });
    d.setHandler(C::InsertFolderNode, [this] { insertFolderNode(); });
    d.setHandler(C::DeleteSheet, [this] { deleteNode(); });
}

// ---------------------------------------------------------------- lifecycle

CommandResult ProjectController::newProject()
{
    if (m_session.isOpen())
        return CommandResult::Cancelled;
    const ProjectKind kind = dialogs().chooseKind();
    if (kind == ProjectKind::None)
        return CommandResult::Cancelled;
    const CommandResult result = m_session.newProject(kind, m_window.prompter());
    if (result != CommandResult::Done) {
        m_doc.syncFromSession();
        return result;
    }
    showOpenedProject(true);
    editCurrentNode();
    return result;
}

CommandResult ProjectController::afterOpen(CommandResult result)
{
    if (result == CommandResult::Done)
        showOpenedProject(false);
    else
        m_doc.syncFromSession();
    return result;
}

CommandResult ProjectController::openProject()
{
    if (m_session.isOpen())
        return CommandResult::Cancelled;
    return afterOpen(m_session.openProject(m_window.prompter(), dialogs().login()));
}

CommandResult ProjectController::openProjectFile(const std::string &path)
{
    if (m_session.isOpen())
        return CommandResult::Cancelled;
    return afterOpen(m_session.openProjectFile(path, m_window.prompter(), dialogs().login()));
}

CommandResult ProjectController::openRecovered(const RecoveredProject &recovered)
{
    if (m_session.isOpen())
        return CommandResult::Cancelled;
    return afterOpen(m_session.openRecovered(recovered, m_window.prompter(), dialogs().login()));
}

CommandResult ProjectController::saveProject()
{
    if (!m_session.isOpen())
        return CommandResult::Cancelled;
    const CommandResult result = m_session.saveProject(m_window.prompter());
    m_doc.syncFromSession();
    m_doc.setTitle(QString::fromStdString(m_session.windowTitle()));
    return result;
}

CommandResult ProjectController::closeProject()
{
    if (!m_session.isOpen()) {
        showClosedProject();
        return CommandResult::Done;
    }
    const CommandResult result = m_session.closeProject(m_window.prompter());
    if (result == CommandResult::Done)
        showClosedProject();
    else
        // A save that ran before the cancel may have given the project its path.
        m_doc.setTitle(QString::fromStdString(m_session.windowTitle()));
    return result;
}

void ProjectController::writeShownSheetTotals()
{
    const ProgramState &state = m_doc.state();
    if (!state.isDataEntry() || !m_doc.detailView() || !SheetCatalogue::isDetail(state.currentSheet))
        return;
    if (m_window.hooks().writeSheetTotals)
        m_window.hooks().writeSheetTotals(state.currentSheet);
}

void ProjectController::showOpenedProject(bool isNew)
{
    m_doc.syncFromSession();
    const bool dataEntry = m_session.kind() == ProjectKind::DataEntry;

    m_doc.setFreezeRows(false);
    m_doc.setDetailView(true);
    fillTree(isNew);
    const std::vector<std::string> top = m_doc.topLevelKeys();
    if (!top.empty())
        m_doc.setCurrentEntry(top.front());
    if (dataEntry) {
        freezeHeaderRows();
        const TreeEntry *first = m_doc.currentTreeEntry();
        m_doc.setStatus(1, first ? QString::fromStdString(first->text) : QStringLiteral("就绪"));
    } else {
        m_doc.setStatus(1, QStringLiteral("就绪"));
        if (!isNew && m_window.hooks().computeSummarySheet)
            m_window.hooks().computeSummarySheet("b1", 0);
    }
    m_doc.workbook().DoSetDefaultFont(8, 0, "宋体");
    showNodeStatus();
    // A new project keeps the title it had; an opened one names its file.
    if (!isNew)
        m_doc.setTitle(QString::fromStdString(m_session.windowTitle()));
    m_doc.setSheetSwitchAllowed(true);
    m_doc.showSheetChanges();
    // The first keystrokes go into the sheet.
    m_window.focusSheet();
}

void ProjectController::showClosedProject()
{
    m_doc.resetTree({});
    m_doc.workbook().SetReadOnly(true);
    m_doc.setFreezeRows(false);
    m_doc.setStatus(1, QStringLiteral("就绪"));
    m_doc.setStatus(2, QString());
    m_doc.setStatus(3, QString());
    m_doc.setDetailView(true);
    m_doc.syncFromSession();
    m_doc.setTitle(ProjectSession::kTitle);
    m_doc.showSheetChanges();
}

void ProjectController::fillTree(bool isNew)
{
    const bool dataEntry = m_session.kind() == ProjectKind::DataEntry;
    m_doc.resetTree(dataEntry ? ProjectTree::detailSheetEntries(m_session.store())
                              : ProjectTree::nodeEntries(m_session.store(),
                                                         isNew ? std::optional<std::string>(ProjectTree::kNewRootText)
                                                               : std::nullopt));
}

void ProjectController::showNodeStatus()
{
    m_doc.setStatus(2, m_session.statusProjectName());
    m_doc.setStatus(3, m_session.statusUnit());
}

void ProjectController::freezeHeaderRows()
{
    if (m_doc.state().currentSheet != SheetCatalogue::ContraSheetId) { // 表11 scrolls whole
        m_doc.setFreezeRows(true);
        m_doc.workbook().DoSetUnScrollRow(0, 2);
    }
}

// ---------------------------------------------------------------- tree

void ProjectController::onProjectTreeClicked(const std::string &key)
{
    const TreeEntry *entry = m_doc.entry(key);
    if (!entry || !m_session.isOpen())
        return;
    const std::optional<int16_t> number = ProjectTree::keyNumber(key);
    if (!number)
        return;
    if (m_session.kind() == ProjectKind::Summary) {
        m_doc.setCurrentEntry(key);
        m_doc.setCurrentNode(*number);
        m_doc.setStatus(1, QStringLiteral("就绪"));
        showNodeStatus();
        return;
    }
    if (!m_doc.sheetSwitchAllowed())
        return;
    Workbook &wb = m_doc.workbook();
    if (ProjectTree::findSheetFromMiddle(
            wb.SheetCount(), [&wb](int i) { return wb.DoGetSheetLabel(i); }, key) < 0) {
        // The workbook lacks the sheet (a workbook that does not belong to this project
        // file): the sheet shown stays shown, under its own entry and id.
        m_window.prompter().message("工作簿文件中没有“" + entry->text +
                                        "”这张表，不能显示。请检查项目文件和工作簿文件是否配套。",
                                    ProjectSession::kTitle, MessageIcon::Critical);
        m_doc.setCurrentEntry(ProjectTree::sheetKey(m_session.currentSheet()));
        return;
    }
    m_doc.setSheetSwitchAllowed(false);
    writeShownSheetTotals();
    m_doc.setCurrentSheet(*number);
    m_doc.setCurrentEntry(key);
    showDetailSheet(key);
    m_doc.setSheetSwitchAllowed(true);
}

void ProjectController::showDetailSheet(const std::string &key)
{
    Workbook &wb = m_doc.workbook();
    const int index = ProjectTree::findSheetFromMiddle(
        wb.SheetCount(), [&wb](int i) { return wb.DoGetSheetLabel(i); }, key);
    if (index >= 0)
        wb.DoSetCurrentSheet(index);
    if (const TreeEntry *entry = m_doc.entry(key))
        m_doc.setStatus(1, entry->text);
    m_doc.setFreezeRows(false);
    freezeHeaderRows();
    m_doc.showSheetChanges();
}

// ---------------------------------------------------------------- properties and nodes

bool ProjectController::editCurrentNode()
{
    const int16_t pmid = m_session.currentNode();
    const NodePropertiesForm form =
        NodePropertiesForm::load(m_session.store(), pmid, DefaultRepresentative::read().toStdString(), today());
    bool stored = false;
    const auto closed = dialogs().editNodeProperties(form, [this, &stored](const NodeProperties &properties) {
        m_session.storeNodeProperties(properties);
        stored = true;
    });
    if (!closed || !stored)
        return false;
    showNodeStatus();
    if (m_session.kind() == ProjectKind::Summary)
        m_doc.renameEntry(ProjectTree::nodeKey(pmid), closed->pmname);
    return true;
}

void ProjectController::editProjectProperties()
{
    if (m_session.isOpen())
        editCurrentNode();
}

void ProjectController::changePassword()
{
    if (!m_session.isOpen())
        return;
    const bool hasPassword = !m_session.store().passwordHash().empty();
    const auto boxes = dialogs().changePassword(hasPassword);
    if (!boxes)
        return;
    try {
        ProjectPassword::apply(m_session.store(), boxes->first, boxes->second, m_session.passwordCost());
    } catch (const std::exception &e) {
        m_window.prompter().message(std::string(e.what()) + "\n密码没有改变。", ProjectSession::kTitle,
                                    MessageIcon::Critical);
    }
}

void ProjectController::insertFolderNode()
{
    if (!m_doc.state().isSummary())
        return;
    const int16_t id = m_session.insertFolderNode();
    const std::string key = ProjectTree::nodeKey(id);
    m_doc.insertEntry(TreeEntry{
        key, ProjectTree::kNewFolderText, {}, m_doc.entry(ProjectTree::kRootKey) ? ProjectTree::kRootKey : ""});
    m_doc.setCurrentEntry(key);
    m_doc.syncFromSession();
    editCurrentNode();
}

void ProjectController::deleteNode()
{
    // In a data-entry project this entry deletes a detail sheet, which is not a
    // node command.
    if (!m_doc.state().isSummary() || m_session.currentNode() == 0)
        return;
    const std::string key = ProjectTree::nodeKey(m_session.currentNode());
    const TreeEntry *entry = m_doc.entry(key);
    if (m_session.deleteCurrentNode(m_window.prompter(), entry ? entry->text : std::string()) != CommandResult::Done)
        return;
    m_doc.removeEntry(key); // takes its children along
    m_doc.setCurrentEntry(ProjectTree::kRootKey);
    m_doc.syncFromSession();
    m_doc.setStatus(1, QStringLiteral("就绪"));
    showNodeStatus();
}

void ProjectController::addSheet()
{
    if (!m_doc.state().isDataEntry())
        return;
    writeShownSheetTotals();
    const std::vector<std::string> keys = m_doc.topLevelKeys();
    const auto chosen = dialogs().chooseSheet(keys);
    if (!chosen)
        return;

    AddSheetCommand::Result result;
    Workbook &wb = m_doc.workbook();
    try {
        // Adding a sheet is a change to the project, not an edit: undo never takes the
        // workbook sheet away from under its tree entry.
        UndoPause pause(wb);
        result = AddSheetCommand::run(wb, chosen->id, chosen->code, chosen->name, [this](const AddedSheet &s) {
            m_session.store().insertSheet(SheetListRow{static_cast<int16_t>(s.id), s.code, s.name});
        });
    } catch (const std::exception &e) {
        m_window.prompter().message(std::string(e.what()) + "\n明细表没有添加。", ProjectSession::kTitle,
                                    MessageIcon::Critical);
        return;
    }
    if (result.status != AddSheetCommand::Status::Added)
        return;

    // The entry goes where its id puts it, as when the tree is filled.
    int at = 0;
    while (at < static_cast<int>(keys.size()) && ProjectTree::keyNumber(keys[at]).value_or(0) < chosen->id)
        ++at;
    const std::string key = ProjectTree::sheetKey(chosen->id);
    m_doc.insertEntry(TreeEntry{key, ProjectTree::sheetCaption(chosen->code, chosen->name), {}, {}}, at);
    m_doc.setCurrentEntry(key);
    m_doc.setCurrentSheet(chosen->id);
    showDetailSheet(key);
}

} // namespace vantor
