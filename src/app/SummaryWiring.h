#pragma once

// The summary sheets and the takeover of data-entry projects in the main window. Every
// moment the window shows a summary sheet (a click in the summary list, the switch to the
// summary pane, opening a summary project) goes through the window's computeSummarySheet
// hook, which rebuilds the sheet from the project's current totals for the current node.
// 插入 > 项目数据 takes another project file over as a new data node and puts it into the
// project tree under the folder the selection implies.

#include <string>

namespace vantor {

class ProjectDocument;

class frmMain;
class ProjectController;

class SummaryWiring {
public:
    // Installs the computeSummarySheet hook and the handler of 插入 > 项目数据.
    SummaryWiring(frmMain &window, ProjectController &projects);
    ~SummaryWiring();
    SummaryWiring(const SummaryWiring &) = delete;
    SummaryWiring &operator=(const SummaryWiring &) = delete;

    // Builds summary sheet `label` for `node`; a failure is shown and leaves the sheet
    // as it was.
    void computeSummarySheet(const std::string &label, short node);
    // insert_node(1): asks for a project file and takes it over.
    void insertProjectData();

private:
    frmMain &m_window;
    ProjectDocument &m_doc;
    ProjectController &m_projects;
};

} // namespace vantor
