#include "CliText.h"

#include "Cli.h"

#include "common/Utf8Text.h"

namespace vantor::cli {

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
    if (!Utf8Text::isValid(text))
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
