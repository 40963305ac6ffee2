#include "project/IsoDate.h"

#include <charconv>
#include <cstdio>

namespace vantor {

std::string IsoDate::format(std::chrono::year_month_day date)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return buffer;
}

std::optional<std::chrono::year_month_day> IsoDate::parse(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    auto number = [&](size_t from, size_t count) -> std::optional<int> {
        int value = 0;
        for (size_t i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    auto y = number(0, 4), m = number(5, 2), d = number(8, 2);
    if (!y || !m || !d)
        return std::nullopt;
    std::chrono::year_month_day date{std::chrono::year(*y), std::chrono::month(static_cast<unsigned>(*m)),
                                     std::chrono::day(static_cast<unsigned>(*d))};
    if (!date.ok())
        return std::nullopt;
    return date;
}

std::chrono::year_month_day IsoDate::today()
{
    auto now = std::chrono::system_clock::now();
    return std::chrono::year_month_day{std::chrono::floor<std::chrono::days>(now)};
}

} // namespace vantor
