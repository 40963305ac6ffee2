#pragma once

// The scratch workbook in which a printed form is laid out: its only sheet, "print", is a copy of
// the sheet to print with every formula turned into the value it shows and the column number
// styles made the cells' own, without frozen rows. The user's workbook is only read: its sheets,
// current sheet, undo history, clipboard and modified flag stay as they are, whatever the layout
// does and however it ends (return, error or cancel).

#include "sheet_component/engine/Workbook.h"

namespace vantor {

class PrintScratchSheet {
public:
    static constexpr const char *Label = "print";

    PrintScratchSheet(const Workbook &source, int sourceSheet);
    PrintScratchSheet(const PrintScratchSheet &) = delete;
    PrintScratchSheet &operator=(const PrintScratchSheet &) = delete;

    Workbook &workbook() { return m_workbook; }
    // The sheet of the scratch workbook that holds the form.
    static constexpr int index() { return 0; }

private:
    Workbook m_workbook;
};

} // namespace vantor
