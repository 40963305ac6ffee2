#include "project/ProjectFilePair.h"

#include "common/AtomicFile.h"
#include "project/ProjectFileError.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vantor {

namespace {

[[noreturn]] void fail(const std::string &what, const std::string &path, int error)
{
    throw ProjectFileError(what + "“" + path + "”失败：" + describeFileError(error));
}

void removeQuietly(const std::string &path)
{
    std::error_code ec;
    fs::remove(path, ec);
}

void syncFolder(const std::string &file)
{
    fs::path folder = fs::path(file).parent_path();
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Keeps a second name for the current target so that it can be put back.
// A hard link costs nothing; where links are not possible, a copy.
bool keepPrevious(const std::string &target, const std::string &backup)
{
    removeQuietly(backup);
    std::error_code ec;
    if (!fs::exists(target, ec))
        return false;
    if (::link(target.c_str(), backup.c_str()) == 0)
        return true;
    ProjectFilePair::copyFile(target, backup);
    return true;
}

std::string tempName(const std::string &target, const char *suffix)
{
    return target + "." + std::to_string(::getpid()) + suffix;
}

} // namespace

void ProjectFilePair::syncFile(const std::string &path)
{
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        fail("打开文件", path, errno);
    if (::fsync(fd) != 0) {
        int error = errno;
        ::close(fd);
        fail("写入文件", path, error);
    }
    ::close(fd);
}

void ProjectFilePair::copyFile(const std::string &from, const std::string &to, bool flush)
{
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec)
        throw ProjectFileError("复制文件“" + from + "”到“" + to + "”失败：" + describeFileError(ec.value()));
    // The copy takes the source's permissions; a read-only project file must
    // still give a working copy that can be written.
    fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    if (flush)
        syncFile(to);
}

void ProjectFilePair::write(const std::string &databaseTarget, const Writer &writeDatabase,
                            const std::string &workbookTarget, const Writer &writeWorkbook)
{
    const std::string newDatabase = tempName(databaseTarget, ".new");
    const std::string newWorkbook = tempName(workbookTarget, ".new");
    const std::string oldDatabase = tempName(databaseTarget, ".old");
    const std::string oldWorkbook = tempName(workbookTarget, ".old");
    auto cleanUp = [&] {
        removeQuietly(newDatabase);
        removeQuietly(newWorkbook);
        removeQuietly(oldDatabase);
        removeQuietly(oldWorkbook);
    };

    try {
        removeQuietly(newDatabase);
        removeQuietly(newWorkbook);
        writeDatabase(newDatabase);
        syncFile(newDatabase);
        writeWorkbook(newWorkbook);
        syncFile(newWorkbook);
        keepPrevious(databaseTarget, oldDatabase);
        keepPrevious(workbookTarget, oldWorkbook);
    } catch (...) {
        cleanUp();
        throw;
    }

    if (std::rename(newDatabase.c_str(), databaseTarget.c_str()) != 0) {
        int error = errno;
        cleanUp();
        fail("保存文件", databaseTarget, error);
    }
    if (std::rename(newWorkbook.c_str(), workbookTarget.c_str()) != 0) {
        int error = errno;
        // Put the previous project file back so that the pair stays matched.
        std::error_code ec;
        if (fs::exists(oldDatabase, ec))
            std::rename(oldDatabase.c_str(), databaseTarget.c_str());
        else
            removeQuietly(databaseTarget);
        cleanUp();
        fail("保存文件", workbookTarget, error);
    }
    cleanUp();
    syncFolder(databaseTarget);
    syncFolder(workbookTarget);
}

} // namespace vantor
