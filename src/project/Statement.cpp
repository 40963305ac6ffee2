#include "project/Statement.h"

#include "project/Database.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <sqlite3.h>

namespace vantor {

int16_t checkedInt16(int64_t value, const char *what)
{
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        throw DatabaseError(std::string(what) + "超出范围：" + std::to_string(value));
    return static_cast<int16_t>(value);
}

Statement::Statement(Database &db, const std::string &sql) : m_db(&db)
{
    const char *tail = nullptr;
    int rc = sqlite3_prepare_v2(db.handle(), sql.c_str(), static_cast<int>(sql.size() + 1), &m_stmt, &tail);
    db.check(rc);
    if (!m_stmt)
        throw DatabaseError("数据库语句为空");
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept : m_db(other.m_db), m_stmt(other.m_stmt)
{
    other.m_stmt = nullptr;
}

Statement &Statement::bind(int index, int64_t value)
{
    m_db->check(sqlite3_bind_int64(m_stmt, index, value));
    return *this;
}

Statement &Statement::bind(int index, std::string_view text)
{
    m_db->check(sqlite3_bind_text64(m_stmt, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
    return *this;
}

Statement &Statement::bind(int index, const std::optional<std::string> &text)
{
    return text ? bind(index, std::string_view(*text)) : bindNull(index);
}

Statement &Statement::bindNull(int index)
{
    m_db->check(sqlite3_bind_null(m_stmt, index));
    return *this;
}

bool Statement::step()
{
    int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The statement's own error code is more precise than the connection's
    // after a failed step; reset so that the statement can be reused.
    sqlite3_reset(m_stmt);
    m_db->check(rc);
    return false;
}

void Statement::run()
{
    while (step()) {
    }
    reset();
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

int64_t Statement::columnInt64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

int16_t Statement::columnInt16(int column) const
{
    const char *name = sqlite3_column_name(m_stmt, column);
    const std::string what = name ? name : "id";
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return 0;
    case SQLITE_INTEGER:
        return checkedInt16(columnInt64(column), what.c_str());
    case SQLITE_FLOAT: {
        double v = sqlite3_column_double(m_stmt, column);
        if (v != std::trunc(v) || std::abs(v) > 1e9)
            break;
        return checkedInt16(static_cast<int64_t>(v), what.c_str());
    }
    default: {
        // Text or blob in an id column comes only from a foreign or damaged file.
        std::string text = columnText(column);
        int64_t value = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size() || text.empty())
            break;
        return checkedInt16(value, what.c_str());
    }
    }
    throw DatabaseError("字段" + what + "不是整数");
}

std::string Statement::columnText(int column) const
{
    const unsigned char *text = sqlite3_column_text(m_stmt, column);
    if (!text)
        return {};
    return std::string(reinterpret_cast<const char *>(text), static_cast<size_t>(sqlite3_column_bytes(m_stmt, column)));
}

std::optional<std::string> Statement::columnOptionalText(int column) const
{
    if (isNull(column))
        return std::nullopt;
    return columnText(column);
}

} // namespace vantor
