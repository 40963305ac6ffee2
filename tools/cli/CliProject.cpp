#include "CliProject.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vantor::cli {

std::string programFolder()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path().string();
    return exe.parent_path().string();
}

namespace {
constexpr const char *kScratchPrefix = "vantor-cli-work-";

std::string scratchBase()
{
    const std::string base = fs::temp_directory_path().string();
    PrivateFolder::removeStale(base, kScratchPrefix);
    return base;
}
} // namespace

ScratchFolder::ScratchFolder() : PrivateFolder(scratchBase(), kScratchPrefix) {}

OpenProject::OpenProject(std::ostream &err)
    : prompter(err), projectWorkbook(workbook), session({programFolder(), scratch.path()}, projectWorkbook)
{
}

bool endsWithMdb(const std::string &path)
{
    if (path.size() < 4)
        return false;
    std::string ext = path.substr(path.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".mdb";
}

std::string checkedProjectPath(const std::string &path)
{
    if (!endsWithMdb(path))
        throw CliUsageError("项目文件的扩展名应为 .mdb：" + path);
    return path;
}

std::unique_ptr<OpenProject> openProject(const std::string &path, const CliArgs &args, CliStreams &io)
{
    auto project = std::make_unique<OpenProject>(io.err);
    const bool hasPassword = args.has("password");
    const std::string password = hasPassword ? args.required("password") : std::string();
    const LoginFunction login = [&](const PasswordCheck &accept) {
        if (!hasPassword) {
            io.err << "项目文件设有密码，请用 --password 给出密码。\n";
            return false;
        }
        if (accept(password))
            return true;
        io.err << "安全验证: 无效的密码。\n";
        return false;
    };
    if (project->session.openProjectFile(path, project->prompter, login) != CommandResult::Done)
        return nullptr;
    return project;
}

bool save(OpenProject &project, CliStreams &io)
{
    if (project.session.saveProject(project.prompter) != CommandResult::Done) {
        io.err << "项目没有保存。\n";
        return false;
    }
    return true;
}

} // namespace vantor::cli
