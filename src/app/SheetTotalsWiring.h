#pragma once

// Connects the window's writeSheetTotals hook to the project of a session: the
// totals of a detail sheet go into the project's sheetdata when the user leaves
// the sheet, adds another one or saves.

namespace vantor {

class frmMain;
class ProjectSession;

void installSheetTotals(frmMain &window, ProjectSession &session);

} // namespace vantor
