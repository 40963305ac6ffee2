#pragma once

// The print command in the main window (文件 > 打印预览 and the toolbar's 打印): asks for the rows
// per page of a detail sheet, lays the sheet shown out as a printed form with the progress window
// up and the view frozen, and opens the print preview on it, from which the user prints or saves
// a PDF. 文件 > 整套报表存为PDF... writes the whole report (contents, summary sheets, detail sheets
// holding data) as one PDF with a progress window that can cancel. Also 设置 > 评估机构..., the
// appraisal institution's name printed on every form.

#include "output/PrintEngine.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vantor {

class ProjectDocument;

class frmMain;
class ProjectController;

class PrintWiring {
public:
    PrintWiring(frmMain &window, ProjectController &projects);
    ~PrintWiring();
    PrintWiring(const PrintWiring &) = delete;
    PrintWiring &operator=(const PrintWiring &) = delete;

    void print();
    void printReport();
    void editInstitution();

    // Tests replace the rows dialog and the preview.
    void setRowsAsker(std::function<int(int16_t sheetId)> asker) { m_askRows = std::move(asker); }
    void setOutput(PrintOutput output) { m_output = std::move(output); }
    // Tests replace the file dialog of the whole report.
    void setReportPath(std::function<std::string()> path) { m_reportPath = std::move(path); }

private:
    frmMain &m_window;
    ProjectDocument &m_doc;
    ProjectController &m_projects;
    std::function<int(int16_t)> m_askRows;
    PrintOutput m_output;
    std::function<std::string()> m_reportPath;
};

} // namespace vantor
