#pragma once

// Reads a number as people write it in ledgers and type it into money columns: a yuan sign
// (¥ or ￥) in front or 元 behind, thousands separators (comma, space, thin space, full-width
// comma), a negative written as (1,500.00), -1,500.00 or 1,500.00-, full-width digits, signs
// and point, and in rate columns a trailing percent sign. The result is the plain decimal
// text the sheet stores ("-1500.00"), so nothing is lost to a binary round trip; anything
// else (letters, two signs, a separator in the fraction, misplaced groups) is not a number.

#include <optional>
#include <string>
#include <string_view>

namespace vantor {

class WrittenAmount {
public:
    // The plain decimal text `written` stands for; nothing when it is not a number.
    // With `percent`, "12.5%" reads as 12.5 (rate columns hold the percent figure).
    static std::optional<std::string> decimalText(std::string_view written, bool percent = false);
};

} // namespace vantor
