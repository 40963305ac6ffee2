#pragma once

// The workbook every new project starts from (written to template.vtc at build time): the
// ten summary sheets b0 … b9, the first detail sheet b10 (表3-1-1, which every data-entry
// project has) and the contra-account supplement b78 (表11), each laid out. A new project
// checks two positions of it: b1 at index 1 (summary project) and b10 at index 4 (data-entry
// project). Detail sheets added later are inserted at half the sheet count, so the order puts
// b10 and b78 between b0 … b3 and b4 … b9: added sheets then always land among the detail
// sheets, never between two summary sheets.

#include <span>

namespace vantor {

class Workbook;

class TemplateWorkbook {
public:
    static constexpr int SummaryProbeIndex = 1; // "b1"
    static constexpr int DetailProbeIndex = 4;  // "b10"

    // Sheet ids in workbook order.
    static std::span<const int> sheetIds();
    // The same ids ascending (the order of the catalogue rows of the template database).
    static std::span<const int> sheetIdsByNumber();

    // Replaces the workbook's whole content with the template sheets, first sheet current,
    // no undo history, not modified.
    static void build(Workbook &workbook);
};

} // namespace vantor
