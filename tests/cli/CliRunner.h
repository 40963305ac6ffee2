#pragma once

// Runs the built vantor-cli as a user does: arguments, standard input from a text, standard
// output and error captured in files of a scratch folder, the exit status read back.

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
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
                     const std::vector<std::string> &args, const std::string &input = {},
                     bool inScratchFolder = false)
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

} // namespace vantor::test
