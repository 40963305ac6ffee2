#pragma once

// The program-wide state of the open project and the four commands that make,
// open, save and close it. While a project is open the session holds the
// connection to the working copy of the project file (_workfile.mdb) and the
// component holds the working copy of the workbook (_workfile.cll); both
// working copies exist exactly while a project is open, and the user's files
// are written only by saving, always as a pair.
//
// Commands ask the user through a Prompter and report what happened; the
// main window then refreshes its tree, title and status bar from the session.
// The two dialogs that belong to these commands are the caller's: the kind of
// a new project is passed to newProject(), and the login dialog is passed to
// openProject() as a LoginFunction.

#include "common/Prompter.h"
#include "project/Database.h"
#include "project/ProjectPassword.h"
#include "project/ProjectRecords.h"
#include "project/ProjectStore.h"
#include "project/RecoveryStore.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vantor {

class ProjectWorkbook;

enum class CommandResult {
    Done,      // the command did what was asked
    Cancelled, // the user cancelled; nothing changed
    Failed,    // the user has been told why; the previous state stands
};

struct ProjectSessionConfig {
    std::string programFolder; // the templates are read from here
    std::string workFolder;    // working copies; private to the running program (PrivateFolder)
    PasswordCost passwordCost = PasswordCost::interactive();
    std::string supportContact = "Vantor技术支持";
    std::string myFilesFolder; // where the file dialogs start; empty: MyFiles in the work folder
};

// Asks for the project password. `accept` checks a typed text; the dialog
// keeps asking (telling the user of a wrong password) until accept() returns
// true (then the function returns true) or the user cancels (false).
using PasswordCheck = std::function<bool(const std::string &)>;
using LoginFunction = std::function<bool(const PasswordCheck &accept)>;

class ProjectSession {
public:
    static constexpr const char *kTitle = "Vantor";

    ProjectSession(ProjectSessionConfig config, ProjectWorkbook &workbook);
    // Drops the project without saving and removes the working copies; the
    // workbook is not touched (it may be destroyed first).
    ~ProjectSession();
    ProjectSession(const ProjectSession &) = delete;
    ProjectSession &operator=(const ProjectSession &) = delete;

    // --- commands ---
    // Makes a new project of the kind chosen in dlgPmtype (None: nothing
    // happens). Afterwards the caller shows dlgPmprop for node 0.
    CommandResult newProject(ProjectKind kind, Prompter &prompter);
    // Asks for a project file and opens it.
    CommandResult openProject(Prompter &prompter, const LoginFunction &login);
    // Opens a given project file (the part of openProject after the file dialog).
    CommandResult openProjectFile(const std::string &path, Prompter &prompter, const LoginFunction &login);
    // Opens the recovery copy of a project left by a crash (RecoveryStore) as
    // an unsaved project: it has no file yet, so Save asks where to put it and
    // suggests the file it came from. A project with a password asks for it
    // first (Cancelled when the user does not pass).
    CommandResult openRecovered(const RecoveredProject &recovered, Prompter &prompter, const LoginFunction &login);
    // Writes the recovery copy of the open project (nothing when none is
    // open); throws when it cannot be written.
    void writeRecoveryCopy(RecoveryStore &store);

    // Writes the working copies to the user's files, asking for a name first
    // when the project has none.
    CommandResult saveProject(Prompter &prompter);
    // Offers to save when anything changed, then closes. Anything but Done
    // means the project is still open (a window that is closing stays open).
    CommandResult closeProject(Prompter &prompter);

    // --- project tree ---
    // insert_node(0): appends a folder node under the root and makes it the
    // current node; the caller adds its tree entry and shows dlgPmprop.
    int16_t insertFolderNode();
    // del_pm: asks whether to delete the current node (`entryText` is its tree
    // text) with its sub-folders, then removes them with their sheet rows and
    // makes the root current. The root is never deleted.
    CommandResult deleteCurrentNode(Prompter &prompter, const std::string &entryText);
    // dlgPmprop's OK: stores the properties of the current node; a project
    // that was never saved also stores its kind in row 0.
    void storeNodeProperties(const NodeProperties &properties);

    // A LoginFunction over the Prompter's input dialog.
    static LoginFunction promptLogin(Prompter &prompter);

    // Called before the working copies are written (save, and Yes on close);
    // the main window stores the totals of the detail sheet it shows.
    void setBeforeSave(std::function<void()> beforeSave) { m_beforeSave = std::move(beforeSave); }

    // --- state ---
    bool isOpen() const { return m_db != nullptr; }
    ProjectKind kind() const { return m_kind; }
    const std::string &projectPath() const { return m_projectPath; }
    const std::string &workbookPath() const { return m_workbookPath; }
    int16_t currentNode() const { return m_currentNode; }
    void setCurrentNode(int16_t pmid) { m_currentNode = pmid; }
    int16_t currentSheet() const { return m_currentSheet; }
    void setCurrentSheet(int16_t id) { m_currentSheet = id; }
    const PasswordCost &passwordCost() const { return m_config.passwordCost; }

    // The open project's database; throw std::logic_error when none is open.
    Database &database();
    ProjectStore &store();

    // True when the workbook or the project database changed since the
    // project was made, opened or saved.
    bool isModified() const;

    // "Vantor", or "Vantor--" + project path once the project has a file.
    std::string windowTitle() const;
    // Panel 2 and 3 of the status bar for the current node.
    std::string statusProjectName() const;
    std::string statusUnit() const;

    std::string workDatabasePath() const;
    std::string workWorkbookPath() const;
    std::string myFilesFolder() const;
    std::string templatePath(const char *name) const;

private:
    void openConnection();
    // Drops the connection, deletes both working copies and empties the component.
    void discardProject();
    void removeWorkingCopies();
    void markSaved();
    bool writeFiles(const std::string &projectPath, Prompter &prompter);
    std::optional<std::string> askSavePath(Prompter &prompter);

    ProjectSessionConfig m_config;
    ProjectWorkbook &m_workbook;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<ProjectStore> m_store;
    ProjectKind m_kind = ProjectKind::None;
    std::string m_projectPath;
    std::string m_workbookPath;
    std::string m_suggestedPath; // offered by the save dialog while the project has no file
    int16_t m_currentNode = 0;
    int16_t m_currentSheet = 0;
    int64_t m_savedChanges = 0;
    std::function<void()> m_beforeSave;
};

} // namespace vantor
