#pragma once

// Runs the built vantor-cli as a user does: arguments, standard input from a text, standard
// output and error captured in files of a scratch folder, the exit status read back; and the
// fixture the command-line tests share.

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace vantor::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `program` with `args`, feeding `input` on standard input. The captured streams live in
// `scratch`; with `inScratchFolder` the program also runs there.
inline CliRun runCli(const std::string &program, const std::filesystem::path &scratch,
                     const std::vector<std::string> &args, const std::string &input = {}, bool inScratchFolder = false)
{
    const std::string inPath = (scratch / "stdin.txt").string();
    const std::string outPath = (scratch / "stdout.txt").string();
    const std::string errPath = (scratch / "stderr.txt").string();
    {
        std::ofstream in(inPath, std::ios::binary | std::ios::trunc);
        in << input;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::string folder = scratch.string();
    if (inScratchFolder)
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::vector<char *> argv{const_cast<char *>(program.c_str())};
    for (const auto &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    CliRun result;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << program;
        return result;
    }
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

// A scratch folder and the built program (the vantor-cli and vantor-templates targets).
class CliFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_program = std::string(VANTOR_BIN_DIR) + "/vantor-cli";
        ASSERT_TRUE(std::filesystem::exists(m_program)) << "build the vantor-cli target first";
    }
    std::string file(const std::string &name) const { return (m_dir / name).string(); }
    CliRun run(const std::vector<std::string> &args, const std::string &input = {}, bool inScratch = false) const
    {
        return runCli(m_program, m_dir, args, input, inScratch);
    }
    // data.mdb, a data-entry project "甲" whose sheet 22 totals 1100 / 1050 / 1056, and sum.mdb,
    // an empty summary project.
    void makeDataAndSummaryProjects() const
    {
        ASSERT_EQ(run({"new", "--kind", "data", file("data.mdb"), "--name", "甲"}).status, 0);
        ASSERT_EQ(run({"add-sheet", file("data.mdb"), "22"}).status, 0);
        ASSERT_EQ(run({"fill", file("data.mdb"), "--sheet", "b22"},
                      "1\t钢材\t吨\t3\t\t100\t\t\t3\t33.333\n2\t铜材\t千克\t8\t\t1000\t-50\t\t8\t119.5\n")
                      .status,
                  0);
        ASSERT_EQ(run({"new", "--kind", "summary", file("sum.mdb")}).status, 0);
    }
    // The fields of line `row` of tab-separated output, empty ones at the end included.
    static std::vector<std::string> tsvLine(const std::string &tsv, int row)
    {
        std::istringstream lines(tsv);
        std::string text;
        for (int r = 0; r <= row; ++r)
            std::getline(lines, text);
        std::vector<std::string> fields;
        for (std::size_t start = 0;;) {
            const auto tab = text.find('\t', start);
            fields.push_back(text.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos)
                return fields;
            start = tab + 1;
        }
    }

    TempDir m_tmp;
    const std::filesystem::path &m_dir = m_tmp.path();
    std::string m_program;
};

} // namespace vantor::test
