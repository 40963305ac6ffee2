#include "project/Database.h"

#include "project/Statement.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <sqlite3.h>

namespace vantor {

namespace {

int openFlags(Database::Mode mode)
{
    switch (mode) {
    case Database::Mode::ReadOnly:
        return SQLITE_OPEN_READONLY;
    case Database::Mode::ReadWriteCreate:
        return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    case Database::Mode::ReadWrite:
        break;
    }
    return SQLITE_OPEN_READWRITE;
}

} // namespace

Database::Database(const std::string &path, Mode mode) : m_path(path)
{
    // The program has one thread; a connection lock taken by every column read would
    // cost a fifth of a summation over a large project.
    int rc = sqlite3_open_v2(path.c_str(), &m_db, openFlags(mode) | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        const int systemError = m_db ? sqlite3_system_errno(m_db) : 0;
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw DatabaseError(message, rc, systemError);
    }
    sqlite3_extended_result_codes(m_db, 1);
    // A project file is a document anyone can craft: the schema it carries must
    // not be able to run anything. Defensive mode forbids writing the schema
    // and pages directly, functions named in the schema must be harmless, no
    // extension can be loaded, and the program uses no triggers or views of
    // its own, so those are switched off altogether.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    // A second program touching the working copy is not expected; a short wait
    // only smooths over a virus scanner or backup tool holding the file.
    sqlite3_busy_timeout(m_db, 2000);
}

Database::~Database()
{
    // close_v2 defers the close until the last statement is finalized, so a
    // statement that outlives the connection by mistake cannot crash here.
    sqlite3_close_v2(m_db);
}

void Database::check(int rc, const char *what) const
{
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE)
        return;
    std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
    if (what && *what)
        message = std::string(what) + ": " + message;
    throw DatabaseError(message, rc, m_db ? sqlite3_system_errno(m_db) : 0);
}

void Database::exec(const std::string &sql)
{
    char *error = nullptr;
    int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw DatabaseError(message, rc);
    }
}

Statement Database::prepare(const std::string &sql)
{
    return Statement(*this, sql);
}

int64_t Database::totalChanges() const
{
    return sqlite3_total_changes64(m_db);
}

void Database::backupTo(const std::string &path)
{
    // Made first by hand: when the folder cannot take it (read-only, full),
    // SQLite's own attempts hide the cause the user should be told.
    if (path != ":memory:") {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            const int error = errno;
            throw DatabaseError(sqlite3_errstr(SQLITE_CANTOPEN), SQLITE_CANTOPEN, error);
        }
        ::close(fd);
    }
    Database target(path, Mode::ReadWriteCreate);
    // The copy is a new file that nobody reads before it is complete: it needs
    // no journal, and whoever needs it on the disk flushes it afterwards
    // (a save of the project, before renaming it into place).
    target.exec("PRAGMA journal_mode = OFF");
    target.exec("PRAGMA synchronous = OFF");
    sqlite3_backup *backup = sqlite3_backup_init(target.m_db, "main", m_db, "main");
    if (!backup)
        target.check(sqlite3_errcode(target.m_db));
    int rc = sqlite3_backup_step(backup, -1);
    const int systemError = sqlite3_system_errno(target.m_db);
    int finishRc = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw DatabaseError(sqlite3_errstr(rc), rc, (rc & 0xFF) == SQLITE_FULL ? ENOSPC : systemError);
    target.check(finishRc);
}

} // namespace vantor
