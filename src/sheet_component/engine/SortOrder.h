#pragma once

// The order in which a sort puts cell values: numbers first by value, then texts as
// Chinese users expect them (pinyin order, as a spreadsheet in a Chinese locale sorts,
// through ICU's collator), then error values, empty cells last. Descending reverses the
// order within the numbers and within the texts only, so that empty cells stay last.
// The sort is stable: rows with equal keys keep their order.

#include "sheet_component/engine/CellValue.h"

#include <string_view>
#include <vector>

namespace vantor {

class SortOrder {
public:
    // The permutation that sorts `keys`: element i is the index of the key that goes to place i.
    static std::vector<int> of(const std::vector<CellValue> &keys, bool ascending);
    // Negative, zero or positive as text `a` sorts before, with or after text `b`.
    static int compareText(std::string_view a, std::string_view b);
};

} // namespace vantor
