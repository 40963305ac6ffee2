#pragma once

// The recovery copy of the open project: while it has unsaved changes the
// program copies the working project file and the workbook into a folder of
// the user's own every two minutes, so that a crash loses at most that much
// work. A normal close removes the copy; a copy found at start is offered for
// restoring as an unsaved project.
//
// The folder holds "recovery-N.mdb", "recovery-N.cll" and an index
// "recovery.txt" that names the generation N, the user's project file and the
// project's name.
// A new copy is written under the next N and becomes the copy only when the
// index is replaced (atomically); the files of other generations are removed
// afterwards. A crash during a write therefore leaves the previous copy.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vantor {

class Database;

struct RecoveredProject {
    std::string databasePath; // the copy of the working project file
    std::string workbookPath; // the copy of the workbook
    std::string projectPath;  // the user's file it belongs to; empty when never saved
    std::string projectName;  // 项目名称 of the project, for the question whether to restore it
};

class RecoveryStore {
public:
    static constexpr int kIntervalSeconds = 120;

    explicit RecoveryStore(std::string folder);

    // Writes a new copy: the database through SQLite's backup, the workbook by
    // `saveWorkbook` (given the path to write). Throws on failure (the
    // previous copy stays).
    void write(Database &database, const std::function<void(const std::string &path)> &saveWorkbook,
               const std::string &projectPath, const std::string &projectName = {});

    // The copy left in the folder, when there is a complete one.
    std::optional<RecoveredProject> find() const;

    // Removes every copy (a normal close, or the user declined to restore).
    void clear();

    const std::string &folder() const { return m_folder; }

private:
    std::string indexPath() const;
    std::string generationPath(uint64_t generation, const char *extension) const;
    std::optional<uint64_t> currentGeneration() const;

    std::string m_folder;
};

} // namespace vantor
