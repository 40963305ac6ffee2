#include "app/MainAssembly.h"

#include "app/SheetTotalsWiring.h"

namespace vantor {

MainAssembly::MainAssembly(ProgramState &state, ProjectSessionConfig config)
    : m_window(state), m_projects(m_window, std::move(config)), m_detailCommands(m_window, m_projects),
      m_summary(m_window, m_projects), m_recovery(m_window, m_projects)
{
    installSheetTotals(m_window, m_projects.session());
    // Commands whose feature is not wired stay disabled: refresh once everything is in.
    m_window.refreshCommands();
}

MainAssembly::~MainAssembly() = default;

} // namespace vantor
