#pragma once

// vantor-cli: a dispatcher over named subcommands. Each command is a function over its
// arguments and two output streams that returns the exit status, so tests can run commands in
// the process and later commands are added by registering them in the table (Cli.cpp).
//
// Exit status: 0 success, 1 the command failed (unreadable file, unknown sheet …),
// 2 the command line was wrong. Messages for the user go to the error stream.

#include <functional>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantor {
class Workbook;
}

namespace vantor::cli {

constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

struct CliStreams {
    std::ostream &out;
    std::ostream &err;
};

using CliHandler = std::function<int(const std::vector<std::string> &args, CliStreams &io)>;

struct CliCommand {
    std::string usage;   // "dump FILE.cll --sheet LABEL [--formulas]"
    std::string summary; // one line, shown by help
    CliHandler run;
};

using CliCommandTable = std::map<std::string, CliCommand>;

// A wrong command line; the dispatcher prints the message and the command's usage.
class CliUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The arguments of one command split by CLI11 into positionals, options that take a value
// ("--sheet b10" or "--sheet=b10") and flags ("--formulas"). Anything else starting with "--"
// is a usage error, as is an option without its value; the messages are Chinese.
class CliArgs {
public:
    CliArgs(const std::vector<std::string> &args, const std::vector<std::string> &valueOptions,
            const std::vector<std::string> &flags);

    const std::vector<std::string> &positional() const { return m_positional; }
    bool has(const std::string &name) const;
    // The value of an option, or throws CliUsageError naming it.
    const std::string &required(const std::string &name) const;
    // A whole-number option within [min, max]; `fallback` when it is absent. Anything else is a
    // usage error naming the option and its range.
    long long integer(const std::string &name, long long min, long long max, long long fallback) const;
    // Throws CliUsageError unless there are exactly `count` positionals.
    void expectPositional(std::size_t count) const;

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_values;
};

// Registers the workbook commands: info, dump.
void addWorkbookCommands(CliCommandTable &table);

// Every command the tool knows.
CliCommandTable allCommands();

// Runs the tool: args are the command line without the program name.
int runCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

// The commands, callable directly.
int cliInfo(const std::vector<std::string> &args, CliStreams &io);
int cliDump(const std::vector<std::string> &args, CliStreams &io);

// Writes sheet `index` one line per row, cells tab-separated as the sheet shows them (with
// `formulas`, formula cells as "=" and their formula).
void writeSheetTsv(const Workbook &workbook, int index, bool formulas, std::ostream &out);

// A cell's text for a tab-separated line: tab, line feed, carriage return and backslash escaped
// as \t, \n, \r and \\ so that every cell stays in its column and every row on its line.
std::string escapeTsvField(const std::string &text);

} // namespace vantor::cli
