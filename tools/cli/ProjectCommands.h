#pragma once

// The project commands of vantor-cli. Each opens the project through the same session the
// program uses (working copies in a private scratch folder, so it never meets a running
// program's working copies) and writes the user's files as a save does: both files of the
// pair or neither.
//
//   new --kind data|summary FILE.mdb [--name … --unit … --appraiser … --leader … --date
//       YYYY-MM-DD --representative …] [--force]
//   info FILE.mdb [--password P]      (info FILE.cll keeps listing a workbook's sheets)
//   add-sheet FILE.mdb ID [--password P]
//   fill FILE.mdb --sheet LABEL [--row N] [--password P] < data.tsv
//   import FILE.mdb --sheet LABEL FROM.xlsx|FROM.csv|FROM.cll [--from-sheet NAME] [--first-row N]
//       [--password P]

#include "Cli.h"

namespace vantor::cli {

// Registers new, add-sheet, fill and import, and lets info also read project files.
void addProjectCommands(CliCommandTable &table);

int cliNewProject(const std::vector<std::string> &args, CliStreams &io);
int cliProjectInfo(const std::vector<std::string> &args, CliStreams &io);
int cliAddSheet(const std::vector<std::string> &args, CliStreams &io);
// Reads the ledger from `in`.
int cliFill(const std::vector<std::string> &args, CliStreams &io, std::istream &in);
int cliImport(const std::vector<std::string> &args, CliStreams &io);

} // namespace vantor::cli
