#pragma once

// The editing, format and tool commands of the detail sheet shown in the main
// window, plus the sheet settings (签章人员, 表格标题, 法人代表) and deleting a
// detail sheet. Each handler takes the current sheet id from ProgramState, the
// selection from the workbook, "不滚动行" from the window and asks through the
// window's Prompter; afterwards the view is redrawn and the enabled commands are
// brought up to date. The 删除明细表 entry is shared with ProjectController: in
// a summary project it still deletes the current node.

#include "sheets/DetailEditCommands.h"

namespace vantor {

class ProjectDocument;

class frmMain;
class ProjectController;

class DetailCommandsWiring {
public:
    DetailCommandsWiring(frmMain &window, ProjectController &projects);
    ~DetailCommandsWiring();
    DetailCommandsWiring(const DetailCommandsWiring &) = delete;
    DetailCommandsWiring &operator=(const DetailCommandsWiring &) = delete;

    // Replaces the number-entry dialog (tests); an empty function restores it.
    void setNumberEntry(NumberEntry entry) { m_numberEntry = std::move(entry); }

    // Removes the detail sheet of the selected tree entry from the project and the
    // workbook after a question; the entry above it is shown next.
    bool deleteDetailSheet();

private:
    void registerCommands();
    // Runs a command on the detail sheet shown; nothing when no detail sheet is shown.
    void onDetail(const std::function<bool(int id)> &command);
    void afterCommand();
    int askNumber(const NumberRequest &request);
    void editSheetName();
    void editSignatories();

    frmMain &m_window;
    ProjectDocument &m_doc;
    ProjectController &m_projects;
    NumberEntry m_numberEntry;
};

} // namespace vantor
