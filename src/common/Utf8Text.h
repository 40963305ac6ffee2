#pragma once

// Character-wise operations on UTF-8 text. Form codes and captions are laid out in
// fields counted in characters (a Chinese character counts as one), never in bytes.

#include <string>
#include <string_view>

namespace vantor {

class Utf8Text {
public:
    // Well-formed UTF-8: no stray or truncated sequences, no overlong forms, no surrogates,
    // nothing above U+10FFFF.
    static bool isValid(std::string_view text);
    // Number of code points.
    static int length(std::string_view text);
    // The first `count` characters (all of them when there are fewer).
    static std::string_view left(std::string_view text, int count);
    // Everything after the first `count` characters.
    static std::string_view mid(std::string_view text, int count);
    // Text followed by spaces up to `width` characters.
    static std::string padRight(std::string_view text, int width);
    // Without leading and trailing spaces.
    static std::string trim(std::string_view text);
    // Code points; a broken sequence reads as U+FFFD.
    static std::u32string decode(std::string_view text);
    static std::string encode(std::u32string_view text);
    // Full-width forms (U+FF01 … U+FF5E) as their ASCII counterparts, the ideographic space
    // as a space and the minus sign as a hyphen-minus; any other character as it is.
    static char32_t halfWidth(char32_t c);
};

} // namespace vantor
