#pragma once

// File names of a project: the pairing of a project file with its workbook,
// the extension rule of the file dialogs, and where the program's own data
// lives. Pure functions of text, except the few that look at the disk.

#include <string>

namespace vantor {

class ProjectPaths {
public:
    static constexpr const char *kWorkDatabase = "_workfile.mdb";
    static constexpr const char *kWorkWorkbook = "_workfile.cll";
    static constexpr const char *kTempDatabase = "_temp.mdb";
    static constexpr const char *kTemplateDatabase = "template.vtw";
    static constexpr const char *kTemplateWorkbook = "template.vtc";
    static constexpr const char *kMyFiles = "MyFiles";

    // The path with the extension of its file name (from the last "." of the
    // file name on) replaced by `extension` (given with its dot), or with it
    // appended when the file name has none. Dots in folder names do not count.
    static std::string withExtension(const std::string &path, const std::string &extension);

    // The workbook that belongs to a project file: same folder, same name, ".cll".
    static std::string pairedWorkbook(const std::string &projectPath);
    // Where the templates and the help live: beside the program in a build folder,
    // <prefix>/share/vantor when the program is installed in <prefix>/bin.
    static std::string dataFolder(const std::string &programFolder);

    // What a file dialog returns for the default extension "mdb": blanks
    // trimmed and the extension forced to ".mdb". Empty stays empty.
    static std::string projectFileFromDialog(const std::string &chosen);

    // Same file on disk (also through links or "..")? False when either is missing.
    static bool sameFile(const std::string &a, const std::string &b);

    static std::string join(const std::string &folder, const std::string &name);
};

} // namespace vantor
