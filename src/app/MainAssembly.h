#pragma once

// The main window with every subsystem wired in, as the program runs it: the
// project commands, the sheet totals, the detail-sheet commands and the tool
// windows. main() makes one; tests make one to drive the window exactly as the
// user meets it. Each subsystem's wiring is a member here, declared after the
// window so that it goes first and leaves no working copies behind.

#include "app/DetailCommandsWiring.h"
#include "app/ProgramState.h"
#include "app/ProjectController.h"
#include "app/RecoveryWiring.h"
#include "app/SummaryWiring.h"
#include "app/frmMain.h"

#include <memory>

namespace vantor {

class MainAssembly {
public:
    MainAssembly(ProgramState &state, ProjectSessionConfig config);
    ~MainAssembly();
    MainAssembly(const MainAssembly &) = delete;
    MainAssembly &operator=(const MainAssembly &) = delete;

    frmMain &window() { return m_window; }
    ProjectController &projects() { return m_projects; }
    DetailCommandsWiring &detailCommands() { return m_detailCommands; }
    SummaryWiring &summary() { return m_summary; }
    RecoveryWiring &recovery() { return m_recovery; }

private:
    frmMain m_window;
    ProjectController m_projects;
    DetailCommandsWiring m_detailCommands;
    SummaryWiring m_summary;
    RecoveryWiring m_recovery;
};

} // namespace vantor
