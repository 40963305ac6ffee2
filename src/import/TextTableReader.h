#pragma once

// Reads a text table: comma-separated values (quotes as in RFC 4180, fields may hold
// line breaks) or tab-separated lines. The text is UTF-8 (a byte-order mark is skipped)
// or, when it is not valid UTF-8, GB18030. Fields are taken as typed; one that reads as a
// number is shown as a number.

#include "import/ForeignSheet.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

class TextTableReader {
public:
    static constexpr std::uintmax_t MaxBytes = 200ull * 1024 * 1024;

    // The sheet is named after the file; `.csv` files are split at commas unless their first
    // line holds tabs and no comma, every other file at tabs.
    static ForeignSheet read(const std::string &path);
    // The same for text already in memory.
    static ForeignSheet parse(std::string_view bytes, char separator, const std::string &name);

    // The text as UTF-8: itself when valid UTF-8 (without a byte-order mark), else decoded
    // from GB18030. Throws ImportError when neither fits.
    static std::string toUtf8(std::string_view bytes);
};

} // namespace vantor
