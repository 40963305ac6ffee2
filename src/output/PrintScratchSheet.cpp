#include "output/PrintScratchSheet.h"

#include "sheets/DetailDisplay.h"

#include <unordered_map>

namespace vantor {

PrintScratchSheet::PrintScratchSheet(const Workbook &source, int sourceSheet)
{
    const Sheet &from = source.sheet(sourceSheet);
    const ColumnNumberStyles columns = DetailDisplay::columnStyles(from.label());
    m_workbook.DoSetDefaultFont(source.defaultFont().size, source.defaultFont().style, source.defaultFont().name);
    m_workbook.setTextMeasurer(&source.textMeasurer());
    const int index = m_workbook.addSheetForLoading(Label, from.cols(), from.rows());
    m_workbook.DoDeleteSheets(0, 1);
    m_workbook.undoStack().clear();
    Sheet &copy = m_workbook.sheetForLoading(index - 1);
    // Style ids of the source mapped to this workbook's, numbers of columns with a display style
    // of their own getting it as theirs (key: source id, and whether the column style applies).
    std::unordered_map<unsigned long long, StyleId> ids;
    StyleTable &styles = m_workbook.styles();
    for (int r = 0; r < from.rows(); ++r) {
        for (int c = 0; c < from.storedCols(r); ++c) {
            const CellValue value = from.value(c, r);
            const StyleId id = from.styleId(c, r);
            if (id == 0 && value.isEmpty())
                continue;
            const CellFormat &format = source.styles().format(id);
            const NumberStyle *number = value.isNumber() && format.number.kind == 0 ? columns.at(c, r) : nullptr;
            const unsigned long long key = (static_cast<unsigned long long>(id) << 1) | (number ? 1 : 0);
            auto it = ids.find(key);
            if (it == ids.end()) {
                CellFormat own = format;
                if (number)
                    own.number = *number;
                it = ids.emplace(key, id == 0 && !number ? StyleId{0} : styles.intern(own)).first;
            }
            // The form shows values: formulas could only go wrong when rows move.
            copy.loadCell(c, r, value, it->second);
        }
        copy.loadRowHeight(r, from.rowHeight(r));
    }
    for (int c = 0; c < from.cols(); ++c)
        copy.loadColWidth(c, from.colWidth(c));
    for (const CellRange &m : from.merges())
        copy.loadMerge(m);
    copy.loadPrintSettings(from.printSettings());
    m_workbook.DoSetCurrentSheet(0);
    m_workbook.DoSetModified(false);
}

} // namespace vantor
