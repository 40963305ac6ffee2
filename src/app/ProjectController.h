#pragma once

// The project commands of the main window. The controller runs New, Open, Save and
// Close, the project properties, the password, adding a detail sheet, adding a
// folder node and deleting a node on the ProjectDocument's session, through
// ProjectDialogs and the window's Prompter. After every command it brings the
// document in line with the session: the tree entries (detail sheets or project
// nodes), the title, the three status texts, the sheet shown and the frozen rows;
// the window follows the document. It also answers the user's choice of a tree
// entry and the window's close request (a cancelled close keeps the window open).
//
// The totals of the detail sheet being left or saved are written through the
// window's ShellHooks::writeSheetTotals.

#include "app/ProjectDialogs.h"
#include "project/ProjectSession.h"

#include <memory>
#include <string>

namespace vantor {

class ProjectDocument;
class frmMain;

class ProjectController {
public:
    // Registers the project commands in the window's dispatcher and installs the
    // closeProject and projectTreeClicked hooks. The window shows `document`.
    explicit ProjectController(frmMain &window);
    ~ProjectController();
    ProjectController(const ProjectController &) = delete;
    ProjectController &operator=(const ProjectController &) = delete;

    ProjectDocument &document() { return m_doc; }
    ProjectSession &session() { return m_session; }
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
    // The user chose the tree entry with this key; it becomes the current entry.
    void onProjectTreeClicked(const std::string &key);

    // Writes the totals of the detail sheet shown, when one is shown.
    void writeShownSheetTotals();

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
    void showNodeStatus();
    void showDetailSheet(const std::string &key);
    void freezeHeaderRows();
    // Shows dlgPmprop for the current node; true when it was confirmed.
    bool editCurrentNode();

    frmMain &m_window;
    ProjectDocument &m_doc;
    ProjectSession &m_session;
    std::unique_ptr<QtProjectDialogs> m_qtDialogs;
    ProjectDialogs *m_dialogs = nullptr;
};

} // namespace vantor
