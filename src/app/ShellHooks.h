#pragma once

// Entry points of other subsystems that the main window calls at fixed moments. The
// window installs the row formulas for recomputeRow and recomputeTotals; the others
// are empty until the subsystem that owns them is wired in. An empty hook does
// nothing (and closeProject, when empty, lets the window close).

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
    // Row recomputation of a detail sheet after an edit, and the total-row sums alone.
    std::function<void(short sheet, int row, int col)> recomputeRow;
    std::function<void(short sheet)> recomputeTotals;
    // The user chose an entry of the project tree (key of a detail sheet or project node).
    std::function<void(const std::string &key)> projectTreeClicked;
};

} // namespace vantor
