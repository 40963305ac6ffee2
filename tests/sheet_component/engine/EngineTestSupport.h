#pragma once

// Helpers for the engine tests: a full text dump of a sheet (everything undo must restore).

#include "sheet_component/engine/Workbook.h"

#include <sstream>
#include <string>

namespace vantor::test {

inline std::string valueText(const CellValue &v)
{
    std::ostringstream out;
    if (v.isNumber())
        out << "n:" << std::hexfloat << v.number() << std::defaultfloat; // bit for bit
    else if (v.isText())
        out << "t:" << v.text();
    else if (v.isError())
        out << "e:" << cellErrorText(v.error());
    return out.str();
}

// Everything about a sheet that undo has to put back, as comparable text.
inline std::string dumpSheet(const Workbook &wb, int index)
{
    const Sheet &s = wb.sheet(index);
    std::ostringstream out;
    out << "label=" << s.label() << " size=" << s.cols() << "x" << s.rows() << "\n";
    for (int r = 0; r < s.rows(); ++r)
        for (int c = 0; c < s.storedCols(r); ++c) {
            if (s.isBlank(c, r))
                continue;
            const CellFormat &f = wb.styles().format(s.styleId(c, r));
            out << c << "," << r << " " << valueText(s.value(c, r)) << " f=" << s.formulaText(c, r)
                << " font=" << f.fontName << "/" << f.fontSize << "/" << f.fontStyle << " al=" << f.alignment
                << " lock=" << f.locked << " num=" << f.number.kind << "." << f.number.decimals
                << " b=" << f.borders.left << f.borders.top << f.borders.right << f.borders.bottom << "\n";
        }
    out << "widths:";
    for (int c = 0; c < s.cols(); ++c)
        out << " " << s.colWidth(c);
    out << "\nheights:";
    for (int r = 0; r < s.rows(); ++r)
        out << " " << s.rowHeight(r);
    out << "\nmerges:";
    for (const CellRange &m : s.merges())
        out << " " << m.col1 << "," << m.row1 << "-" << m.col2 << "," << m.row2;
    const PrintSettings &p = s.printSettings();
    out << "\nfrozen=" << s.frozenRows().first << "," << s.frozenRows().last << " print=" << p.printRange.col1 << ","
        << p.printRange.row1 << "," << p.printRange.col2 << "," << p.printRange.row2 << " scale=" << p.scale
        << " breaks:";
    for (int b : p.rowPageBreaks)
        out << " " << b;
    out << "\n";
    return out.str();
}

inline std::string dumpWorkbook(const Workbook &wb)
{
    std::string out = "current=" + std::to_string(wb.CurrentSheet()) + " font=" + wb.defaultFont().name + "/" +
                      std::to_string(wb.defaultFont().size) + "/" + std::to_string(wb.defaultFont().style) + "\n";
    for (int i = 0; i < wb.SheetCount(); ++i)
        out += dumpSheet(wb, i);
    return out;
}

} // namespace vantor::test
