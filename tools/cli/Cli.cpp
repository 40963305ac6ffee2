#include "Cli.h"
#include "CliText.h"
#include "ProjectCommands.h"
#include "SummaryCommands.h"

#include "sheet_component/engine/CllFileError.h"

#include <algorithm>
#include <exception>

namespace vantor::cli {

CliArgs::CliArgs(const std::vector<std::string> &args, const std::vector<std::string> &valueOptions,
                 const std::vector<std::string> &flags)
{
    const auto known = [](const std::vector<std::string> &names, const std::string &name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    bool onlyPositional = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (!CliText::isValidUtf8(arg))
            throw CliUsageError(i > 0 && args[i - 1].rfind("--", 0) == 0 ? "选项 " + args[i - 1] + " 的值不是有效的UTF-8文本"
                                                                          : "参数不是有效的UTF-8文本");
        if (onlyPositional || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            m_positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyPositional = true;
            continue;
        }
        const auto equals = arg.find('=');
        const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        if (known(flags, name)) {
            if (equals != std::string::npos)
                throw CliUsageError("选项 --" + name + " 不带参数值");
            m_values[name] = "";
        } else if (known(valueOptions, name)) {
            if (equals != std::string::npos) {
                m_values[name] = arg.substr(equals + 1);
            } else {
                if (i + 1 >= args.size())
                    throw CliUsageError("选项 --" + name + " 缺少参数值");
                m_values[name] = args[++i];
            }
        } else {
            throw CliUsageError("未知选项 " + arg);
        }
    }
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
    return table;
}

namespace {

void printHelp(const CliCommandTable &table, std::ostream &out)
{
    out << "用法: vantor-cli 命令 [参数]\n\n命令:\n";
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
    const auto it = table.find(args[0]);
    if (it == table.end()) {
        err << "vantor-cli: 未知命令“" << args[0] << "”\n";
        printHelp(table, err);
        return ExitUsage;
    }
    CliStreams io{out, err};
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    try {
        return it->second.run(rest, io);
    } catch (const CliUsageError &error) {
        err << "vantor-cli " << args[0] << ": " << error.what() << "\n用法: vantor-cli " << it->second.usage
            << "\n";
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
