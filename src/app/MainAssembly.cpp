#include "app/MainAssembly.h"

#include "app/SheetTotalsWiring.h"

namespace vantor {

MainAssembly::MainAssembly(ProgramState &state, ProjectSessionConfig config)
    : m_window(state), m_projects(m_window, std::move(config)), m_detailCommands(m_window, m_projects),
      m_summary(m_window, m_projects), m_tools(m_window), m_output(m_window, m_projects),
      m_print(m_window, m_projects), m_recovery(m_window, m_projects),
      m_check(m_window, m_projects)
{
    installSheetTotals(m_window, m_projects.session());
    // Commands whose feature is not wired stay disabled: refresh once everything is in.
    m_window.refreshCommands();
}

MainAssembly::~MainAssembly() = default;

void MainAssembly::openFileFromOutside(const std::string &path)
{
    m_window.showNormal();
    m_window.raise();
    m_window.activateWindow();
    if (!m_window.endEdit())
        return;
    if (m_window.state().projectOpen && m_projects.closeProject() != CommandResult::Done)
        return;
    m_projects.openProjectFile(path);
}

} // namespace vantor
