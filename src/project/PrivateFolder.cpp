#include "project/PrivateFolder.h"

#include "common/AtomicFile.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vantor {

namespace {

std::string quoted(const std::string &path)
{
    return "“" + path + "”";
}

[[noreturn]] void refuse(const std::string &path, const char *why)
{
    throw PrivateFolderError(quoted(path) + why + "为安全起见，本程序不使用它。请删除或改正它后重试。");
}

// Refuses what another account could have planted at `path`.
void checkOwned(const std::string &path, const struct stat &st)
{
    if (S_ISLNK(st.st_mode))
        refuse(path, "是一个符号链接。");
    if (st.st_uid != ::geteuid())
        refuse(path, "属于其他用户。");
}

// The process id in "<prefix><pid>-XXXXXX", or 0 when the name has another form.
pid_t pidInName(const std::string &name, const std::string &prefix)
{
    if (name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    const size_t dash = name.find('-', prefix.size());
    if (dash == std::string::npos || dash == prefix.size() || dash - prefix.size() > 9 || name.size() != dash + 7)
        return 0;
    pid_t pid = 0;
    for (size_t i = prefix.size(); i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

} // namespace

void PrivateFolder::ensure(const std::string &path)
{
    if (path.empty())
        throw PrivateFolderError("找不到当前用户的文件夹，请检查HOME和XDG_RUNTIME_DIR环境变量。");
    // Missing folders are made from the top down, each private; folders that
    // exist above the last one are the user's business and stay as they are.
    fs::path partial;
    for (const fs::path &part : fs::path(path)) {
        if (part.empty())
            continue;
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            throw PrivateFolderError("无法建立文件夹" + quoted(partial.string()) + "：" + describeFileError(errno));
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        throw PrivateFolderError("无法使用文件夹" + quoted(path) + "：" + describeFileError(errno));
    checkOwned(path, st);
    if (!S_ISDIR(st.st_mode))
        refuse(path, "不是文件夹。");
    if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0)
        throw PrivateFolderError("无法把文件夹" + quoted(path) + "设为仅本用户可用：" + describeFileError(errno));
}

void PrivateFolder::checkEntry(const std::string &path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return;
        throw PrivateFolderError("无法使用" + quoted(path) + "：" + describeFileError(errno));
    }
    checkOwned(path, st);
}

PrivateFolder::PrivateFolder(const std::string &base, const std::string &prefix)
{
    std::string pattern = (fs::path(base) / (prefix + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        throw PrivateFolderError("无法在" + quoted(base) + "中建立工作文件夹：" + describeFileError(errno));
    m_path = pattern;
}

PrivateFolder::~PrivateFolder()
{
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

int PrivateFolder::removeStale(const std::string &base, const std::string &prefix)
{
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(base, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const pid_t pid = pidInName(it->path().filename().string(), prefix);
        if (pid <= 0 || pid == ::getpid())
            continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        // A process that lives (also one of another user: EPERM) keeps its folder.
        if (::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        std::error_code removeError;
        fs::remove_all(it->path(), removeError);
        removed += removeError ? 0 : 1;
    }
    return removed;
}

} // namespace vantor
