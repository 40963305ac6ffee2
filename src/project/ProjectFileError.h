#pragma once

// A project file or its workbook could not be copied or written. what() is a
// Chinese sentence that names the file and the cause.

#include <stdexcept>
#include <string>

namespace vantor {

class ProjectFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vantor
