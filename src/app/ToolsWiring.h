#pragma once

// The tool windows of the main window: 常用计算公式 (frmToolgs) and 获取外部数据
// (frmImport). Each window is made on first use and kept, as one default instance,
// modeless beside the main window; a second command brings it to the front.

#include <memory>

namespace vantor {

class ProjectDocument;

class frmImport;
class frmMain;
class frmToolgs;

class ToolsWiring {
public:
    explicit ToolsWiring(frmMain &window);
    ~ToolsWiring();
    ToolsWiring(const ToolsWiring &) = delete;
    ToolsWiring &operator=(const ToolsWiring &) = delete;

    // Shows the calculator window, making it on first use.
    frmToolgs &showCalculators();
    frmToolgs *calculators() const { return m_calculators.get(); }
    // Shows the import window, making it on first use.
    frmImport &showImport();
    frmImport *importWindow() const { return m_import.get(); }

private:
    frmMain &m_window;
    ProjectDocument &m_doc;
    std::unique_ptr<frmToolgs> m_calculators;
    std::unique_ptr<frmImport> m_import;
};

} // namespace vantor
