#pragma once

// A file that cannot be read for the import, with the message for the user in Chinese.
// Nothing has changed when it is thrown.

#include <stdexcept>
#include <string>

namespace vantor {

class ImportError : public std::runtime_error {
public:
    explicit ImportError(const std::string &message) : std::runtime_error(message) {}
};

} // namespace vantor
