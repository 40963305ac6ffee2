#include "app/MainAssembly.h"

#include "app/SheetTotalsWiring.h"
#include "project/ProjectPaths.h"

#include <QTimer>

namespace vantor {

MainAssembly::MainAssembly(ProgramState &state, ProjectSessionConfig config, std::string recoveryFolder)
    : m_document(state, std::move(config)), m_window(m_document), m_projects(m_window), m_format(m_window),
      m_detailCommands(m_window, m_projects), m_summary(m_window, m_projects), m_tools(m_window),
      m_output(m_window, m_projects), m_print(m_window, m_projects),
      m_recovery(m_window, m_projects, std::move(recoveryFolder)), m_check(m_window, m_projects)
{
    installSheetTotals(m_window, m_projects.session());
    // Commands whose feature is not wired stay disabled: refresh once everything is in.
    m_window.refreshCommands();
}

MainAssembly::~MainAssembly() = default;

void MainAssembly::bringToFront()
{
    m_window.showNormal();
    m_window.raise();
    m_window.activateWindow();
}

void MainAssembly::startUp(const std::string &path)
{
    // Under the same guard as a hand-over: one may arrive while the restore is asked.
    openFileFromOutside(path);
}

void MainAssembly::openFileFromOutside(const std::string &path)
{
    // The prompts below run event loops of their own, in which the next request can arrive.
    if (m_handingOver) {
        m_nextPath = path;
        return;
    }
    m_handingOver = true;
    handOver(path);
    m_handingOver = false;
    if (m_nextPath) {
        const std::string next = *m_nextPath;
        m_nextPath.reset();
        QTimer::singleShot(0, &m_window, [this, next] { openFileFromOutside(next); });
    }
}

void MainAssembly::handOver(const std::string &path)
{
    bringToFront();
    if (path.empty()) {
        m_recovery.offerRestore();
        return;
    }
    if (!m_window.endEdit())
        return;
    if (m_document.state().projectOpen && m_projects.closeProject() != CommandResult::Done)
        return;
    if (const auto restored = m_recovery.offerRestore()) {
        // The file's own unsaved work is what the user asked for.
        if (!restored->empty() && ProjectPaths::sameFile(*restored, path))
            return;
        // Another project's work: saved or dropped through the usual prompt first.
        if (m_projects.closeProject() != CommandResult::Done)
            return;
    }
    m_projects.openProjectFile(path);
}

} // namespace vantor
