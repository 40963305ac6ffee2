#pragma once

// The temporary sheet "print" on which a printed form is laid out: appended to the workbook as a
// copy of the sheet to print and made current, without frozen rows and with every formula turned
// into the value it shows. Nothing done on it is recorded for undo. When the scope ends, by
// return, error or cancel, the sheet is deleted and the workbook's current sheet and modified
// flag are what they were, so the user's sheets and their undo history are untouched.

#include "sheet_component/engine/UndoGroup.h"

namespace vantor {

class Workbook;

class PrintScratchSheet {
public:
    static constexpr const char *Label = "print";

    PrintScratchSheet(Workbook &workbook, int sourceSheet);
    ~PrintScratchSheet();
    PrintScratchSheet(const PrintScratchSheet &) = delete;
    PrintScratchSheet &operator=(const PrintScratchSheet &) = delete;

    int index() const { return m_index; }

private:
    void restore();

    Workbook &m_workbook;
    UndoPause m_pause;
    int m_index;
    int m_current;
    bool m_modified;
};

} // namespace vantor
