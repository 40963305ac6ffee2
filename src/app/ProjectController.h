#pragma once

// The project commands of the main window. The controller owns the
// ProjectSession of the window and runs New, Open, Save and Close, the project
// properties, the password, adding a detail sheet, adding a folder node and
// deleting a node through ProjectDialogs and the window's Prompter. After
// every command it brings the window in line with the session: the project
// tree (detail sheets or project nodes), the title, the three status panels,
// ProgramState, and with it the enabled commands. It also answers clicks in
// the project tree and the window's close request (a cancelled close keeps the
// window open).
//
// The totals of the detail sheet being left or saved are written through the
// window's ShellHooks::writeSheetTotals.

#include "app/ProjectDialogs.h"
#include "project/ProjectSession.h"

#include <QtCore/qnamespace.h>

#include <memory>
#include <string>

class QTreeWidgetItem;

namespace vantor {

class EngineProjectWorkbook;
class frmMain;

class ProjectController {
public:
    // Tree entries keep the tag ("d" for data nodes) in this role.
    static constexpr int treeTagRole = Qt::UserRole + 1;

    // Registers the project commands in the window's dispatcher and installs the
    // closeProject and projectTreeClicked hooks.
    ProjectController(frmMain &window, ProjectSessionConfig config);
    ~ProjectController();
    ProjectController(const ProjectController &) = delete;
    ProjectController &operator=(const ProjectController &) = delete;

    ProjectSession &session() { return *m_session; }
    // Replaces the real dialogs (tests); nullptr restores them.
    void setDialogs(ProjectDialogs *dialogs) { m_dialogs = dialogs; }

    CommandResult newProject();
    CommandResult openProject();
    CommandResult openProjectFile(const std::string &path);
    // Opens the recovery copy left by a crash as an unsaved project (after its
    // password, when it has one).
    CommandResult openRecovered(const RecoveredProject &recovered);
    CommandResult saveProject();
    CommandResult closeProject();
    void editProjectProperties();
    void changePassword();
    void addSheet();
    void insertFolderNode();
    void deleteNode();
    void onProjectTreeClicked(QTreeWidgetItem *item);

    // Writes the totals of the detail sheet shown, when one is shown.
    void writeShownSheetTotals();

    QTreeWidgetItem *treeItem(const std::string &key) const;

private:
    ProjectDialogs &dialogs();
    void registerCommands();
    // Brings the window in line with the session after an open of any kind.
    CommandResult afterOpen(CommandResult result);
    // After a successful new or open: tree, state, panels, view.
    void showOpenedProject(bool isNew);
    // After a close: empty tree, no project.
    void showClosedProject();
    void fillTree(bool isNew);
    void syncState();
    void showNodeStatus();
    void showDetailSheet(QTreeWidgetItem *item);
    void freezeHeaderRows();
    // Shows dlgPmprop for the current node; true when it was confirmed.
    bool editCurrentNode();

    frmMain &m_window;
    std::unique_ptr<EngineProjectWorkbook> m_workbook;
    std::unique_ptr<ProjectSession> m_session;
    std::unique_ptr<QtProjectDialogs> m_qtDialogs;
    ProjectDialogs *m_dialogs = nullptr;
};

} // namespace vantor
