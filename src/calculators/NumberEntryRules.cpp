#include "calculators/NumberEntryRules.h"

#include <algorithm>

namespace vantor {

namespace {
constexpr long long Saturation = 1'000'000'000'000LL;
}

bool NumberEntryRules::acceptsCharacter(char32_t ch)
{
    return ch >= U'0' && ch <= U'9';
}

long long NumberEntryRules::valueOf(std::string_view text)
{
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = std::min(value * 10 + (c - '0'), Saturation);
    }
    return value;
}

std::string NumberEntryRules::normalised(std::string_view text, int minimum, int maximum)
{
    const long long value = valueOf(text);
    if (value == 0)
        return std::to_string(minimum);
    if (value > maximum)
        return std::to_string(maximum);
    return std::string(text);
}

int NumberEntryRules::result(std::string_view text, int maximum)
{
    return static_cast<int>(std::clamp<long long>(valueOf(text), 0, std::max(maximum, 0)));
}

} // namespace vantor
