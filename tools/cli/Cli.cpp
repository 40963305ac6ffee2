#include "Cli.h"
#include "CheckCommands.h"
#include "OutputCommands.h"
#include "ProjectCommands.h"
#include "SummaryCommands.h"
#ifdef VANTOR_CLI_PRINT
#include "PrintCommands.h"
#endif

#include "common/Utf8Text.h"
#include "sheet_component/engine/CllFileError.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <exception>

namespace vantor::cli {

namespace {

// CLI11 reports in English; the user reads Chinese.
std::string chineseMessage(const CLI::ParseError &error)
{
    const std::string what = error.what();
    if (dynamic_cast<const CLI::ExtrasError *>(&error)) {
        const auto quote = what.find(": ");
        return (what.find("--") != std::string::npos ? "未知选项或多余的参数" : "多余的参数") +
               (quote == std::string::npos ? std::string() : " " + what.substr(quote + 2));
    }
    if (dynamic_cast<const CLI::ArgumentMismatch *>(&error)) {
        const auto dash = what.find("--");
        std::string name = dash == std::string::npos ? std::string() : what.substr(dash, what.find(' ', dash) - dash);
        if (!name.empty() && name.back() == ':')
            name.pop_back();
        return "选项 " + name + " 缺少参数值";
    }
    return "命令行有误：" + what;
}

} // namespace

CliArgs::CliArgs(const std::vector<std::string> &args, const std::vector<std::string> &valueOptions,
                 const std::vector<std::string> &flags)
{
    CLI::App app;
    app.set_help_flag(); // --help is answered by the dispatcher, in Chinese
    app.allow_extras(false);
    app.add_option("arguments", m_positional);
    std::map<std::string, std::string> values;
    std::map<std::string, bool> set;
    for (const std::string &name : valueOptions)
        app.add_option("--" + name, values[name])->expected(1);
    for (const std::string &name : flags)
        app.add_flag("--" + name, set[name]);
    // Text reaches the commands exactly as given or not at all; a flag takes no value, not
    // even "--formulas=yes", which CLI11 would read as a switch.
    bool afterSeparator = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (!Utf8Text::isValid(arg))
            throw CliUsageError(i > 0 && args[i - 1].rfind("--", 0) == 0
                                    ? "选项 " + args[i - 1] + " 的值不是有效的UTF-8文本"
                                    : "参数不是有效的UTF-8文本");
        if (arg == "--")
            afterSeparator = true;
        if (afterSeparator)
            continue;
        for (const std::string &name : flags)
            if (arg.rfind("--" + name + "=", 0) == 0)
                throw CliUsageError("选项 --" + name + " 不带参数值");
    }
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError &error) {
        throw CliUsageError(chineseMessage(error));
    }
    for (const std::string &name : valueOptions)
        if (app.count("--" + name))
            m_values[name] = values[name];
    for (const std::string &name : flags)
        if (app.count("--" + name))
            m_values[name] = "";
}

long long CliArgs::integer(const std::string &name, long long min, long long max, long long fallback) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return fallback;
    long long value = 0;
    if (!CLI::detail::lexical_cast(it->second, value) || value < min || value > max)
        throw CliUsageError("选项 --" + name + " 的值必须是 " + std::to_string(min) + " 到 " + std::to_string(max) +
                            " 之间的整数");
    return value;
}

bool CliArgs::has(const std::string &name) const
{
    return m_values.count(name) != 0;
}

const std::string &CliArgs::required(const std::string &name) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end())
        throw CliUsageError("缺少选项 --" + name);
    return it->second;
}

void CliArgs::expectPositional(std::size_t count) const
{
    if (m_positional.size() < count)
        throw CliUsageError("缺少参数");
    if (m_positional.size() > count)
        throw CliUsageError("多余的参数 " + m_positional[count]);
}

CliCommandTable allCommands()
{
    CliCommandTable table;
    addWorkbookCommands(table);
    addProjectCommands(table);
    addSummaryCommands(table);
    addCheckCommands(table);
    addOutputCommands(table);
#ifdef VANTOR_CLI_PRINT
    addPrintCommands(table);
#endif
    return table;
}

namespace {

void printHelp(const CliCommandTable &table, std::ostream &out)
{
    out << "用法: vantor-cli 命令 [参数]\n      vantor-cli --help | --version\n\n命令:\n";
    for (const auto &[name, command] : table)
        out << "  " << command.usage << "\n      " << command.summary << "\n";
}

} // namespace

int runCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const CliCommandTable table = allCommands();
    if (args.empty()) {
        printHelp(table, err);
        return ExitUsage;
    }
    if (args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        printHelp(table, out);
        return ExitOk;
    }
    if (args[0] == "--version" || args[0] == "-v") {
        out << "vantor-cli " << VANTOR_VERSION << "\n";
        return ExitOk;
    }
    const auto it = table.find(args[0]);
    if (it == table.end()) {
        err << "vantor-cli: 未知命令“" << args[0] << "”\n";
        printHelp(table, err);
        return ExitUsage;
    }
    CliStreams io{out, err};
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end() ||
        std::find(rest.begin(), rest.end(), "-h") != rest.end()) {
        out << "用法: vantor-cli " << it->second.usage << "\n" << it->second.summary << "\n";
        return ExitOk;
    }
    try {
        return it->second.run(rest, io);
    } catch (const CliUsageError &error) {
        err << "vantor-cli " << args[0] << ": " << error.what() << "\n用法: vantor-cli " << it->second.usage << "\n";
        return ExitUsage;
    } catch (const CllFileError &error) {
        err << "vantor-cli " << args[0] << ": " << error.what() << "\n";
        return ExitFailure;
    } catch (const std::exception &error) {
        err << "vantor-cli " << args[0] << ": " << error.what() << "\n";
        return ExitFailure;
    }
}

std::string escapeTsvField(const std::string &text)
{
    if (text.find_first_of("\t\n\r\\") == std::string::npos)
        return text;
    std::string escaped;
    escaped.reserve(text.size() + 8);
    for (const char c : text) {
        switch (c) {
        case '\t':
            escaped += "\\t";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        case '\\':
            escaped += "\\\\";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

} // namespace vantor::cli
