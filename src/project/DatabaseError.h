#pragma once

// The one error type of the project database layer. It carries the SQLite
// result code (or 0 for errors the layer finds itself, such as an id out of
// the 16-bit range) so that callers can tell a damaged file from a full disk,
// and a message that is shown to the user as "the error's description".

#include <stdexcept>
#include <string>

namespace vantor {

class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const std::string &message, int code = 0, int systemErrorNumber = 0)
        : std::runtime_error(message), m_code(code), m_systemErrorNumber(systemErrorNumber)
    {
    }

    // SQLite primary or extended result code; 0 when the layer raised it itself.
    int code() const { return m_code; }
    // The errno value behind a failed file operation (a full disk, a read-only
    // folder), 0 when there is none.
    int systemErrorNumber() const { return m_systemErrorNumber; }

private:
    int m_code;
    int m_systemErrorNumber;
};

} // namespace vantor
