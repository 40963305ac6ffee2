#pragma once

// Entry points of other subsystems that the main window calls at fixed moments. Each is
// empty until the subsystem that owns it is wired in. An empty hook does nothing (and
// closeProject, when empty, lets the window close).

#include <functional>
#include <string>

namespace vantor {

struct ShellHooks {
    // The close procedure of the project store; false when the user cancelled and the
    // window must stay open.
    std::function<bool()> closeProject;
    // Writes the totals of a detail sheet to the database.
    std::function<void(short sheet)> writeSheetTotals;
    // Computes a summary sheet (label "b0".."b9") for a project node.
    std::function<void(const std::string &label, short node)> computeSummarySheet;
    // The user chose an entry of the project tree (key of a detail sheet or project node).
    std::function<void(const std::string &key)> projectTreeClicked;
};

} // namespace vantor
