#pragma once

// Writes a whole workbook as an Excel file (.xlsx): one worksheet per sheet in workbook order,
// with values, formulas and their computed results, merges, column widths, row heights, fonts,
// alignment, number formats, borders, the shading of heading cells and frozen rows; a text with a
// line break is written with line feeds and wraps. A sheet can get a page set-up of its own.
//
// Rows are written strictly in order, which lets the writer keep only one row in memory
// (constant-memory mode), so a workbook of millions of cells costs little more than the
// workbook itself. Merges are registered when their last row is reached, before its cells.
//
// The file is written under a temporary name beside the target and renamed over it only when
// complete: a failure leaves no partial file and the previous target, if any, as it was.

#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace vantor {

class Workbook;
struct CellFormat;

class ExcelExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How a worksheet prints: A4 in the orientation given, one page wide, margins, the heading rows
// repeated on every page, and the page header and footer in Excel's codes (&P page, &N pages).
struct ExcelPageSetup {
    bool landscape = false;
    std::array<double, 4> margins{}; // left, top, right, bottom in mm
    int repeatFirst = -1;            // rows repeated on every page; none when -1
    int repeatLast = -1;
    std::string header;
    std::string footer;
};

class ExcelExport {
public:
    // The wanted worksheet name of a sheet, from its label ("b16" → "表3-4 应收账款…").
    using SheetTitle = std::function<std::string(const std::string &label)>;
    // The page set-up of the sheet with this index; nothing leaves Excel's defaults.
    using PageSetupOf = std::function<std::optional<ExcelPageSetup>(int index)>;

    // Throws ExcelExportError with a message for the user.
    static void write(const Workbook &workbook, const std::string &path, const SheetTitle &title,
                      const PageSetupOf &pageSetup = {});
    // A text as an Excel header or footer shows it literally ("&" doubled).
    static std::string headerText(const std::string &text);

    // Excel's number format code for a cell format; "" for Excel's general format.
    static std::string numberFormat(const CellFormat &format);
};

} // namespace vantor
