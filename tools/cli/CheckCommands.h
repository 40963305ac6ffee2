#pragma once

// The checking commands of vantor-cli:
//
//   check FILE.mdb [--node ID] [--csv] [--password P]
//       prints one finding per line (severity, node, sheet code, cell, message), or the CSV
//       the findings window saves; a project without findings prints a one-line summary.
//       Exit status 0 without 错误, 1 with, 2 for a wrong command line or an unreadable file.
//       Nothing is written to the project.
//   refresh SUMMARY.mdb --node ID DATA.mdb [--password P]
//       replaces the data node's totals by those of the data-entry project, prints the
//       sheets whose totals changed and saves; a file that cannot be read changes nothing.

#include "Cli.h"

namespace vantor::cli {

void addCheckCommands(CliCommandTable &table);

int cliCheck(const std::vector<std::string> &args, CliStreams &io);
int cliRefresh(const std::vector<std::string> &args, CliStreams &io);

} // namespace vantor::cli
