#pragma once

// Groups the statements of one store operation: everything between
// construction and commit() becomes visible together, and leaving the scope
// without commit() (an exception) rolls all of it back. Savepoints nest, so
// an operation can call another operation that has its own Savepoint.

#include <string>

namespace vantor {

class Database;

class Savepoint {
public:
    explicit Savepoint(Database &db);
    ~Savepoint();
    Savepoint(const Savepoint &) = delete;
    Savepoint &operator=(const Savepoint &) = delete;

    void commit();

private:
    Database &m_db;
    std::string m_name;
    bool m_done = false;
};

} // namespace vantor
