#pragma once

// Writes a whole workbook as an Excel file (.xlsx): one worksheet per sheet in workbook order,
// with values, formulas and their computed results, merges, column widths, row heights, fonts,
// alignment, number formats, borders and frozen rows.
//
// Rows are written strictly in order, which lets the writer keep only one row in memory
// (constant-memory mode), so a workbook of millions of cells costs little more than the
// workbook itself. Merges are registered when their last row is reached, before its cells.
//
// The file is written under a temporary name beside the target and renamed over it only when
// complete: a failure leaves no partial file and the previous target, if any, as it was.

#include <functional>
#include <stdexcept>
#include <string>

namespace vantor {

class Workbook;
struct CellFormat;

class ExcelExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ExcelExport {
public:
    // The wanted worksheet name of a sheet, from its label ("b16" → "表3-4 应收账款…").
    using SheetTitle = std::function<std::string(const std::string &label)>;

    // Throws ExcelExportError with a message for the user.
    static void write(const Workbook &workbook, const std::string &path, const SheetTitle &title);

    // Excel's number format code for a cell format; "" for Excel's general format.
    static std::string numberFormat(const CellFormat &format);
};

} // namespace vantor
