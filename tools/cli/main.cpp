// vantor-cli: command-line access to workbook files. See Cli.h for the commands.

#include "Cli.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = vantor::cli::runCli(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
