#pragma once

// Folders that belong to the user running the program and to nobody else: the
// per-user data folder, the runtime folder that holds the lock and the socket,
// and the private folder each running program keeps its working copies in.
// A path the program is about to use that is a symbolic link or belongs to
// another user is refused, never followed: another account could otherwise
// plant it first and read or replace the user's work.

#include <stdexcept>
#include <string>

namespace vantor {

// what() is a Chinese sentence that names the path and says what is wrong.
class PrivateFolderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PrivateFolder {
public:
    // Makes `path` (and any missing folder above it) with mode 0700. The folder
    // itself must be a real folder owned by the user; one that others may enter
    // is narrowed to 0700. Throws PrivateFolderError.
    static void ensure(const std::string &path);
    // An entry the program is about to create or take over inside a private
    // folder (a lock file, a socket): a missing one is fine; a link or one
    // owned by another user throws PrivateFolderError.
    static void checkEntry(const std::string &path);

    // Makes <base>/<prefix><pid>-XXXXXX (mkdtemp: a new folder, 0700, so base
    // may be shared, like the temporary folder).
    PrivateFolder(const std::string &base, const std::string &prefix);
    // Removes the folder with everything in it.
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder &) = delete;
    PrivateFolder &operator=(const PrivateFolder &) = delete;

    const std::string &path() const { return m_path; }

    // Removes the <prefix><pid>-* folders in base that belong to this user and
    // whose process has ended (left by a crash or a kill). Returns how many.
    static int removeStale(const std::string &base, const std::string &prefix);

private:
    std::string m_path;
};

} // namespace vantor
