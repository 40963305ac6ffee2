#pragma once

// How a cell value is shown in a sheet: the number style (decimals, percent, thousands
// grouping), hidden zeros and error texts. Shared by the workbook, the widget and the
// command-line dump so that all show the same text.

#include "sheet_component/engine/CellFormat.h"
#include "sheet_component/engine/CellValue.h"

#include <string>

namespace vantor {

std::string formatCellValue(const CellValue &value, const CellFormat &format);

// A number in its shortest general form: up to 15 significant digits, no exponent for
// ordinary magnitudes ("0.3", "1234.5", "-12").
std::string formatGeneralNumber(double value);

} // namespace vantor
