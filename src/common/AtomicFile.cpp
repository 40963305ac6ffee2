#include "common/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {

namespace {

std::string folderOf(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string nextTempPath(const std::string &target)
{
    static std::atomic<unsigned> counter{0};
    return target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
}

std::string saveMessage(const std::string &path, int errorNumber)
{
    return "无法保存文件“" + path + "”：" + describeFileError(errorNumber);
}

} // namespace

std::string describeFileError(int errorNumber)
{
    switch (errorNumber) {
    case 0:
        return "未知错误";
    case EACCES:
    case EPERM:
        return "没有写入权限";
    case ENOSPC:
    case EDQUOT:
        return "磁盘空间不足";
    case EISDIR:
        return "该路径是一个文件夹";
    case ENOENT:
        return "文件夹不存在";
    case ENOTDIR:
        return "路径中的某一部分不是文件夹";
    case EROFS:
        return "磁盘是只读的";
    case ENAMETOOLONG:
        return "文件名太长";
    case EFBIG:
        return "文件太大";
    case EIO:
        return "磁盘读写错误";
    case EBUSY:
    case ETXTBSY:
        return "文件正被占用";
    case ELOOP:
        return "路径中有循环的符号链接";
    case EMFILE:
    case ENFILE:
        return "打开的文件太多";
    default:
        return "系统错误（代码" + std::to_string(errorNumber) + "）";
    }
}

AtomicFile::AtomicFile(std::string targetPath) : m_targetPath(std::move(targetPath))
{
    if (m_targetPath.empty() || m_targetPath.back() == '/')
        throw AtomicFileError(saveMessage(m_targetPath, EISDIR), m_targetPath, EISDIR);

    struct stat targetInfo {};
    const bool targetExists = ::stat(m_targetPath.c_str(), &targetInfo) == 0;
    if (targetExists && S_ISDIR(targetInfo.st_mode))
        throw AtomicFileError(saveMessage(m_targetPath, EISDIR), m_targetPath, EISDIR);

    // O_EXCL with a fresh name per attempt: never reuse a file someone else made.
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_tempPath = nextTempPath(m_targetPath);
        m_fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            break;
        if (errno != EEXIST) {
            const int error = errno;
            m_tempPath.clear();
            throw AtomicFileError(saveMessage(m_targetPath, error), m_targetPath, error);
        }
    }
    if (m_fd < 0) {
        m_tempPath.clear();
        throw AtomicFileError(saveMessage(m_targetPath, EEXIST), m_targetPath, EEXIST);
    }
    // Replacing a file keeps its permissions; a failure here is not worth refusing the save.
    if (targetExists)
        (void)::fchmod(m_fd, targetInfo.st_mode & 07777);
}

AtomicFile::~AtomicFile()
{
    discard();
}

void AtomicFile::fail(int errorNumber)
{
    discard();
    throw AtomicFileError(saveMessage(m_targetPath, errorNumber), m_targetPath, errorNumber);
}

void AtomicFile::write(const void *data, std::size_t size)
{
    if (m_fd < 0)
        throw AtomicFileError(saveMessage(m_targetPath, EBADF), m_targetPath, EBADF);
    const char *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t written = ::write(m_fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        if (written == 0)
            fail(EIO);
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
}

void AtomicFile::commit()
{
    if (m_committed)
        return;
    if (m_fd < 0)
        throw AtomicFileError(saveMessage(m_targetPath, EBADF), m_targetPath, EBADF);
    if (::fsync(m_fd) != 0)
        fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        fail(errno);
    if (::rename(m_tempPath.c_str(), m_targetPath.c_str()) != 0)
        fail(errno);
    m_committed = true;
    m_tempPath.clear();

    // The rename is durable only once the folder entry is on disk. The new content
    // is complete either way, so a folder that cannot be synced is no failure.
    const std::string folder = folderOf(m_targetPath);
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
}

void AtomicFile::discard() noexcept
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_committed && !m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
}

void AtomicFile::writeFile(const std::string &targetPath, std::string_view data)
{
    AtomicFile file(targetPath);
    file.write(data);
    file.commit();
}

} // namespace vantor
