#include "project/Database.h"

#include "project/Statement.h"

#include "common/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

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

std::string fileName(const std::string &path)
{
    return path.empty() || path == ":memory:" ? std::string("内存中的数据") : "文件“" + path + "”";
}

// The cause a system error adds, when there is one.
std::string because(int systemError)
{
    return systemError ? "：" + describeFileError(systemError) : std::string();
}

// What a failed SQLite call means for the user, naming the file it was about.
std::string describe(int rc, int systemError, const std::string &path)
{
    const std::string file = fileName(path);
    switch (rc & 0xFF) {
    case SQLITE_READONLY:
        if (rc == SQLITE_READONLY_DBMOVED)
            return file + "已被其他程序移动或删除，不能再写入";
        return file + "是只读的，不能写入";
    case SQLITE_FULL:
        return "磁盘空间不足，不能写入" + file;
    case SQLITE_CANTOPEN:
        return "不能打开" + file + because(systemError);
    case SQLITE_IOERR:
        return "读写" + file + "时出错" + because(systemError);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return file + "已损坏或不是项目数据文件";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return file + "正被其他程序使用";
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return "没有权限使用" + file;
    case SQLITE_NOMEM:
        return "内存不足，不能处理" + file;
    case SQLITE_TOOBIG:
        return "数据太大，不能写入" + file;
    case SQLITE_CONSTRAINT:
        return file + "中的记录重复或不完整";
    case SQLITE_MISMATCH:
        return file + "中的数据类型不对";
    default:
        return "使用" + file + "时出错（数据库错误代码" + std::to_string(rc) + "）";
    }
}

} // namespace

Database::Database(const std::string &path, Mode mode) : m_path(path)
{
    // The program has one thread; a connection lock taken by every column read would
    // cost a fifth of a summation over a large project.
    int rc = sqlite3_open_v2(path.c_str(), &m_db, openFlags(mode) | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string detail = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        const int systemError = m_db ? sqlite3_system_errno(m_db) : 0;
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw DatabaseError(describe(rc, systemError, path), rc, systemError, detail);
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
    std::string detail = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
    if (what && *what)
        detail = std::string(what) + ": " + detail;
    const int systemError = m_db ? sqlite3_system_errno(m_db) : 0;
    throw DatabaseError(describe(rc, systemError, m_path), rc, systemError, detail);
}

void Database::exec(const std::string &sql)
{
    char *error = nullptr;
    int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string detail = error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        const int systemError = sqlite3_system_errno(m_db);
        throw DatabaseError(describe(rc, systemError, m_path), rc, systemError, detail);
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
            throw DatabaseError(describe(SQLITE_CANTOPEN, error, path), SQLITE_CANTOPEN, error);
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
    if (rc != SQLITE_DONE) {
        const int error = (rc & 0xFF) == SQLITE_FULL ? ENOSPC : systemError;
        throw DatabaseError(describe(rc, error, path), rc, error, sqlite3_errstr(rc));
    }
    target.check(finishRc);
}

} // namespace vantor
