#pragma once

// Column widths fitted to the numbers a sheet shows: a column narrower than one of its numbers
// (merged cells aside) is widened to it, so that no amount shows as "###" on screen or prints
// in a smaller size than the rest of its column. Measured with the workbook's text measurer.

namespace vantor {

class Workbook;

class ColumnFit {
public:
    static void toNumbers(Workbook &workbook, int sheet);
};

} // namespace vantor
