#pragma once

// 数据 > 数据检查 and 数据 > 更新项目数据 in the main window. The check runs over the open
// project (the totals of the detail sheet shown are stored first, as a switch of sheets
// does) and lists its findings in a modeless window; double-clicking a finding shows its
// sheet, for a summary project its node, and selects its cell. The refresh brings a revised
// data-entry project into the selected data node.

#include <QPointer>

namespace vantor {

class ProjectDocument;

class dlgCheck;
class frmMain;
class ProjectController;
struct CheckFinding;

class CheckWiring {
public:
    CheckWiring(frmMain &window, ProjectController &projects);
    ~CheckWiring();
    CheckWiring(const CheckWiring &) = delete;
    CheckWiring &operator=(const CheckWiring &) = delete;

    void openCheck();
    void refreshNode();
    // Shows the sheet (and node) of a finding and selects its cell.
    void showFinding(const CheckFinding &finding);
    // The findings window while it is open.
    dlgCheck *checkWindow() const;

private:
    frmMain &m_window;
    ProjectDocument &m_doc;
    ProjectController &m_projects;
    QPointer<dlgCheck> m_check;
};

} // namespace vantor
