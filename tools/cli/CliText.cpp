#include "CliText.h"

#include "Cli.h"

namespace vantor::cli {

bool CliText::isValidUtf8(std::string_view text)
{
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    const auto *end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        int extra = 0;
        char32_t code = 0;
        if (c < 0x80) {
            ++p;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        const char32_t smallest = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += extra + 1;
    }
    return true;
}

int CliText::boxLength(std::string_view text)
{
    int units = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80)
            ++units;
        if (c >= 0xF0)
            ++units;
    }
    return units;
}

const std::string &CliText::accepted(const std::string &option, const std::string &text, int maxLength)
{
    if (!isValidUtf8(text))
        throw CliUsageError(option + " 的值不是有效的UTF-8文本");
    if (text.find('\'') != std::string::npos)
        throw CliUsageError(option + " 不能含有撇号(')：" + text);
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F)
            throw CliUsageError(option + " 不能含有控制字符（换行、制表符等）");
    const int length = boxLength(text);
    if (length > maxLength)
        throw CliUsageError(option + " 最多" + std::to_string(maxLength) + "个字，给出的有" + std::to_string(length) +
                            "个字：" + text);
    return text;
}

} // namespace vantor::cli
