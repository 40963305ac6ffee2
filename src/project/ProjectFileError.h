#pragma once

// A project file or its workbook could not be copied or written. what() is a
// Chinese sentence that names the file and the cause.

#include <stdexcept>
#include <string>

namespace vantor {

class ProjectFileError : public std::runtime_error {
public:
    explicit ProjectFileError(const std::string &message, int errorNumber = 0)
        : std::runtime_error(message), m_errorNumber(errorNumber)
    {
    }

    // The errno value of the failing system call, 0 when none applies.
    int errorNumber() const { return m_errorNumber; }

private:
    int m_errorNumber;
};

} // namespace vantor
