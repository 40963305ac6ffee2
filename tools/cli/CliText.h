#pragma once

// Text from the command line is stored exactly as given or refused: the tool
// never quietly drops or cuts characters. What the dialogs would not take
// (an apostrophe, a control character, more characters than the box holds)
// is refused with a message that names the option.

#include <string>
#include <string_view>

namespace vantor::cli {

class CliText {
public:
    // The length a text box counts: UTF-16 units, so a character outside the
    // basic plane (an emoji) counts twice. Valid UTF-8 only.
    static int boxLength(std::string_view text);

    // `text` unchanged, or throws CliUsageError naming `option` (shown as
    // given, e.g. "--name") when a text box of `maxLength` would not take it.
    static const std::string &accepted(const std::string &option, const std::string &text, int maxLength);
};

} // namespace vantor::cli
