// vantor-templategen FOLDER: writes template.vtc and template.vtw into FOLDER (the program
// folder). Runs at build time; a non-zero exit fails the build.

#include "TemplateGenerator.h"

#include <exception>
#include <iostream>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: vantor-templategen FOLDER\n";
        return 2;
    }
    try {
        vantor::TemplateGenerator::generate(argv[1]);
    } catch (const std::exception &e) {
        std::cerr << "vantor-templategen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
