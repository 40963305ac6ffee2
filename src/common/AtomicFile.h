#pragma once

// Writes a file so that readers only ever see the old content or the complete new
// content. The data goes to a temporary file in the target's folder; commit()
// flushes it to disk, renames it over the target and syncs the folder. Any failure
// throws AtomicFileError and leaves the target untouched; the temporary file is
// removed when the object is destroyed without a successful commit.
//
//     AtomicFile file(path);
//     file.write(bytes);
//     file.commit();

#include <stdexcept>
#include <string>
#include <string_view>

namespace vantor {

class AtomicFileError : public std::runtime_error {
public:
    AtomicFileError(const std::string &message, std::string path, int errorNumber)
        : std::runtime_error(message), m_path(std::move(path)), m_errorNumber(errorNumber)
    {
    }

    const std::string &path() const { return m_path; }
    // The errno value of the failing system call, 0 when none applies.
    int errorNumber() const { return m_errorNumber; }

private:
    std::string m_path;
    int m_errorNumber;
};

class AtomicFile {
public:
    // Creates the temporary file beside targetPath. Throws AtomicFileError when the
    // target is a folder or the folder cannot be written.
    explicit AtomicFile(std::string targetPath);
    ~AtomicFile();

    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    void write(const void *data, std::size_t size);
    void write(std::string_view data) { write(data.data(), data.size()); }

    // Flushes, renames over the target and syncs the folder. After a failure the
    // object is discarded: the target is as it was and the temporary file is gone.
    void commit();
    // Gives up: removes the temporary file. Harmless after commit().
    void discard() noexcept;

    const std::string &targetPath() const { return m_targetPath; }
    const std::string &tempPath() const { return m_tempPath; }
    bool isCommitted() const { return m_committed; }

    // Convenience: the whole content in one call.
    static void writeFile(const std::string &targetPath, std::string_view data);

private:
    [[noreturn]] void fail(int errorNumber);

    std::string m_targetPath;
    std::string m_tempPath;
    int m_fd = -1;
    bool m_committed = false;
};

// A short Chinese description of an errno value for messages shown to the user
// ("没有写入权限", "磁盘空间不足" …), falling back to the system's text.
std::string describeFileError(int errorNumber);

} // namespace vantor
