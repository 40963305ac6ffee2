#include "project/ProjectFilePair.h"

#include "common/AtomicFile.h"
#include "project/DatabaseError.h"
#include "project/ProjectFileError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace vantor {

namespace {

[[noreturn]] void fail(const std::string &what, const std::string &path, int error)
{
    throw ProjectFileError(what + "“" + path + "”失败：" + describeFileError(error), error);
}

// Runs a writer on the temporary file of `target` and flushes it. A failure of
// the disk (full, read-only, no permission) is told with the user's file name,
// not the temporary one.
void writeTemp(const ProjectFilePair::Writer &writer, const std::string &temp, const std::string &target)
{
    int error = 0;
    try {
        writer(temp);
        ProjectFilePair::syncFile(temp);
        return;
    } catch (const ProjectFileError &e) {
        error = e.errorNumber();
        if (!error)
            throw;
    } catch (const AtomicFileError &e) {
        error = e.errorNumber();
        if (!error)
            throw;
    } catch (const DatabaseError &e) {
        error = e.systemErrorNumber();
        if (!error)
            throw;
    }
    fail("保存文件", target, error);
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

constexpr const char *kMarkerHeader = "vantor-pair-saving\n";

std::string tempName(const std::string &target, const char *suffix, long pid)
{
    return target + "." + std::to_string(pid) + suffix;
}

std::string markerName(const std::string &databaseTarget)
{
    return databaseTarget + ".saving";
}

// The process id a marker names, or nothing when the file is not a marker.
std::optional<long> markerPid(const std::string &marker)
{
    std::ifstream in(marker, std::ios::binary);
    std::string header, digits;
    if (!std::getline(in, header) || header + "\n" != kMarkerHeader || !std::getline(in, digits))
        return std::nullopt;
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stol(digits);
}

// Removes what a save cut off before its commit point leaves beside a
// target: "<target>.<pid>.new" and ".old" (with a journal of the copy) and the
// marker's own temporary file.
void removeLeftovers(const std::string &target)
{
    static const std::regex leftover(R"((\d+\.(new|old)(-journal)?|saving\.tmp-\d+-\d+))");
    const fs::path path(target);
    const std::string prefix = path.filename().string() + ".";
    std::error_code ec;
    fs::directory_iterator it(path.parent_path().empty() ? fs::path(".") : path.parent_path(), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            std::regex_match(name.substr(prefix.size()), leftover))
            removeQuietly(it->path().string());
    }
}

void step(int number)
{
    if (ProjectFilePair::stepHook)
        ProjectFilePair::stepHook(number);
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
    // A loop of our own rather than std::filesystem::copy_file, which reports
    // a full disk as an input/output error.
    auto failCopy = [&](int error) {
        throw ProjectFileError("复制文件“" + from + "”到“" + to + "”失败：" + describeFileError(error), error);
    };
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        failCopy(errno);
    // The copy is always writable for its owner: a read-only project file must
    // still give a working copy that can be written.
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        failCopy(error);
    }
    int error = 0;
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = got < 0 ? errno : 0;
            break;
        }
        for (ssize_t done = 0; done < got && !error;) {
            const ssize_t put = ::write(out, buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0 && errno != EINTR)
                error = errno;
            done += put > 0 ? put : 0;
        }
        if (error)
            break;
    }
    if (!error && flush && ::fsync(out) != 0)
        error = errno;
    if (::close(out) != 0 && !error)
        error = errno;
    ::close(in);
    if (error) {
        removeQuietly(to);
        failCopy(error);
    }
}

std::function<void(int)> ProjectFilePair::stepHook;

void ProjectFilePair::settle(const std::string &databaseTarget, const std::string &workbookTarget)
{
    const std::string marker = markerName(databaseTarget);
    std::error_code ec;
    if (fs::exists(marker, ec)) {
        auto pid = markerPid(marker);
        if (!pid)
            return; // not ours: leave everything as it is
        for (const std::string &target : {databaseTarget, workbookTarget}) {
            const std::string temp = tempName(target, ".new", *pid);
            if (fs::exists(temp, ec) && std::rename(temp.c_str(), target.c_str()) != 0)
                fail("完成上次中断的保存，保存文件", target, errno);
        }
        syncFolder(databaseTarget);
        removeQuietly(marker);
        syncFolder(databaseTarget);
    }
    removeLeftovers(databaseTarget);
    removeLeftovers(workbookTarget);
}

void ProjectFilePair::write(const std::string &databaseTarget, const Writer &writeDatabase,
                            const std::string &workbookTarget, const Writer &writeWorkbook)
{
    settle(databaseTarget, workbookTarget);

    const long pid = ::getpid();
    const std::string newDatabase = tempName(databaseTarget, ".new", pid);
    const std::string newWorkbook = tempName(workbookTarget, ".new", pid);
    const std::string oldDatabase = tempName(databaseTarget, ".old", pid);
    const std::string oldWorkbook = tempName(workbookTarget, ".old", pid);
    const std::string marker = markerName(databaseTarget);
    auto cleanUp = [&] {
        removeQuietly(newDatabase);
        removeQuietly(newWorkbook);
        removeQuietly(oldDatabase);
        removeQuietly(oldWorkbook);
    };

    try {
        removeQuietly(newDatabase);
        removeQuietly(newWorkbook);
        writeTemp(writeDatabase, newDatabase, databaseTarget);
        step(1);
        writeTemp(writeWorkbook, newWorkbook, workbookTarget);
        step(2);
        keepPrevious(databaseTarget, oldDatabase);
        keepPrevious(workbookTarget, oldWorkbook);
        step(3);
        // The commit point: from here on the new pair is the saved project.
        AtomicFile::writeFile(marker, std::string(kMarkerHeader) + std::to_string(pid) + "\n");
        step(4);
    } catch (const AtomicFileError &e) {
        cleanUp();
        fail("保存文件", databaseTarget, e.errorNumber());
    } catch (...) {
        cleanUp();
        throw;
    }

    if (std::rename(newDatabase.c_str(), databaseTarget.c_str()) != 0) {
        int error = errno;
        removeQuietly(marker);
        cleanUp();
        fail("保存文件", databaseTarget, error);
    }
    step(5);
    if (std::rename(newWorkbook.c_str(), workbookTarget.c_str()) != 0) {
        int error = errno;
        // Put the previous project file back so that the pair stays matched.
        std::error_code ec;
        if (fs::exists(oldDatabase, ec))
            std::rename(oldDatabase.c_str(), databaseTarget.c_str());
        else
            removeQuietly(databaseTarget);
        removeQuietly(newWorkbook);
        removeQuietly(marker);
        cleanUp();
        fail("保存文件", workbookTarget, error);
    }
    step(6);
    syncFolder(databaseTarget);
    syncFolder(workbookTarget);
    removeQuietly(marker);
    step(7);
    cleanUp();
    syncFolder(databaseTarget);
}

} // namespace vantor
