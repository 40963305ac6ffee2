#include "output/PrintOptions.h"

#include "output/PrintEngine.h"

namespace vantor {

std::string PrintOptions::settingsKey(int sheetId)
{
    return sheetId >= 40 && sheetId <= 46 ? "Print/Rows2" : "Print/Rows1";
}

bool PrintOptions::isValid(int rows)
{
    return rows >= PrintEngine::MinRowsPerPage && rows <= PrintEngine::MaxRowsPerPage;
}

int PrintOptions::leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 1000000)
            return 0;
    }
    return static_cast<int>(negative ? -value : value);
}

int PrintOptions::remembered(const std::string &stored)
{
    const int value = leadingNumber(stored);
    return isValid(value) ? value : DefaultRows;
}

} // namespace vantor
