#pragma once

// The summary-project commands of vantor-cli:
//
//   add-folder SUMMARY.mdb NAME [--parent ID] [--password P]
//   takeover SUMMARY.mdb DATA.mdb… [--parent ID] [--password P]
//   summary FILE.mdb --sheet b0…b9 [--node ID] [--yuan] [--password P]
//
// add-folder and takeover print the ids of the new nodes and save the project; a takeover
// that fails for any file names it and saves nothing. summary builds a summary sheet as the
// program shows it and prints it like dump; it changes no file.

#include "Cli.h"
#include "CliPrompter.h"

#include "summation/SummarySheets.h"

namespace vantor::cli {

void addSummaryCommands(CliCommandTable &table);

// Answers the unit question of 表1 as the command line says; anything else as CliPrompter.
class UnitPrompter : public CliPrompter {
public:
    UnitPrompter(std::ostream &err, bool yuan) : CliPrompter(err), m_yuan(yuan) {}
    Answer question(const std::string &text, const std::string &title, QuestionButtons buttons,
                    MessageIcon icon) override
    {
        if (text == SummarySheets::UnitQuestion)
            return m_yuan ? Answer::Yes : Answer::No;
        return CliPrompter::question(text, title, buttons, icon);
    }

private:
    bool m_yuan;
};

int cliAddFolder(const std::vector<std::string> &args, CliStreams &io);
int cliTakeover(const std::vector<std::string> &args, CliStreams &io);
int cliSummary(const std::vector<std::string> &args, CliStreams &io);

} // namespace vantor::cli
