#pragma once

// How detail sheets show their amounts: the data rows of the summed columns and of the rate
// column read in the two-decimal style with thousands separators of their total cells, on screen
// and in print. A display rule by column role: the stored cells keep their own
// formats, so files written before read the same and nothing is rewritten.

#include "sheet_component/engine/ColumnNumberStyles.h"

#include <string>

namespace vantor {

class DetailDisplay {
public:
    // The column styles of the sheet labelled `label` ("b10" … "b77"); none for other labels.
    static ColumnNumberStyles columnStyles(const std::string &label);
};

} // namespace vantor
