#pragma once

// The output commands in the main window: 文件 > 存为Excel文件 writes the open project's
// workbook as an Excel file; 数据 > 科目类别统计... opens the overview window over a snapshot
// of the project's totals, replacing one that is still open.

#include <QPointer>

namespace vantor {

class ProjectDocument;

class frmMain;
class frmQuery;
class ProjectController;

class OutputWiring {
public:
    OutputWiring(frmMain &window, ProjectController &projects);
    ~OutputWiring();
    OutputWiring(const OutputWiring &) = delete;
    OutputWiring &operator=(const OutputWiring &) = delete;

    void exportToExcel();
    void openOverview();
    // The overview window while it is open.
    frmQuery *overview() const;

private:
    frmMain &m_window;
    ProjectDocument &m_doc;
    ProjectController &m_projects;
    QPointer<frmQuery> m_overview;
};

} // namespace vantor
