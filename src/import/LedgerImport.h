#pragma once

// A client ledger turned into the lines 整表导入 types into a detail sheet: the rows from
// the first data row on, each form column taken from its mapped ledger column. In the
// form's numeric columns a value is read as written (WrittenAmount: ¥, separators,
// parentheses, full-width digits; a percent sign in rate columns); an Excel number is
// taken as it is. A value there that still is not a number is never typed as text: it is
// listed, and the caller lets the user skip those cells or cancel before anything changes.
// Rows without any mapped value are left out.

#include "import/ForeignSheet.h"
#include "import/LedgerMapping.h"
#include "sheets/LedgerFill.h"

#include <string>
#include <vector>

namespace vantor {

struct UnreadableCell {
    int row = 0;         // ledger row, 1-based as the import window numbers it
    int col = 0;         // ledger column, 0-based
    std::string heading; // the form column it was meant for
    std::string value;
};

struct LedgerLines {
    LedgerFill::Rows rows;
    std::vector<UnreadableCell> unreadable;
};

class LedgerImport {
public:
    // Lines from ledger rows firstRow … lastRow (0-based, clipped to the data).
    static LedgerLines lines(const ForeignSheet &sheet, int id, const LedgerMapping::Columns &mapping, int firstRow,
                             int lastRow);
    // The cells as a list for the user: "第12行 F列（帐面价值/原值）：“壹万”", at most
    // `maxShown` lines and then how many more.
    static std::string describe(const std::vector<UnreadableCell> &cells, std::size_t maxShown = 20);
    // The mapping as the CLI prints it: one line per form column.
    static std::string describeMapping(int id, const LedgerMapping::Columns &mapping, const LedgerHeadings &headings);
};

} // namespace vantor
