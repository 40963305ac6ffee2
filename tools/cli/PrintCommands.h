#pragma once

// The print command of vantor-cli:
//
//   print FILE.mdb --sheet LABEL [--node ID] [--rows R] [--yuan] [--pdf OUT.pdf] [--layout]
//         [--password P]
//   print FILE.mdb --all --pdf OUT.pdf [--node ID] [--yuan] [--include-empty] [--password P]
//
// Lays the sheet out exactly as the program's print command does (a summary sheet is built
// first for the node, as the program shows it; a detail sheet's total row is refreshed) and
// writes the printed pages to a PDF file (A4) and/or the laid-out sheet like dump, with a line
// holding only a form feed before each printed page after the first. Without --pdf the layout is
// written. R defaults to the value the program remembers for the sheet. With --all the whole
// report (contents, summary sheets for the node, detail sheets holding data) goes to one PDF.
// No project file is changed.

#include "Cli.h"

namespace vantor::cli {

void addPrintCommands(CliCommandTable &table);

int cliPrint(const std::vector<std::string> &args, CliStreams &io);

} // namespace vantor::cli
