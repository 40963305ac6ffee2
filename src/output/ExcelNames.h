#pragma once

// Worksheet names for an Excel workbook. Excel allows at most 31 characters (counted in UTF-16
// units), refuses the characters : \ / ? * [ ], a leading or trailing apostrophe, the reserved
// name "History" and two sheets whose names differ only in case. ExcelNames turns any wanted
// name into one Excel accepts, unique within the workbook being written.

#include <set>
#include <string>
#include <string_view>

namespace vantor {

class ExcelNames {
public:
    static constexpr int MaxLength = 31;

    // The name for the next worksheet: `wanted` without forbidden characters, cut to
    // MaxLength, and made unique with a suffix "(2)", "(3)" … when an earlier sheet has it.
    // An empty result becomes "Sheet" followed by the count of sheets named so far plus one.
    std::string take(std::string_view wanted);

private:
    std::set<std::string> m_used; // lower-cased
    int m_count = 0;
};

} // namespace vantor
