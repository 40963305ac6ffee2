#pragma once

// Which columns of a detail sheet take numbers only, and what a value typed, pasted, filled
// or imported into them is stored as. In the summed and money columns a number written as
// people write it (¥, separators, parentheses, full-width digits) is stored as the plain
// number it shows; text that is not a number is refused there. The import reads every
// numeric column of the form this way (quantities, prices, rates as well).

#include <optional>
#include <string>

namespace vantor {

class NumericInput {
public:
    // Summed and money columns: a typed value must be a number (or a formula, or nothing).
    static bool mustBeNumber(int id, int col);
    // The columns the import reads as numbers: the above, the rate column and the columns
    // whose heading names a quantity, price, rate or amount.
    static bool isNumeric(int id, int col);
    // Whether a trailing percent sign is read (rate and ratio columns).
    static bool takesPercent(int id, int col);

    // What typing `text` into the cell stores: the text itself outside the number-only
    // columns, the plain number inside them; nothing when it must be refused.
    static std::optional<std::string> storedInput(int id, int col, const std::string &text);
    // The refusal for a cell (0-based), naming it as the sheet shows it ("G5").
    static std::string refusal(int col, int row, const std::string &text);
};

} // namespace vantor
