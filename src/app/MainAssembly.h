#pragma once

// The main window with every subsystem wired in, as the program runs it: the
// project commands, the sheet totals, the detail-sheet commands and the tool
// windows. main() makes one; tests make one to drive the window exactly as the
// user meets it. The document comes first and goes last; each subsystem's wiring
// is a member here, declared after the window so that it goes before it.

#include "app/CheckWiring.h"
#include "app/DetailCommandsWiring.h"
#include "app/FormatWiring.h"
#include "app/OutputWiring.h"
#include "app/PrintWiring.h"
#include "app/ProgramState.h"
#include "app/ProjectController.h"
#include "app/ProjectDocument.h"
#include "app/RecoveryWiring.h"
#include "app/SummaryWiring.h"
#include "app/ToolsWiring.h"
#include "app/frmMain.h"

#include <memory>
#include <optional>
#include <string>

namespace vantor {

class MainAssembly {
public:
    // recoveryFolder: where recovery copies go; empty for the user's default.
    MainAssembly(ProgramState &state, ProjectSessionConfig config, std::string recoveryFolder = {});
    ~MainAssembly();
    MainAssembly(const MainAssembly &) = delete;
    MainAssembly &operator=(const MainAssembly &) = delete;

    ProjectDocument &document() { return m_document; }
    frmMain &window() { return m_window; }
    ProjectController &projects() { return m_projects; }
    DetailCommandsWiring &detailCommands() { return m_detailCommands; }

    // The first thing the started program does: a recovery copy left by a crash is
    // offered, then the file named on the command line (if any) opens.
    void startUp(const std::string &path);
    // A project file handed over by a second start: the window comes to the front,
    // the open edit ends, the open project closes through its usual prompt (the user
    // may cancel there), a recovery copy is offered, then the file opens. A request
    // that arrives while the prompts of another are open waits for them.
    void openFileFromOutside(const std::string &path);
    // A second start without a file: the window comes to the front.
    void bringToFront();
    SummaryWiring &summary() { return m_summary; }
    ToolsWiring &tools() { return m_tools; }
    OutputWiring &output() { return m_output; }
    PrintWiring &printing() { return m_print; }
    RecoveryWiring &recovery() { return m_recovery; }
    CheckWiring &check() { return m_check; }

private:
    void handOver(const std::string &path);

    ProjectDocument m_document;
    frmMain m_window;
    ProjectController m_projects;
    FormatWiring m_format;
    DetailCommandsWiring m_detailCommands;
    SummaryWiring m_summary;
    ToolsWiring m_tools;
    OutputWiring m_output;
    PrintWiring m_print;
    RecoveryWiring m_recovery;
    CheckWiring m_check;
    bool m_handingOver = false;
    std::optional<std::string> m_nextPath;
};

} // namespace vantor
