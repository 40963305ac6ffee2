#pragma once

// The rules of the small number-entry dialog (dlgShareLng): only the digits 0–9 can be
// typed, and whenever the text changes a value of 0 (an empty box included) becomes the
// minimum and a value above the maximum becomes the maximum. A value below the minimum
// that is not 0 stays as typed; the command that asked decides what to do with it.

#include <string>
#include <string_view>

namespace vantor {

class NumberEntryRules {
public:
    // Whether a typed character is kept.
    static bool acceptsCharacter(char32_t ch);
    // The value of the box's text: its leading digits, saturated far above any maximum.
    static long long valueOf(std::string_view text);
    // The text after a change: the minimum for 0, the maximum above it, else the text itself.
    static std::string normalised(std::string_view text, int minimum, int maximum);
    // The number OK hands back, always within 0 … maximum.
    static int result(std::string_view text, int maximum);
};

} // namespace vantor
