#pragma once

// Writes the two files a new project is made from, into the program folder: the template
// workbook (every standard sheet the program expects, laid out: the summary sheets, 表11 and
// the first detail sheet 表3-1-1) and the template project database (the four tables, row 0 of
// pmprop and the sheetlist rows of the sheets the workbook holds). Each file is written beside
// its target and renamed over it, then read back and checked the way the program checks
// templates, so a broken template fails the build instead of a user's first new project.

#include <string>

namespace vantor {

class TemplateGenerator {
public:
    static constexpr const char *WorkbookFile = "template.vtc";
    static constexpr const char *DatabaseFile = "template.vtw";
    // Placeholder of the legal representative that the project dialog replaces by the default.
    static constexpr const char *LegalRepresentativePlaceholder = "请输入";

    // Both files into `folder`; throws std::runtime_error (or a library error) on failure.
    static void generate(const std::string &folder);

    static void writeWorkbook(const std::string &path);
    static void writeDatabase(const std::string &path);

    // Throw std::runtime_error with a readable message when a written file is not what the
    // program expects.
    static void verifyWorkbook(const std::string &path);
    static void verifyDatabase(const std::string &path);
};

} // namespace vantor
