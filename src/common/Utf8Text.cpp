#include "common/Utf8Text.h"

namespace vantor {

namespace {

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte offset of the start of character `count`, or the size when the text is shorter.
std::size_t offsetOf(std::string_view text, int count)
{
    std::size_t i = 0;
    for (int n = 0; n < count && i < text.size(); ++n) {
        ++i;
        while (i < text.size() && isContinuation(text[i]))
            ++i;
    }
    return i;
}

} // namespace

int Utf8Text::length(std::string_view text)
{
    int n = 0;
    for (char c : text)
        if (!isContinuation(c))
            ++n;
    return n;
}

std::string_view Utf8Text::left(std::string_view text, int count)
{
    return text.substr(0, offsetOf(text, count));
}

std::string_view Utf8Text::mid(std::string_view text, int count) { return text.substr(offsetOf(text, count)); }

std::string Utf8Text::padRight(std::string_view text, int width)
{
    std::string out(text);
    for (int n = length(text); n < width; ++n)
        out += ' ';
    return out;
}

std::string Utf8Text::trim(std::string_view text)
{
    std::size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    std::size_t e = text.find_last_not_of(' ');
    return std::string(text.substr(b, e - b + 1));
}

} // namespace vantor
