#pragma once

// Dates in the project database are ISO "yyyy-mm-dd" text. Reading refuses
// anything that is not a real calendar date, so a damaged value reads as "no
// date" instead of an impossible one.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

class IsoDate {
public:
    static std::string format(std::chrono::year_month_day date);
    static std::optional<std::chrono::year_month_day> parse(std::string_view text);
    static std::chrono::year_month_day today();
};

} // namespace vantor
