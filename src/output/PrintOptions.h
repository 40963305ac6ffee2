#pragma once

// The rules of the rows-per-page option of a detail print: the value is remembered per user in
// section "Print", key "Rows2" for the fixed-asset sheets 40 … 46 and "Rows1" for every other
// detail sheet, 25 unless set; a value is valid from 25 to 50. Typed text reads as its leading
// number ("30行" is 30).

#include <string>
#include <string_view>

namespace vantor {

class PrintOptions {
public:
    static constexpr int DefaultRows = 25;

    // "Print/Rows1" or "Print/Rows2".
    static std::string settingsKey(int sheetId);
    static bool isValid(int rows);
    // The leading whole number of the text (after leading spaces, with an optional sign); 0 when
    // there is none, and 0 for a number too large to be a row count.
    static int leadingNumber(std::string_view text);
    // The remembered value as stored, or the default when it is missing or out of range.
    static int remembered(const std::string &stored);
};

} // namespace vantor
