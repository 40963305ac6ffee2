#pragma once

// The one error type of the project database layer. It carries the SQLite
// result code (or 0 for errors the layer finds itself, such as an id out of
// the 16-bit range) so that callers can tell a damaged file from a full disk,
// and a message that is shown to the user as "the error's description": a
// Chinese sentence that names the file. SQLite's own English text is kept
// apart as detail(), for whoever looks into a fault.

#include <stdexcept>
#include <string>

namespace vantor {

class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const std::string &message, int code = 0, int systemErrorNumber = 0, std::string detail = {})
        : std::runtime_error(message), m_code(code), m_systemErrorNumber(systemErrorNumber), m_detail(std::move(detail))
    {
    }

    // SQLite primary or extended result code; 0 when the layer raised it itself.
    int code() const { return m_code; }
    // The errno value behind a failed file operation (a full disk, a read-only
    // folder), 0 when there is none.
    int systemErrorNumber() const { return m_systemErrorNumber; }
    const std::string &detail() const { return m_detail; }

private:
    int m_code;
    int m_systemErrorNumber;
    std::string m_detail;
};

} // namespace vantor
