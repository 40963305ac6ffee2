#pragma once

// A prepared statement with bound parameters; finalized in the destructor.
// Parameters are numbered from 1 as in SQLite, columns from 0. Reading a
// 16-bit id checks its range, so a damaged or foreign file cannot smuggle an
// id that the rest of the program would truncate.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace vantor {

class Database;

class Statement {
public:
    Statement(Database &db, const std::string &sql);
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&) = delete;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int index, int64_t value);
    Statement &bind(int index, int value) { return bind(index, static_cast<int64_t>(value)); }
    Statement &bind(int index, std::string_view text);
    Statement &bind(int index, const char *text) { return bind(index, std::string_view(text)); }
    Statement &bind(int index, const std::string &text) { return bind(index, std::string_view(text)); }
    Statement &bind(int index, const std::optional<std::string> &text);
    Statement &bindNull(int index);

    // Binds every argument in order, from parameter 1.
    template <typename... Args> Statement &bindAll(const Args &...args)
    {
        int index = 0;
        (bind(++index, args), ...);
        return *this;
    }

    // Advances to the next row: true while a row is available, false when done.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    // Makes the statement ready to run again; bindings are kept.
    void reset();

    bool isNull(int column) const;
    int64_t columnInt64(int column) const;
    // A 16-bit value; NULL reads as 0; throws DatabaseError when out of range.
    int16_t columnInt16(int column) const;
    std::string columnText(int column) const;
    std::optional<std::string> columnOptionalText(int column) const;

private:
    Database *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

// Throws DatabaseError when value does not fit a 16-bit id or kind column.
int16_t checkedInt16(int64_t value, const char *what);

} // namespace vantor
