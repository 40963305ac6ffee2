#include "app/ProjectController.h"

#include "app/SheetHost.h"
#include "app/frmMain.h"
#include "project/EngineProjectWorkbook.h"
#include "project/ProjectPaths.h"
#include "project/ProjectTree.h"
#include "project/dialogs/DefaultRepresentative.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/AddSheetCommand.h"
#include "sheets/SheetCatalogue.h"

#include <QDir>
#include <QFont>
#include <QStandardPaths>
#include <QTreeWidget>

#include <unistd.h>

#include <chrono>
#include <map>
#include <stdexcept>

namespace vantor {

namespace {

QString qs(const std::string &text)
{
    return QString::fromStdString(text);
}

std::string keyOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, frmMain::treeKeyRole).toString().toStdString() : std::string();
}

// Sheet captions pad their code to ten characters; a fixed-pitch CJK face lines
// the names up as in the add-sheet dialog.
QFont captionFont(const QTreeWidget *tree)
{
    QFont fixed(QStringLiteral("Noto Sans Mono CJK SC"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSizeF(tree->font().pointSizeF());
    return fixed;
}

std::chrono::year_month_day today()
{
    return std::chrono::year_month_day{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
}

} // namespace

ProjectController::ProjectController(frmMain &window, ProjectSessionConfig config)
    : m_window(window), m_workbook(std::make_unique<EngineProjectWorkbook>(window.workbook())),
      m_session(std::make_unique<ProjectSession>(std::move(config), *m_workbook))
{
    m_session->setBeforeSave([this] { writeShownSheetTotals(); });
    ShellHooks &hooks = m_window.hooks();
    hooks.closeProject = [this] { return closeProject() == CommandResult::Done; };
    hooks.projectTreeClicked = [this](QTreeWidgetItem *item) { onProjectTreeClicked(item); };
    registerCommands();
}

ProjectController::~ProjectController()
{
    // The window may outlive the controller: its hooks must not call into it.
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
    if (m_session->isOpen())
        return CommandResult::Cancelled;
    const ProjectKind kind = dialogs().chooseKind();
    if (kind == ProjectKind::None)
        return CommandResult::Cancelled;
    const CommandResult result = m_session->newProject(kind, m_window.prompter());
    if (result != CommandResult::Done) {
        syncState();
        m_window.refreshCommands();
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
        syncState();
    m_window.refreshCommands();
    return result;
}

CommandResult ProjectController::openProject()
{
    if (m_session->isOpen())
        return CommandResult::Cancelled;
    return afterOpen(m_session->openProject(m_window.prompter(), dialogs().login()));
}

CommandResult ProjectController::openProjectFile(const std::string &path)
{
    if (m_session->isOpen())
        return CommandResult::Cancelled;
    return afterOpen(m_session->openProjectFile(path, m_window.prompter(), dialogs().login()));
}

CommandResult ProjectController::openRecovered(const RecoveredProject &recovered)
{
    if (m_session->isOpen())
        return CommandResult::Cancelled;
    return afterOpen(m_session->openRecovered(recovered, m_window.prompter(), dialogs().login()));
}

CommandResult ProjectController::saveProject()
{
    if (!m_session->isOpen())
        return CommandResult::Cancelled;
    const CommandResult result = m_session->saveProject(m_window.prompter());
    syncState();
    m_window.setWindowTitle(qs(m_session->windowTitle()));
    m_window.refreshCommands();
    return result;
}

CommandResult ProjectController::closeProject()
{
    if (!m_session->isOpen()) {
        showClosedProject();
        return CommandResult::Done;
    }
    const CommandResult result = m_session->closeProject(m_window.prompter());
    if (result == CommandResult::Done)
        showClosedProject();
    else
        // A save that ran before the cancel may have given the project its path.
        m_window.setWindowTitle(qs(m_session->windowTitle()));
    return result;
}

void ProjectController::writeShownSheetTotals()
{
    const ProgramState &state = m_window.state();
    if (!state.isDataEntry() || !m_window.isDetailView() || !SheetCatalogue::isDetail(state.currentSheet))
        return;
    if (m_window.hooks().writeSheetTotals)
        m_window.hooks().writeSheetTotals(state.currentSheet);
}

void ProjectController::syncState()
{
    ProgramState &state = m_window.state();
    state.projectOpen = m_session->isOpen();
    state.projectKind = m_session->isOpen() ? m_session->kind() : ProjectKind::None;
    state.projectPath = m_session->projectPath();
    state.workbookPath = m_session->workbookPath();
    state.currentNode = m_session->currentNode();
    state.currentSheet = m_session->isOpen() ? m_session->currentSheet() : -1;
}

void ProjectController::showOpenedProject(bool isNew)
{
    syncState();
    const bool dataEntry = m_session->kind() == ProjectKind::DataEntry;
    Workbook &wb = m_window.workbook();

    m_window.setFreezeChecked(false);
    m_window.setDetailView(true);
    fillTree(isNew);
    QTreeWidget *tree = m_window.projectTree();
    if (QTreeWidgetItem *first = tree->topLevelItem(0))
        tree->setCurrentItem(first);
    if (dataEntry) {
        freezeHeaderRows();
        QTreeWidgetItem *first = tree->topLevelItem(0);
        m_window.setStatusPanel(1, first ? first->text(0) : QString("就绪"));
    } else {
        tree->expandAll();
        m_window.setStatusPanel(1, "就绪");
        if (!isNew && m_window.hooks().computeSummarySheet)
            m_window.hooks().computeSummarySheet("b1", 0);
    }
    wb.DoSetDefaultFont(8, 0, "宋体");
    showNodeStatus();
    // A new project keeps the title it had; an opened one names its file.
    if (!isNew)
        m_window.setWindowTitle(qs(m_session->windowTitle()));
    m_window.sheetSwitchGuard() = true;
    m_window.sheet().DoRefreshLayout();
    m_window.sheet().DoRedraw();
    m_window.refreshCommands();
    // The first keystrokes go into the sheet.
    m_window.focusSheet();
}

void ProjectController::showClosedProject()
{
    QTreeWidget *tree = m_window.projectTree();
    tree->setUpdatesEnabled(false);
    tree->clear();
    tree->setUpdatesEnabled(true);
    m_window.workbook().SetReadOnly(true);
    m_window.setFreezeChecked(false);
    m_window.setStatusPanel(1, "就绪");
    m_window.setStatusPanel(2, QString());
    m_window.setStatusPanel(3, QString());
    m_window.setDetailView(true);
    syncState();
    m_window.setWindowTitle(ProjectSession::kTitle);
    m_window.sheet().DoRefreshLayout();
    m_window.sheet().DoRedraw();
    m_window.refreshCommands();
}

void ProjectController::fillTree(bool isNew)
{
    QTreeWidget *tree = m_window.projectTree();
    tree->clear();
    const bool dataEntry = m_session->kind() == ProjectKind::DataEntry;
    // Detail sheets form a flat list: no room for branch marks.
    tree->setRootIsDecorated(!dataEntry);
    const std::vector<TreeEntry> entries =
        dataEntry
            ? ProjectTree::detailSheetEntries(m_session->store())
            : ProjectTree::nodeEntries(m_session->store(),
                                       isNew ? std::optional<std::string>(ProjectTree::kNewRootText) : std::nullopt);
    std::map<std::string, QTreeWidgetItem *> byKey;
    for (const TreeEntry &e : entries) {
        auto parent = byKey.find(e.parentKey);
        auto *item = parent != byKey.end() ? new QTreeWidgetItem(parent->second, QStringList{qs(e.text)})
                                           : new QTreeWidgetItem(tree, QStringList{qs(e.text)});
        item->setData(0, frmMain::treeKeyRole, qs(e.key));
        item->setData(0, treeTagRole, qs(e.tag));
        if (dataEntry)
            item->setFont(0, captionFont(tree));
        byKey.emplace(e.key, item);
    }
}

QTreeWidgetItem *ProjectController::treeItem(const std::string &key) const
{
    QTreeWidget *tree = m_window.projectTree();
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if (keyOf(*it) == key)
            return *it;
    return nullptr;
}

void ProjectController::showNodeStatus()
{
    m_window.setStatusPanel(2, qs(m_session->statusProjectName()));
    m_window.setStatusPanel(3, qs(m_session->statusUnit()));
}

void ProjectController::freezeHeaderRows()
{
    if (m_window.state().currentSheet != SheetCatalogue::ContraSheetId) { // 表11 scrolls whole
        m_window.setFreezeChecked(true);
        m_window.workbook().DoSetUnScrollRow(0, 2);
    }
}

// ---------------------------------------------------------------- tree

void ProjectController::onProjectTreeClicked(QTreeWidgetItem *item)
{
    if (!item || !m_session->isOpen())
        return;
    const std::optional<int16_t> number = ProjectTree::keyNumber(keyOf(item));
    if (!number)
        return;
    if (m_session->kind() == ProjectKind::Summary) {
        m_session->setCurrentNode(*number);
        syncState();
        m_window.setStatusPanel(1, "就绪");
        showNodeStatus();
        return;
    }
    bool &guard = m_window.sheetSwitchGuard();
    if (!guard)
        return;
    Workbook &wb = m_window.workbook();
    const std::string label = keyOf(item);
    if (ProjectTree::findSheetFromMiddle(
            wb.SheetCount(), [&wb](int i) { return wb.DoGetSheetLabel(i); }, label) < 0) {
        // The workbook lacks the sheet (a workbook that does not belong to this project
        // file): the sheet shown stays shown, under its own entry and id.
        m_window.prompter().message("工作簿文件中没有“" + item->text(0).toStdString() +
                                        "”这张表，不能显示。请检查项目文件和工作簿文件是否配套。",
                                    ProjectSession::kTitle, MessageIcon::Critical);
        if (QTreeWidgetItem *shown = treeItem(ProjectTree::sheetKey(m_session->currentSheet())))
            m_window.projectTree()->setCurrentItem(shown);
        return;
    }
    guard = false;
    writeShownSheetTotals();
    m_session->setCurrentSheet(*number);
    syncState();
    m_window.projectTree()->setCurrentItem(item);
    showDetailSheet(item);
    guard = true;
}

void ProjectController::showDetailSheet(QTreeWidgetItem *item)
{
    Workbook &wb = m_window.workbook();
    const std::string label = keyOf(item);
    const int index = ProjectTree::findSheetFromMiddle(
        wb.SheetCount(), [&wb](int i) { return wb.DoGetSheetLabel(i); }, label);
    if (index >= 0)
        wb.DoSetCurrentSheet(index);
    m_window.setStatusPanel(1, item->text(0));
    m_window.setFreezeChecked(false);
    freezeHeaderRows();
    m_window.sheet().DoRefreshLayout();
    m_window.sheet().DoRedraw();
    m_window.refreshCommands();
}

// ---------------------------------------------------------------- properties and nodes

bool ProjectController::editCurrentNode()
{
    const int16_t pmid = m_session->currentNode();
    const NodePropertiesForm form =
        NodePropertiesForm::load(m_session->store(), pmid, DefaultRepresentative::read().toStdString(), today());
    bool stored = false;
    const auto closed = dialogs().editNodeProperties(form, [this, &stored](const NodeProperties &properties) {
        m_session->storeNodeProperties(properties);
        stored = true;
    });
    if (!closed || !stored)
        return false;
    showNodeStatus();
    if (m_session->kind() == ProjectKind::Summary)
        if (QTreeWidgetItem *item = treeItem(ProjectTree::nodeKey(pmid)))
            item->setText(0, qs(closed->pmname));
    m_window.refreshCommands();
    return true;
}

void ProjectController::editProjectProperties()
{
    if (m_session->isOpen())
        editCurrentNode();
}

void ProjectController::changePassword()
{
    if (!m_session->isOpen())
        return;
    const bool hasPassword = !m_session->store().passwordHash().empty();
    const auto boxes = dialogs().changePassword(hasPassword);
    if (!boxes)
        return;
    try {
        ProjectPassword::apply(m_session->store(), boxes->first, boxes->second, m_session->passwordCost());
    } catch (const std::exception &e) {
        m_window.prompter().message(std::string(e.what()) + "\n密码没有改变。", ProjectSession::kTitle,
                                    MessageIcon::Critical);
    }
}

void ProjectController::insertFolderNode()
{
    if (!m_window.state().isSummary())
        return;
    const int16_t id = m_session->insertFolderNode();
    QTreeWidgetItem *root = treeItem(ProjectTree::kRootKey);
    auto *item = root ? new QTreeWidgetItem(root, QStringList{ProjectTree::kNewFolderText})
                      : new QTreeWidgetItem(m_window.projectTree(), QStringList{ProjectTree::kNewFolderText});
    item->setData(0, frmMain::treeKeyRole, qs(ProjectTree::nodeKey(id)));
    m_window.projectTree()->setCurrentItem(item);
    if (root)
        root->setExpanded(true);
    syncState();
    editCurrentNode();
    m_window.refreshCommands();
}

void ProjectController::deleteNode()
{
    // In a data-entry project this entry deletes a detail sheet, which is not a
    // node command.
    if (!m_window.state().isSummary() || m_session->currentNode() == 0)
        return;
    const int16_t pmid = m_session->currentNode();
    QTreeWidgetItem *item = treeItem(ProjectTree::nodeKey(pmid));
    const std::string text = item ? item->text(0).toStdString() : std::string();
    if (m_session->deleteCurrentNode(m_window.prompter(), text) != CommandResult::Done)
        return;
    delete item; // takes its children along
    if (QTreeWidgetItem *root = treeItem(ProjectTree::kRootKey))
        m_window.projectTree()->setCurrentItem(root);
    syncState();
    m_window.setStatusPanel(1, "就绪");
    showNodeStatus();
    m_window.refreshCommands();
}

void ProjectController::addSheet()
{
    if (!m_window.state().isDataEntry())
        return;
    writeShownSheetTotals();
    std::vector<std::string> keys;
    QTreeWidget *tree = m_window.projectTree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        keys.push_back(keyOf(tree->topLevelItem(i)));
    const auto chosen = dialogs().chooseSheet(keys);
    if (!chosen)
        return;

    AddSheetCommand::Result result;
    try {
        // Adding a sheet is a change to the project, not an edit: undo never takes the
        // workbook sheet away from under its tree entry.
        UndoPause pause(m_window.workbook());
        result = AddSheetCommand::run(
            m_window.workbook(), chosen->id, chosen->code, chosen->name, [this](const AddedSheet &s) {
                m_session->store().insertSheet(SheetListRow{static_cast<int16_t>(s.id), s.code, s.name});
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
    while (at < tree->topLevelItemCount() &&
           ProjectTree::keyNumber(keyOf(tree->topLevelItem(at))).value_or(0) < chosen->id)
        ++at;
    auto *item = new QTreeWidgetItem(QStringList{qs(ProjectTree::sheetCaption(chosen->code, chosen->name))});
    item->setData(0, frmMain::treeKeyRole, qs(ProjectTree::sheetKey(chosen->id)));
    item->setFont(0, captionFont(tree));
    tree->insertTopLevelItem(at, item);
    tree->setCurrentItem(item);
    m_session->setCurrentSheet(chosen->id);
    syncState();
    showDetailSheet(item);
}

} // namespace vantor
