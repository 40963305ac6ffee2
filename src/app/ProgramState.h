#pragma once

// The program-wide state kept for the life of the process (mGlobal): whether a
// project is open and of which kind, the user's files, the node and sheet shown,
// and the few values that windows hand to each other. One instance is made by
// main() and passed by reference to the main window and the commands; the project
// store updates it when it opens, saves and closes projects.

#include "project/ProjectRecords.h" // ProjectKind, as the project file stores it

#include <string>

namespace vantor {

struct ProgramState {
    // True while the project database is open; false means no project, and every
    // command that needs a project does nothing.
    bool projectOpen = false;
    ProjectKind projectKind = ProjectKind::None;
    std::string projectPath;  // the user's .mdb; empty for a new project never saved
    std::string workbookPath; // the paired .cll
    short currentNode = 0;    // pmid of the node shown
    short currentSheet = -1;  // sheet id of the sheet shown
    std::string storedPassword;
    int sharedNumber = 0; // number handed back by the small input dialog, sort key column
    int rowsPerPage = 0;  // chosen for printing

    std::string programFolder; // the executable's folder
    std::string myFilesFolder; // where file dialogs start

    bool isDataEntry() const { return projectOpen && projectKind == ProjectKind::DataEntry; }
    bool isSummary() const { return projectOpen && projectKind == ProjectKind::Summary; }
};

} // namespace vantor
