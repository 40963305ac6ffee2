#include "project/ProjectPaths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace vantor {

namespace {
bool sameIgnoringAsciiCase(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
} // namespace

std::string ProjectPaths::withExtension(const std::string &path, const std::string &extension)
{
    size_t slash = path.find_last_of('/');
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart)
        return path + extension;
    // "X.MDB" is a project file as much as "X.mdb": its name is kept as the user wrote it.
    if (sameIgnoringAsciiCase(path.substr(dot), extension))
        return path;
    return path.substr(0, dot) + extension;
}

std::string ProjectPaths::pairedWorkbook(const std::string &projectPath)
{
    const std::string lower = withExtension(projectPath, ".cll");
    std::error_code ec;
    if (!fs::exists(lower, ec)) {
        // The pair of "X.MDB" copied from another system may be "X.CLL".
        const std::string upper = withExtension(projectPath, ".CLL");
        if (upper != lower && fs::exists(upper, ec))
            return upper;
    }
    return lower;
}

std::string ProjectPaths::dataFolder(const std::string &programFolder)
{
    std::error_code ec;
    if (fs::exists(fs::path(programFolder) / "template.vtw", ec))
        return programFolder;
    const fs::path installed = fs::path(programFolder).parent_path() / "share" / "vantor";
    if (fs::exists(installed / "template.vtw", ec))
        return installed.string();
    return programFolder;
}

std::string ProjectPaths::projectFileFromDialog(const std::string &chosen)
{
    size_t first = chosen.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    size_t last = chosen.find_last_not_of(' ');
    return withExtension(chosen.substr(first, last - first + 1), ".mdb");
}

bool ProjectPaths::sameFile(const std::string &a, const std::string &b)
{
    std::error_code ec;
    bool same = fs::equivalent(a, b, ec);
    if (!ec)
        return same;
    // A file that does not exist yet can still be the same path.
    auto ca = fs::weakly_canonical(a, ec);
    if (ec)
        return false;
    auto cb = fs::weakly_canonical(b, ec);
    if (ec)
        return false;
    return ca == cb;
}

std::string ProjectPaths::join(const std::string &folder, const std::string &name)
{
    return (fs::path(folder) / name).string();
}

} // namespace vantor
