#pragma once

// Number styles that columns of a sheet show their numbers in, from `firstRow` down, where a cell
// holds a number and has no number style of its own: a display rule by the column's role in a
// form. The stored formats stay as they are.

#include "sheet_component/engine/CellFormat.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vantor {

struct ColumnNumberStyles {
    int firstRow = 0;
    std::vector<std::pair<int, NumberStyle>> columns;

    const NumberStyle *at(int col, int row) const
    {
        if (row < firstRow)
            return nullptr;
        for (const auto &[c, style] : columns)
            if (c == col)
                return &style;
        return nullptr;
    }
};

// The column styles of a sheet by its label; given by whoever knows the forms.
using ColumnStyleRule = std::function<ColumnNumberStyles(const std::string &label)>;

} // namespace vantor
