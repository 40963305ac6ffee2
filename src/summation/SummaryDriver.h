#pragma once

// Builds one summary sheet (b0 … b9) of the workbook for a project node: the node filter
// decides which sheetdata rows count, the sheet's summing query adds them up by sheet id
// with bound parameters only, and the sheet receives its amounts and formulas. b0, b2 and
// b3 take figures from b1 through getcell, so b1 is rebuilt for the same node first: a
// sheet never mixes two nodes. b0 asks whether to show yuan instead of ten thousand yuan.
//
// Everything is read and computed before the first cell is written, so a failing query
// (a damaged file, a sum beyond the currency range) throws and leaves every sheet as it
// was. A build is not an edit: it records no undo step and leaves the workbook's modified
// flag as it found it.

#include <cstdint>
#include <optional>
#include <string>

namespace vantor {

class Prompter;
class ProjectStore;
class Workbook;

class SummaryDriver {
public:
    // The summary sheet number of a label ("b0" … "b9"), or -1.
    static int sheetOf(const std::string &label);

    // Builds the sheet labelled `label` for node `pmid`. Returns false, changing nothing,
    // for any other label and when the workbook lacks the sheet (or b1, which b0, b2 and
    // b3 need). Throws DatabaseError or AmountOverflow, before writing anything. For b0, `yuan`
    // (when given) holds the unit: a value there is used without asking, and the unit asked for
    // is stored there.
    static bool build(Workbook &workbook, const ProjectStore &store, const std::string &label, int16_t pmid,
                      Prompter &prompter, std::optional<bool> *yuan = nullptr);
};

} // namespace vantor
