#pragma once

// An open SQLite connection owned by one object. The connection is closed in the
// destructor; statements made from it must not outlive it. Every value reaches
// SQL through bound parameters (Statement), never through the statement text.

#include "project/DatabaseError.h"

#include <cstdint>
#include <string>

struct sqlite3;

namespace vantor {

class Statement;

class Database {
public:
    enum class Mode { ReadWrite, ReadWriteCreate, ReadOnly };

    // Opens the file; throws DatabaseError when it cannot be opened. SQLite
    // opens lazily, so a file that is not a database is only detected by the
    // first statement (see ProjectSchema::check).
    explicit Database(const std::string &path, Mode mode = Mode::ReadWrite);
    ~Database();

    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Runs statements without parameters (schema text, pragmas, savepoints).
    void exec(const std::string &sql);
    Statement prepare(const std::string &sql);

    // Number of rows changed by INSERT, UPDATE and DELETE since the connection
    // was opened; the session compares it with a baseline to know whether the
    // database holds unsaved changes.
    int64_t totalChanges() const;

    // Rewrites the file without free pages (VACUUM); no statement may be open.
    void compact() { exec("VACUUM"); }

    // Writes a consistent copy of the whole database to `path` (which must not
    // be opened by anyone else); the target is overwritten.
    void backupTo(const std::string &path);

    const std::string &path() const { return m_path; }
    sqlite3 *handle() const { return m_db; }

    // Throws a DatabaseError with the connection's current message when rc is
    // not a success code.
    void check(int rc, const char *what = nullptr) const;

private:
    sqlite3 *m_db = nullptr;
    std::string m_path;
};

} // namespace vantor
