#pragma once

// Reads the cached values of every worksheet of an Excel workbook (.xlsx): numbers,
// texts (shared and inline strings), booleans as TRUE/FALSE, error values as their text,
// dates as text (YYYY-MM-DD, with the time when the format shows one), merged ranges and
// column widths. Formulas are not read, only their last results.
//
// The container is read with libzip and the XML with expat. A hostile or damaged file is
// refused with an ImportError: more than 200 MB uncompressed in the parts read, a value
// beyond ForeignSheet::MaxRows × MaxCols, a document type or entity declaration in any
// part, a missing or unreadable part, or a broken archive.

#include "import/ForeignSheet.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

class XlsxReader {
public:
    static constexpr std::uint64_t MaxUncompressedBytes = 200ull * 1024 * 1024;

    static std::vector<ForeignSheet> read(const std::string &path,
                                          std::uint64_t maxUncompressedBytes = MaxUncompressedBytes);

    // "A1" style reference to 0-based column and row; false when it is not one.
    static bool parseReference(std::string_view ref, int &col, int &row);
    // An Excel serial day number (1900 or 1904 system) as YYYY-MM-DD[ hh:mm:ss].
    static std::string serialDateText(double serial, bool date1904, bool withTime);
    // Whether a number format code shows a date or a time.
    static bool isDateFormat(std::string_view code);
};

} // namespace vantor
