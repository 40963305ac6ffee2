#pragma once

// Which ledger column feeds which column of a detail sheet. A client's ledger has its own
// column order, a title and one or two heading rows; the heading rows are found by the
// words of the form's headings and the synonyms appraisers meet (资产名称 for 名称, 账面原值
// for 原值 …; 帐 and 账 count as one), and each form column is matched to the ledger column
// whose heading names it best. A sub-column of 调整后帐面值 or 评估价值 is only matched by
// a heading under the same group; a bare 原值 or 金额 goes to the book value's. Ledger
// columns nobody matches are ignored.

#include "import/ForeignSheet.h"

#include <optional>
#include <string>
#include <vector>

namespace vantor {

// What is found of a ledger's heading rows.
struct LedgerHeadings {
    int first = -1; // first heading row, -1 when none was found
    int last = -1;
    int firstDataRow = 0;
    std::vector<std::string> titles; // per ledger column: its heading texts joined by "/"
};

class LedgerMapping {
public:
    static constexpr int Unmapped = -1;
    // Per form column (0 … remarks column), the ledger column or Unmapped.
    using Columns = std::vector<int>;

    // The form columns of detail kind `id` as the sheet heads them ("帐面价值/原值").
    static std::vector<std::string> formTitles(int id);

    static LedgerHeadings detect(const ForeignSheet &sheet, int id);
    static Columns propose(int id, const LedgerHeadings &headings);
    // Form column c from ledger column c: the sheet's own column order.
    static Columns byPosition(int id, int ledgerCols);
    // "序号=A,名称=C,帐面价值/原值=F": the columns named, every other one unmapped. Sets
    // `error` (Chinese) and gives nothing when a name or a letter is not understood.
    static std::optional<Columns> parse(int id, const std::string &text, std::string &error);

    // The key under which a mapping is remembered: the form and the ledger's headings.
    static std::string memoryKey(int id, const LedgerHeadings &headings);

    // Column letters as the import window shows them: A … Z, AA …
    static std::string columnName(int col);
    static int columnIndex(const std::string &name); // -1 when not a column name
    // A heading as compared: full-width folded, 账 read as 帐, parenthesised units and
    // everything but letters, digits and ideographs dropped.
    static std::string normalized(const std::string &text);
};

} // namespace vantor
