#pragma once

// The output commands of vantor-cli:
//
//   export FILE.mdb OUT.xlsx [--password P]
//   overview FILE.mdb --list KEY [--password P]
//
// export writes the project's workbook as an Excel file, the same file as 文件 > 存为Excel文件;
// overview prints an overview list (k0 … k12, or b + sheet id) like dump. Neither changes the
// project.

#include "Cli.h"

namespace vantor::cli {

void addOutputCommands(CliCommandTable &table);

int cliExport(const std::vector<std::string> &args, CliStreams &io);
int cliOverview(const std::vector<std::string> &args, CliStreams &io);

} // namespace vantor::cli
