// The workbook's formats: cell styles (fonts, alignment, locks, number styles, borders), the
// default font, and each sheet's print settings.

#include "sheet_component/engine/SheetEdit.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/engine/WorkbookCommands.h"

#include <algorithm>
#include <cmath>

namespace vantor {

void Workbook::modifyStyle(int sheet, int col, int row, const std::function<void(CellFormat &)> &edit)
{
    Sheet &s = sheetRef(sheet);
    CellRange r = row == -2 ? CellRange{col, 0, col, s.rows() - 1} : CellRange{col, row, col, row};
    modifyStyleRange(s, r, edit);
}

void Workbook::modifyStyleRange(Sheet &s, CellRange r, const std::function<void(CellFormat &)> &edit)
{
    r = SheetEdit::clipTo(s, r);
    if (r.isEmpty())
        return;
    auto cmd = std::make_unique<StylesCommand>(&s);
    std::unordered_map<StyleId, StyleId> mapped;
    for (int row = r.row1; row <= r.row2; ++row)
        for (int col = r.col1; col <= r.col2; ++col) {
            const StyleId before = s.styleId(col, row);
            auto it = mapped.find(before);
            StyleId after;
            if (it != mapped.end()) {
                after = it->second;
            } else {
                CellFormat f = m_styles.format(before);
                edit(f);
                after = m_styles.intern(f);
                mapped.emplace(before, after);
            }
            if (after != before)
                cmd->add(col, row, before, after);
        }
    if (cmd->empty())
        return;
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoSetCellFont(int col, int row, int size, int style, const std::string &name, int sheet)
{
    modifyStyle(sheet, col, row, [&](CellFormat &f) {
        f.fontSize = std::max(size, 0);
        f.fontStyle = (style >= 0 && style <= 7) ? style : 0;
        f.fontName = name;
    });
}

FontSpec Workbook::DoGetCellFont(int col, int row, int sheet) const
{
    return resolvedFont(cellFormat(col, row, sheet));
}

FontSpec Workbook::resolvedFont(const CellFormat &f) const
{
    FontSpec font = m_defaultFont;
    if (!f.fontName.empty())
        font.name = f.fontName;
    if (f.fontSize > 0)
        font.size = f.fontSize;
    if (!f.fontName.empty() || f.fontSize > 0 || f.fontStyle != 0)
        font.style = f.fontStyle;
    return font;
}

void Workbook::DoSetDefaultFont(int size, int style, const std::string &name)
{
    const FontSpec before = m_defaultFont;
    const FontSpec after{name.empty() ? before.name : name, size > 0 ? size : before.size,
                         (style >= 0 && style <= 7) ? style : 0};
    if (before == after)
        return;
    auto cmd = std::make_unique<LambdaCommand>([before](Workbook &wb) { wb.m_defaultFont = before; },
                                               [after](Workbook &wb) { wb.m_defaultFont = after; }, nullptr,
                                               WorkbookChange::Layout);
    cmd->redo(*this);
    record(std::move(cmd));
}

void Workbook::DoSetCellAlignment(int col, int row, int code, int sheet)
{
    modifyStyle(sheet, col, row, [&](CellFormat &f) { f.alignment = code; });
}

int Workbook::DoGetCellAlignment(int col, int row, int sheet) const
{
    return cellFormat(col, row, sheet).alignment;
}

void Workbook::DoSetCell3DState(int col, int row, int state, int sheet)
{
    modifyStyle(sheet, col, row, [&](CellFormat &f) { f.threeD = std::clamp(state, 0, 2); });
}

void Workbook::DoSetCellTextStyle(int col, int row, int style, int sheet)
{
    modifyStyle(sheet, col, row, [&](CellFormat &f) { f.textStyle = std::clamp(style, 0, 2); });
}

void Workbook::DoSetCellLock(int col, int row, bool locked, int sheet)
{
    modifyStyle(sheet, col, row, [&](CellFormat &f) { f.locked = locked; });
}

bool Workbook::DoGetCellLock(int col, int row, int sheet) const
{
    return cellFormat(col, row, sheet).locked;
}

void Workbook::DoSetCellZeroDisplay(int col, int row, int show, int sheet)
{
    modifyStyle(sheet, col, row, [&](CellFormat &f) { f.showZero = show != 0; });
}

void Workbook::DoSetCellNumberStyle(int col, int row, int kind, bool percent, int decimals, int negative, int grouping,
                                    int extra1, int extra2, int sheet)
{
    modifyStyle(sheet, col, row, [&](CellFormat &f) {
        f.number = NumberStyle{kind, percent, std::clamp(decimals, 0, 15), negative, grouping, extra1, extra2};
    });
}

void Workbook::DoClearCellNumberStyle(int col, int row, int sheet)
{
    modifyStyle(sheet, col, row, [&](CellFormat &f) { f.number = NumberStyle{}; });
}

void Workbook::DoSetCellInputMask(int col, int row, const std::string &pattern, int sheet)
{
    modifyStyle(sheet, col, row, [&](CellFormat &f) { f.inputMask = pattern; });
}

void Workbook::DoSetRangeBorder(int col1, int row1, int col2, int row2, int mode, int line, int colour, int sheet)
{
    (void)colour;
    Sheet &s = sheetRef(sheet);
    const CellRange r = SheetEdit::clipTo(s, CellRange::normalized(col1, row1, col2, row2));
    if (r.isEmpty())
        return;
    line = std::clamp(line, 0, 2);
    UndoGroup group(*this);
    if (mode == 0) {
        modifyStyleRange(s, r, [&](CellFormat &f) { f.borders = CellBorders{line, line, line, line}; });
        return;
    }
    modifyStyleRange(s, CellRange{r.col1, r.row1, r.col2, r.row1}, [&](CellFormat &f) { f.borders.top = line; });
    modifyStyleRange(s, CellRange{r.col1, r.row2, r.col2, r.row2}, [&](CellFormat &f) { f.borders.bottom = line; });
    modifyStyleRange(s, CellRange{r.col1, r.row1, r.col1, r.row2}, [&](CellFormat &f) { f.borders.left = line; });
    modifyStyleRange(s, CellRange{r.col2, r.row1, r.col2, r.row2}, [&](CellFormat &f) { f.borders.right = line; });
}

const CellFormat &Workbook::cellFormat(int col, int row, int sheet) const
{
    return m_styles.format(sheetRef(sheet).styleId(col, row));
}

void Workbook::setCellFormat(int col, int row, const CellFormat &format, int sheet)
{
    modifyStyle(sheet, col, row, [&](CellFormat &f) { f = format; });
}

// --- print settings ---

void Workbook::setPrintSettings(const PrintSettings &settings, int sheet)
{
    Sheet &s = sheetRef(sheet);
    PrintSettings before = s.printSettings();
    PrintSettings after = settings;
    std::sort(after.rowPageBreaks.begin(), after.rowPageBreaks.end());
    after.rowPageBreaks.erase(std::unique(after.rowPageBreaks.begin(), after.rowPageBreaks.end()),
                              after.rowPageBreaks.end());
    if (before == after)
        return;
    Sheet *sp = &s;
    auto cmd = std::make_unique<LambdaCommand>([sp, before](Workbook &) { SheetEdit::print(*sp) = before; },
                                               [sp, after](Workbook &) { SheetEdit::print(*sp) = after; }, sp,
                                               WorkbookChange::Layout);
    cmd->redo(*this);
    record(std::move(cmd));
}

const PrintSettings &Workbook::printSettings(int sheet) const
{
    return sheetRef(sheet).printSettings();
}

void Workbook::DoSetPrintRange(int col1, int col2, int row1, int row2, int sheet)
{
    PrintSettings p = printSettings(sheet);
    p.printRange = CellRange::normalized(col1, row1, col2, row2);
    setPrintSettings(p, sheet);
}

void Workbook::DoSetPageHeader(const std::string &left, const std::string &centre, const std::string &right, int sheet)
{
    PrintSettings p = printSettings(sheet);
    p.header = PageTexts{left, centre, right};
    setPrintSettings(p, sheet);
}

void Workbook::DoSetPageFooter(const std::string &left, const std::string &centre, const std::string &right, int sheet)
{
    PrintSettings p = printSettings(sheet);
    p.footer = PageTexts{left, centre, right};
    setPrintSettings(p, sheet);
}

void Workbook::DoSetPrintScale(int percent, bool flag1, bool flag2, int sheet)
{
    PrintSettings p = printSettings(sheet);
    p.scale = std::clamp(percent, 10, 400);
    p.scaleFlag1 = flag1;
    p.scaleFlag2 = flag2;
    setPrintSettings(p, sheet);
}

void Workbook::DoSetPageMargins(double left, double top, double right, double bottom, int sheet)
{
    PrintSettings p = printSettings(sheet);
    p.margins = {std::max(left, 0.0), std::max(top, 0.0), std::max(right, 0.0), std::max(bottom, 0.0)};
    setPrintSettings(p, sheet);
}

void Workbook::setRowPageBreaks(std::vector<int> rows, int sheet)
{
    PrintSettings p = printSettings(sheet);
    rows.erase(std::remove_if(rows.begin(), rows.end(), [](int r) { return r <= 0; }), rows.end());
    p.rowPageBreaks = std::move(rows);
    setPrintSettings(p, sheet);
}

void Workbook::setPaper(int paperSize, bool landscape, int sheet)
{
    PrintSettings p = printSettings(sheet);
    p.paperSize = paperSize;
    p.landscape = landscape;
    setPrintSettings(p, sheet);
}

} // namespace vantor
