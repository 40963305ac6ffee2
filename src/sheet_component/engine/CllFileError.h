#pragma once

// The one error the workbook file code throws: a file that cannot be read, is not
// a workbook, comes from a newer program, is damaged, or cannot be saved. what()
// is a complete Chinese sentence that a window can show as it stands; kind()
// lets callers tell the cases apart.

#include <stdexcept>
#include <string>

namespace vantor {

class CllFileError : public std::runtime_error {
public:
    enum class Kind {
        Io,          // the file cannot be opened or read
        TooShort,    // shorter than any workbook file can be
        NotWorkbook, // wrong magic: some other kind of file
        NewerVersion,
        Damaged, // truncated, checksum mismatch, inconsistent content
        SaveFailed,
    };

    CllFileError(Kind kind, const std::string &message) : std::runtime_error(message), m_kind(kind) {}

    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

} // namespace vantor
