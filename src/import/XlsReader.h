#pragma once

// Reads the values of every worksheet of an old Excel workbook (.xls, BIFF) through FreeXL:
// numbers, texts, dates as YYYY-MM-DD (with the time when the cell holds one). The same
// limits as for .xlsx files hold: a file over 200 MB, a sheet beyond ForeignSheet::MaxRows
// × MaxCols, a password-protected, damaged or not-BIFF file is refused with an ImportError.
// Merged ranges and column widths are not read.

#include "import/ForeignSheet.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

class XlsReader {
public:
    static constexpr std::uintmax_t MaxBytes = 200ull * 1024 * 1024;
    // FreeXL holds every declared cell of every sheet in memory at once.
    static constexpr std::uint64_t MaxDeclaredCells = 8ull * 1024 * 1024;

    static std::vector<ForeignSheet> read(const std::string &path);
};

} // namespace vantor
