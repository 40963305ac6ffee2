#pragma once

// The print command: lays the sheet shown out as a printed form in the standard layout of
// appraisal forms on the temporary sheet "print" (see PrintScratchSheet) and hands that sheet to
// an output (the print preview, a PDF file, a text dump) before it is deleted again.
//
// A detail sheet prints R data rows per page. Every page has its page head (page number "共P页，第p页",
// unit line, the two heading rows), R data rows padded with empty rows on the last page, the page
// subtotal 本页小计 and a two-line signature block; the first page starts with the title block
// (name, base date, code); the last page also has the grand total 合    计 with the sheet's total
// appreciation rate. Each page starts a new sheet of paper and fits on it whole. A sheet without
// data rows prints one page of empty rows with zero totals.
//
// Page p (1-based) of a detail print starts at row 0 for p = 1 and at (R+8)(p-1)+3 after; page 1
// is R+11 rows long, every other page R+8.
//
// A summary sheet (ids 0 … 9) or 表11 (id 78) prints on one page with the title block on top and
// the signature lines below.

#include "output/PrintTexts.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vantor {

class PrintProgress;
class Workbook;

// Receives the laid-out "print" sheet while it exists.
using PrintOutput = std::function<void(Workbook &workbook, int printSheet)>;

// What the print command reads from the window: which sheet is showing and in which pane.
struct PrintContext {
    bool summaryView = false;   // the summary list is showing (always so in a summary project)
    std::string summaryKey;     // its selected entry, "b0" … "b9"
    int16_t sheetId = -1;       // the detail sheet (or 78) shown otherwise
    bool freezeHeadings = true; // the 不滚动行 option, kept when the total row is refreshed
};

class PrintEngine {
public:
    static constexpr int MaxDetailRows = 12403;
    static constexpr int MinRowsPerPage = 25;
    static constexpr int MaxRowsPerPage = 50;

    enum class Outcome { Printed, Cancelled, TooManyRows, NothingToPrint };

    // The driver. `texts` gives the texts of a sheet id; `askRows` asks for rows per page for a
    // detail sheet (0: the user cancelled). A detail sheet's total row is refreshed first.
    static Outcome PrintSheet(Workbook &workbook, const PrintContext &context,
                              const std::function<PrintTexts(int16_t id)> &texts,
                              const std::function<int(int16_t id)> &askRows, PrintProgress *progress,
                              const PrintOutput &output);

    // Sheet `index` of the workbook holds summary sheet `id` (0 … 9) or 表11 (78).
    static void PrintSummarySheet(Workbook &workbook, int16_t id, int index, const PrintTexts &texts,
                                  const PrintOutput &output);
    // Sheet `index` holds detail sheet `id`; `rowsPerPage` is R (clamped to 25 … 50). Throws
    // PrintCancelled when the progress is cancelled.
    static void PrintDetailSheet(Workbook &workbook, int16_t id, int index, int rowsPerPage, const PrintTexts &texts,
                                 PrintProgress *progress, const PrintOutput &output);

    // Pages of a detail print: the ceiling of D / R, and 1 for D = 0.
    static int pageCount(int dataRows, int rowsPerPage);
    // First row of page p (1-based) on the "print" sheet.
    static int pageStartRow(int page, int rowsPerPage);
    // The column where the right half of a signature line starts: C/2 - 1 to even, plus 1.
    static int signatureSplit(int cols);
};

} // namespace vantor
