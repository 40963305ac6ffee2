#include "project/Savepoint.h"

#include "project/Database.h"

#include <atomic>

namespace vantor {

namespace {
std::atomic<unsigned> g_counter{0};
}

Savepoint::Savepoint(Database &db) : m_db(db), m_name("vantor_sp" + std::to_string(++g_counter))
{
    m_db.exec("SAVEPOINT " + m_name);
}

Savepoint::~Savepoint()
{
    if (m_done)
        return;
    try {
        m_db.exec("ROLLBACK TO " + m_name);
        m_db.exec("RELEASE " + m_name);
    } catch (const DatabaseError &) {
        // Nothing sensible is left to do in a destructor; SQLite has already
        // rolled back if the connection failed.
    }
}

void Savepoint::commit()
{
    m_db.exec("RELEASE " + m_name);
    m_done = true;
}

} // namespace vantor
