#include "sheet_component/engine/Workbook.h"

#include "sheet_component/engine/DisplayFormat.h"
#include "sheet_component/engine/SheetEdit.h"
#include "sheet_component/engine/SortOrder.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/WorkbookCommands.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vantor {

struct Workbook::Clip {
    int cols = 0, rows = 0;
    int srcCol = 0, srcRow = 0;
    std::vector<CellSnapshot> cells; // row-major
    std::vector<CellRange> merges;   // relative to the block
};

namespace {

CellValue sanitize(const CellValue &v)
{
    if (v.isNumber() && !std::isfinite(v.number()))
        return CellValue::error(CellError::Value);
    return v;
}

CellRange clipTo(const Sheet &sheet, CellRange r)
{
    r.col1 = std::max(r.col1, 0);
    r.row1 = std::max(r.row1, 0);
    r.col2 = std::min(r.col2, sheet.cols() - 1);
    r.row2 = std::min(r.row2, sheet.rows() - 1);
    return r;
}

} // namespace

Workbook::Workbook()
{
    m_sheets.push_back(std::make_unique<Sheet>("Sheet1", DefaultCols, DefaultRows));
}

Workbook::~Workbook() = default;

void Workbook::assignFrom(Workbook &&other)
{
    if (&other == this)
        return;
    m_sheets = std::move(other.m_sheets);
    if (m_sheets.empty())
        m_sheets.push_back(std::make_unique<Sheet>("Sheet1", DefaultCols, DefaultRows));
    m_current = std::clamp(other.m_current, 0, SheetCount() - 1);
    m_styles = std::move(other.m_styles);
    m_defaultFont = other.m_defaultFont;
    m_readers = std::move(other.m_readers);
    m_reads = std::move(other.m_reads);
    other.m_sheets.clear();
    other.m_sheets.push_back(std::make_unique<Sheet>("Sheet1", DefaultCols, DefaultRows));
    other.m_current = 0;
    other.m_styles.clear();
    other.m_readers.clear();
    other.m_reads.clear();
    other.m_undo.clear();
    m_undo.clear();
    m_clip.reset();
    m_modified = false;
    if (m_listener)
        m_listener(WorkbookChange{WorkbookChange::Reset, -1, {}});
}

// --- helpers ---

int Workbook::resolve(int sheet) const
{
    const int index = sheet < 0 ? m_current : sheet;
    if (index < 0 || index >= SheetCount())
        throw std::out_of_range("sheet index " + std::to_string(sheet) + " out of range");
    return index;
}

Sheet &Workbook::sheetRef(int sheet)
{
    return *m_sheets[static_cast<std::size_t>(resolve(sheet))];
}

const Sheet &Workbook::sheetRef(int sheet) const
{
    return *m_sheets[static_cast<std::size_t>(resolve(sheet))];
}

int Workbook::indexOf(const Sheet *sheet) const
{
    for (int i = 0; i < SheetCount(); ++i)
        if (m_sheets[static_cast<std::size_t>(i)].get() == sheet)
            return i;
    return -1;
}

void Workbook::record(std::unique_ptr<UndoCommand> command)
{
    m_undo.push(std::move(command));
}

void Workbook::touched(int sheet, WorkbookChange::Kind kind, CellRange range)
{
    m_modified = true;
    if (m_listener)
        m_listener(WorkbookChange{kind, sheet, range});
}

const Sheet &Workbook::sheet(int index) const
{
    return sheetRef(index);
}

Sheet &Workbook::sheetForLoading(int index)
{
    return sheetRef(index);
}

int Workbook::addSheetForLoading(const std::string &label, int cols, int rows)
{
    m_sheets.push_back(std::make_unique<Sheet>(label, cols, rows));
    return SheetCount() - 1;
}

const TextMeasurer &Workbook::textMeasurer() const
{
    return m_measurer ? *m_measurer : static_cast<const TextMeasurer &>(m_crudeMeasurer);
}

void Workbook::beginUndoGroup()
{
    m_undo.beginGroup();
}

void Workbook::endUndoGroup()
{
    m_undo.endGroup();
}

void Workbook::DoUndo()
{
    if (m_undo.groupDepth() > 0)
        return;
    m_undo.undo(*this);
    m_modified = true;
}

namespace {
std::optional<int> soleSheet(const Workbook &wb, const std::vector<const void *> &targets)
{
    std::optional<int> found;
    for (const void *t : targets) {
        if (!t)
            return std::nullopt;
        int index = -1;
        for (int i = 0; i < wb.SheetCount(); ++i)
            if (&wb.sheet(i) == t)
                index = i;
        if (index < 0 || (found && *found != index))
            return std::nullopt;
        found = index;
    }
    return found;
}
} // namespace

std::optional<int> Workbook::nextUndoSheet() const
{
    return soleSheet(*this, m_undo.nextUndoTargets());
}

std::optional<int> Workbook::nextRedoSheet() const
{
    return soleSheet(*this, m_undo.nextRedoTargets());
}

void Workbook::DoRedo()
{
    if (m_undo.groupDepth() > 0)
        return;
    m_undo.redo(*this);
    m_modified = true;
}

// --- size ---

int Workbook::Cols(int sheet) const
{
    return sheetRef(sheet).cols();
}

int Workbook::Rows(int sheet) const
{
    return sheetRef(sheet).rows();
}

void Workbook::SetCols(int cols, int sheet)
{
    const int index = resolve(sheet);
    Sheet &s = sheetRef(index);
    cols = std::max(cols, 0);
    if (cols == s.cols())
        return;
    UndoGroup group(*this);
    if (cols < s.cols()) {
        structural(index, false, false, cols, s.cols() - cols);
        return;
    }
    auto cmd = std::make_unique<ResizeCommand>(&s, s.cols(), s.rows(), cols, s.rows());
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::SetRows(int rows, int sheet)
{
    const int index = resolve(sheet);
    Sheet &s = sheetRef(index);
    rows = std::max(rows, 0);
    if (rows == s.rows())
        return;
    UndoGroup group(*this);
    if (rows < s.rows()) {
        structural(index, true, false, rows, s.rows() - rows);
        return;
    }
    auto cmd = std::make_unique<ResizeCommand>(&s, s.cols(), s.rows(), s.cols(), rows);
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoAppendRows(int count, int sheet)
{
    if (count <= 0)
        return;
    SetRows(Rows(sheet) + count, sheet);
}

// --- cells ---

void Workbook::writeCell(Sheet &s, int col, int row, const CellSnapshot &after)
{
    if (!s.isValid(col, row))
        return;
    auto cmd = std::make_unique<CellsCommand>(&s);
    cmd->add(col, row, SheetEdit::snapshot(s, col, row), after);
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoSetCellData(int col, int row, const CellValue &value, int sheet)
{
    Sheet &s = sheetRef(sheet);
    if (!s.isValid(col, row))
        return;
    CellSnapshot after;
    after.value = sanitize(value);
    after.style = s.styleId(col, row);
    writeCell(s, col, row, after);
}

void Workbook::DoSetCellData(int col, int row, double number, int sheet)
{
    DoSetCellData(col, row, CellValue::number(number), sheet);
}

void Workbook::DoSetCellData(int col, int row, const std::string &text, int sheet)
{
    DoSetCellData(col, row, CellValue::text(text), sheet);
}

void Workbook::DoSetCellData(int col, int row, const char *text, int sheet)
{
    DoSetCellData(col, row, CellValue::text(text ? text : ""), sheet);
}

CellValue Workbook::DoGetCellData(int col, int row) const
{
    return sheetRef(-1).value(col, row);
}

CellValue Workbook::DoGetSheetCellData(int col, int row, int sheet) const
{
    if (sheet < 0 || sheet >= SheetCount())
        return CellValue();
    return sheetRef(sheet).value(col, row);
}

bool Workbook::DoSetCellFormula(int col, int row, const std::string &text, int sheet)
{
    Sheet &s = sheetRef(sheet);
    if (!s.isValid(col, row))
        return false;
    std::optional<Formula> f = Formula::parse(text);
    CellSnapshot after;
    after.hasFormula = true;
    after.style = s.styleId(col, row);
    const bool ok = f.has_value();
    if (ok) {
        after.formula = std::move(f);
    } else {
        after.badText = text;
        after.value = CellValue::error(CellError::Parse);
    }
    writeCell(s, col, row, after);
    return ok;
}

void Workbook::DoClearCellFormula(int col, int row, int sheet)
{
    Sheet &s = sheetRef(sheet);
    if (!s.hasFormula(col, row))
        return;
    CellSnapshot after = SheetEdit::snapshot(s, col, row);
    after.hasFormula = false;
    after.formula.reset();
    after.badText.clear();
    writeCell(s, col, row, after);
}

void Workbook::DoClearCell(int col, int row, int what, int sheet)
{
    Sheet &s = sheetRef(sheet);
    if (!s.isValid(col, row) || s.isBlank(col, row))
        return;
    CellSnapshot after = SheetEdit::snapshot(s, col, row);
    if (what & ClearContents) {
        after.value = CellValue();
        after.hasFormula = false;
        after.formula.reset();
        after.badText.clear();
    }
    if (what & ClearFormats)
        after.style = 0;
    writeCell(s, col, row, after);
}

bool Workbook::setCellInput(int col, int row, const std::string &input, int sheet)
{
    if (input.empty()) {
        DoClearCell(col, row, ClearContents, sheet);
        return true;
    }
    if (input.size() > 1 && input.front() == '=')
        return DoSetCellFormula(col, row, input, sheet);
    double number = 0;
    if (parseCellNumber(input, number))
        DoSetCellData(col, row, number, sheet);
    else
        DoSetCellData(col, row, CellValue::text(input), sheet);
    return true;
}

void Workbook::DoRedrawCell(int col, int row)
{
    if (m_listener)
        m_listener(WorkbookChange{WorkbookChange::Cells, m_current, CellRange{col, row, col, row}});
}

std::string Workbook::formulaText(int sheet, int col, int row) const
{
    return sheetRef(sheet).formulaText(col, row);
}

std::string Workbook::displayText(int sheet, int col, int row) const
{
    const Sheet &s = sheetRef(sheet);
    return formatCellValue(s.value(col, row), m_styles.format(s.styleId(col, row)));
}

// --- layout ---

void Workbook::DoJoinCells(int col1, int row1, int col2, int row2, int sheet)
{
    const int index = resolve(sheet);
    Sheet &s = sheetRef(index);
    CellRange r = clipTo(s, CellRange::normalized(col1, row1, col2, row2));
    if (r.isEmpty())
        return;
    std::vector<CellRange> before = s.merges();
    std::vector<CellRange> after;
    for (const CellRange &m : before)
        if (!m.intersects(r))
            after.push_back(m);
    if (r.colCount() > 1 || r.rowCount() > 1)
        after.push_back(r);
    if (after == before)
        return;
    auto cmd = std::make_unique<MergesCommand>(&s, std::move(before), std::move(after));
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoUnjoinCells(int col, int row, int sheet)
{
    Sheet &s = sheetRef(sheet);
    std::vector<CellRange> before = s.merges();
    std::vector<CellRange> after;
    for (const CellRange &m : before)
        if (!m.contains(col, row))
            after.push_back(m);
    if (after.size() == before.size())
        return;
    auto cmd = std::make_unique<MergesCommand>(&s, std::move(before), std::move(after));
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoSetColWidth(int col, int width, int sheet)
{
    DoSetColWidthRange(col, col, width, 0, sheet);
}

int Workbook::DoGetColWidth(int col, int sheet) const
{
    return sheetRef(sheet).colWidth(col);
}

void Workbook::DoSetColWidthRange(int col1, int col2, int width, int flag, int sheet)
{
    (void)flag;
    Sheet &s = sheetRef(sheet);
    if (col1 > col2)
        std::swap(col1, col2);
    col1 = std::max(col1, 0);
    col2 = std::min(col2, s.cols() - 1);
    width = std::max(width, 0);
    auto cmd = std::make_unique<SizesCommand>(&s, false);
    for (int c = col1; c <= col2; ++c)
        if (s.colWidth(c) != width)
            cmd->add(c, s.colWidth(c), width);
    if (cmd->empty())
        return;
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoSetRowHeight(int row, int height, int sheet)
{
    DoSetRowHeightRange(row, row, height, 0, sheet);
}

int Workbook::DoGetRowHeight(int row, int sheet) const
{
    return sheetRef(sheet).rowHeight(row);
}

void Workbook::DoSetRowHeightRange(int row1, int row2, int height, int flag, int sheet)
{
    (void)flag;
    Sheet &s = sheetRef(sheet);
    if (row1 > row2)
        std::swap(row1, row2);
    row1 = std::max(row1, 0);
    row2 = std::min(row2, s.rows() - 1);
    height = std::max(height, 0);
    auto cmd = std::make_unique<SizesCommand>(&s, true);
    for (int r = row1; r <= row2; ++r)
        if (s.rowHeight(r) != height)
            cmd->add(r, s.rowHeight(r), height);
    if (cmd->empty())
        return;
    cmd->apply(*this, false);
    record(std::move(cmd));
}

int Workbook::DoGetBestColWidth(int col, int sheet) const
{
    const int index = resolve(sheet);
    const Sheet &s = sheetRef(index);
    if (col < 0 || col >= s.cols())
        return Sheet::DefaultColWidth;
    const TextMeasurer &m = textMeasurer();
    double best = 0;
    for (int r = 0; r < s.rows(); ++r) {
        if (col >= s.storedCols(r))
            continue;
        if (auto merge = s.mergeAt(col, r); merge && merge->colCount() > 1)
            continue;
        const std::string text = displayText(index, col, r);
        if (text.empty())
            continue;
        const FontSpec font = DoGetCellFont(col, r, index);
        double w = 0;
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t nl = text.find('\n', start);
            const std::string_view line(text.data() + start, (nl == std::string::npos ? text.size() : nl) - start);
            w = std::max(w, m.textWidth(font, line));
            if (nl == std::string::npos)
                break;
            start = nl + 1;
        }
        best = std::max(best, w);
    }
    if (best <= 0)
        return s.colWidth(col);
    return static_cast<int>(std::ceil(best)) + 8; // cell padding on both sides
}

int Workbook::DoGetBestRowHeight(int row, int sheet) const
{
    const int index = resolve(sheet);
    const Sheet &s = sheetRef(index);
    const TextMeasurer &m = textMeasurer();
    double best = m.lineHeight(m_defaultFont);
    if (row < 0 || row >= s.rows())
        return static_cast<int>(std::ceil(best)) + 4;
    for (int c = 0; c < s.storedCols(row); ++c) {
        if (auto merge = s.mergeAt(c, row); merge && merge->rowCount() > 1)
            continue;
        const FontSpec font = DoGetCellFont(c, row, index);
        const double lh = m.lineHeight(font);
        const std::string text = displayText(index, c, row);
        int lines = 1;
        if (!text.empty()) {
            lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
            if (cellFormat(c, row, index).textStyle == 1) {
                double width = s.colWidth(c) - 8;
                if (auto merge = s.mergeAt(c, row)) {
                    width = -8;
                    for (int k = merge->col1; k <= merge->col2; ++k)
                        width += s.colWidth(k);
                }
                if (width > 0)
                    lines = std::max(lines, static_cast<int>(std::ceil(m.textWidth(font, text) / width)));
            }
        }
        best = std::max(best, lh * lines);
    }
    return static_cast<int>(std::ceil(best)) + 4;
}

void Workbook::structural(int sheet, bool rows, bool insert, int at, int count)
{
    Sheet &s = sheetRef(sheet);
    if (count <= 0)
        return;
    const int limit = rows ? s.rows() : s.cols();
    if (insert ? (at < 0 || at > limit) : (at < 0 || at >= limit))
        return;
    if (!insert)
        count = std::min(count, limit - at);
    auto cmd = std::make_unique<StructCommand>(&s, rows, insert, at, count);
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoInsertRows(int start, int count, int sheet)
{
    structural(resolve(sheet), true, true, start, count);
}

void Workbook::DoInsertCols(int count)
{
    DoInsertCols(CurrentCol(), count, -1);
}

void Workbook::DoInsertCols(int start, int count, int sheet)
{
    structural(resolve(sheet), false, true, start, count);
}

void Workbook::DoDeleteRows(int start, int count, int sheet)
{
    structural(resolve(sheet), true, false, start, count);
}

void Workbook::DoDeleteCols(int start, int count, int sheet)
{
    structural(resolve(sheet), false, false, start, count);
}

void Workbook::DoSetUnScrollRow(int first, int last, int sheet)
{
    Sheet &s = sheetRef(sheet);
    FrozenRows after;
    if (first >= 0 && last >= first)
        after = FrozenRows{first, last};
    const FrozenRows before = s.frozenRows();
    if (before == after)
        return;
    Sheet *sp = &s;
    auto cmd = std::make_unique<LambdaCommand>([sp, before](Workbook &) { SheetEdit::setFrozen(*sp, before); },
                                               [sp, after](Workbook &) { SheetEdit::setFrozen(*sp, after); }, sp,
                                               WorkbookChange::Layout);
    cmd->redo(*this);
    record(std::move(cmd));
}

// --- formats ---

void Workbook::modifyStyle(int sheet, int col, int row, const std::function<void(CellFormat &)> &edit)
{
    Sheet &s = sheetRef(sheet);
    CellRange r = row == -2 ? CellRange{col, 0, col, s.rows() - 1} : CellRange{col, row, col, row};
    modifyStyleRange(s, r, edit);
}

void Workbook::modifyStyleRange(Sheet &s, CellRange r, const std::function<void(CellFormat &)> &edit)
{
    r = clipTo(s, r);
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
    const CellRange r = clipTo(s, CellRange::normalized(col1, row1, col2, row2));
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

// --- selection ---

CellRange Workbook::DoGetSelection(int sheet) const
{
    return sheetRef(sheet).selection();
}

void Workbook::DoSelectRange(int col1, int row1, int col2, int row2)
{
    Sheet &s = sheetRef(-1);
    const CellRange r = CellRange::normalized(col1, row1, col2, row2);
    int col = s.currentCol(), row = s.currentRow();
    if (!r.contains(col, row)) {
        col = r.col1;
        row = r.row1;
    }
    SheetEdit::setView(s, r, col, row);
    if (m_listener)
        m_listener(WorkbookChange{WorkbookChange::Selection, m_current, r});
}

void Workbook::DoGotoCell(int col, int row)
{
    Sheet &s = sheetRef(-1);
    col = std::clamp(col, 0, std::max(s.cols() - 1, 0));
    row = std::clamp(row, 0, std::max(s.rows() - 1, 0));
    SheetEdit::setView(s, CellRange{col, row, col, row}, col, row);
    if (m_listener)
        m_listener(WorkbookChange{WorkbookChange::Selection, m_current, CellRange{col, row, col, row}});
}

int Workbook::CurrentCol() const
{
    return sheetRef(-1).currentCol();
}

int Workbook::CurrentRow() const
{
    return sheetRef(-1).currentRow();
}

// --- clipboard ---

void Workbook::DoCopyRange(int col1, int row1, int col2, int row2, int sheet)
{
    const Sheet &s = sheetRef(sheet);
    const CellRange r = clipTo(s, CellRange::normalized(col1, row1, col2, row2));
    if (r.isEmpty())
        return;
    auto clip = std::make_unique<Clip>();
    clip->cols = r.colCount();
    clip->rows = r.rowCount();
    clip->srcCol = r.col1;
    clip->srcRow = r.row1;
    clip->cells.reserve(static_cast<std::size_t>(clip->cols) * static_cast<std::size_t>(clip->rows));
    for (int row = r.row1; row <= r.row2; ++row)
        for (int col = r.col1; col <= r.col2; ++col)
            clip->cells.push_back(SheetEdit::snapshot(s, col, row));
    for (const CellRange &m : s.merges())
        if (m.col1 >= r.col1 && m.col2 <= r.col2 && m.row1 >= r.row1 && m.row2 <= r.row2)
            clip->merges.push_back(CellRange{m.col1 - r.col1, m.row1 - r.row1, m.col2 - r.col1, m.row2 - r.row1});
    m_clip = std::move(clip);
}

void Workbook::DoCopy()
{
    const CellRange r = DoGetSelection();
    DoCopyRange(r.col1, r.row1, r.col2, r.row2);
}

int Workbook::DoCut(const WriteGuard &guard)
{
    const CellRange r = clipTo(sheetRef(-1), DoGetSelection());
    if (r.isEmpty())
        return 0;
    int kept = 0;
    DoCopyRange(r.col1, r.row1, r.col2, r.row2);
    UndoGroup group(*this);
    Sheet &s = sheetRef(-1);
    auto cmd = std::make_unique<CellsCommand>(&s);
    for (int row = r.row1; row <= r.row2; ++row)
        for (int col = r.col1; col <= r.col2; ++col) {
            CellSnapshot before = SheetEdit::snapshot(s, col, row);
            if (before.value.isEmpty() && !before.hasFormula)
                continue;
            if (!guard.allows(col, row)) {
                ++kept;
                continue;
            }
            CellSnapshot after;
            after.style = before.style;
            cmd->add(col, row, std::move(before), std::move(after));
        }
    if (cmd->empty())
        return kept;
    cmd->apply(*this, false);
    record(std::move(cmd));
    return kept;
}

bool Workbook::hasClipboard() const
{
    return m_clip != nullptr;
}

CellRange Workbook::clipboardRange() const
{
    if (!m_clip)
        return CellRange{};
    return CellRange{0, 0, m_clip->cols - 1, m_clip->rows - 1};
}

namespace {

// Moves every reference of a formula by (dc, dr), as a copied formula does; references that
// leave the sheet become #REF!.
void shiftFormula(Formula &f, int dc, int dr)
{
    if (dr > 0)
        f.insertRows(0, dr);
    else if (dr < 0)
        f.deleteRows(0, -dr);
    if (dc > 0)
        f.insertCols(0, dc);
    else if (dc < 0)
        f.deleteCols(0, -dc);
}

} // namespace

int Workbook::DoPaste(int col, int row, bool whole, const WriteGuard &guard)
{
    if (!m_clip)
        return 0;
    int left = 0;
    const Clip &clip = *m_clip;
    Sheet &s = sheetRef(-1);
    UndoGroup group(*this);
    const int dc = col - clip.srcCol, dr = row - clip.srcRow;
    auto cmd = std::make_unique<CellsCommand>(&s);
    for (int r = 0; r < clip.rows; ++r)
        for (int c = 0; c < clip.cols; ++c) {
            const int tc = col + c, tr = row + r;
            if (!s.isValid(tc, tr) || !guard.allows(tc, tr)) {
                ++left;
                continue;
            }
            const CellSnapshot &src = clip.cells[static_cast<std::size_t>(r * clip.cols + c)];
            CellSnapshot before = SheetEdit::snapshot(s, tc, tr);
            CellSnapshot after;
            if (whole) {
                after = src;
                if (after.formula)
                    shiftFormula(*after.formula, dc, dr);
            } else {
                after.value = src.value;
                after.style = before.style;
            }
            if (!(after == before))
                cmd->add(tc, tr, std::move(before), std::move(after));
        }
    if (!cmd->empty()) {
        cmd->apply(*this, false);
        record(std::move(cmd));
    }
    if (!whole || left > 0)
        return left; // merges would span cells that were not written
    const CellRange target = clipTo(s, CellRange{col, row, col + clip.cols - 1, row + clip.rows - 1});
    std::vector<CellRange> before = s.merges();
    std::vector<CellRange> after;
    for (const CellRange &m : before)
        if (!m.intersects(target))
            after.push_back(m);
    for (const CellRange &m : clip.merges) {
        const CellRange placed = clipTo(s, CellRange{m.col1 + col, m.row1 + row, m.col2 + col, m.row2 + row});
        if (!placed.isEmpty() && (placed.colCount() > 1 || placed.rowCount() > 1))
            after.push_back(placed);
    }
    if (after != before) {
        auto mc = std::make_unique<MergesCommand>(&s, std::move(before), std::move(after));
        mc->apply(*this, false);
        record(std::move(mc));
    }
    return left;
}

namespace {

std::string rawText(const CellValue &v)
{
    if (v.isNumber())
        return formatGeneralNumber(v.number());
    if (v.isText())
        return v.text();
    if (v.isError())
        return cellErrorText(v.error());
    return {};
}

std::string quoteField(const std::string &s)
{
    if (s.find_first_of("\t\n\r\"") == std::string::npos)
        return s;
    std::string out = "\"";
    for (char ch : s) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + '"';
}

std::vector<std::vector<std::string>> parseTabText(const std::string &text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false, fieldStarted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (quoted) {
            if (ch == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += ch;
            }
            continue;
        }
        if (ch == '"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (ch == '\t') {
            row.push_back(std::move(field));
            field.clear();
            fieldStarted = false;
        } else if (ch == '\n' || ch == '\r') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            row.push_back(std::move(field));
            field.clear();
            fieldStarted = false;
            rows.push_back(std::move(row));
            row.clear();
        } else {
            field += ch;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace

std::string Workbook::copyRangeAsText(int col1, int row1, int col2, int row2, int sheet) const
{
    const Sheet &s = sheetRef(sheet);
    const CellRange r = clipTo(s, CellRange::normalized(col1, row1, col2, row2));
    std::string out;
    for (int row = r.row1; row <= r.row2; ++row) {
        for (int col = r.col1; col <= r.col2; ++col) {
            if (col > r.col1)
                out += '\t';
            out += quoteField(rawText(s.value(col, row)));
        }
        out += '\n';
    }
    return out;
}

int Workbook::pasteText(int col, int row, const std::string &text, int sheet, const WriteGuard &guard)
{
    const int index = resolve(sheet);
    const auto rows = parseTabText(text);
    if (rows.empty() || col < 0 || row < 0)
        return 0;
    std::size_t width = 0;
    for (const auto &r : rows)
        width = std::max(width, r.size());
    UndoGroup group(*this);
    const int needRows = std::min(row + static_cast<int>(rows.size()), guard.lastRow + 1);
    const int needCols = std::min(col + static_cast<int>(width), guard.lastCol + 1);
    if (needRows > Rows(index))
        SetRows(needRows, index);
    if (needCols > Cols(index))
        SetCols(needCols, index);
    int left = 0;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const int tc = col + static_cast<int>(c), tr = row + static_cast<int>(r);
            if (!guard.allows(tc, tr)) {
                left += !rows[r][c].empty();
                continue;
            }
            setCellInput(tc, tr, rows[r][c], index);
        }
    return left;
}

// --- find and sort ---

namespace {

std::string lowerAscii(std::string s)
{
    for (char &ch : s)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return s;
}

} // namespace

std::optional<CellPos> Workbook::findNext(const std::string &text, int fromCol, int fromRow, bool matchCase,
                                          int sheet) const
{
    const int index = resolve(sheet);
    const Sheet &s = sheetRef(index);
    if (text.empty() || s.cols() == 0 || s.rows() == 0)
        return std::nullopt;
    const std::string needle = matchCase ? text : lowerAscii(text);
    const long total = static_cast<long>(s.cols()) * s.rows();
    long start = fromRow < 0 ? -1 : static_cast<long>(fromRow) * s.cols() + fromCol;
    for (long step = 1; step <= total; ++step) {
        const long pos = (start + step) % total;
        const int row = static_cast<int>(pos / s.cols());
        const int col = static_cast<int>(pos % s.cols());
        if (col >= s.storedCols(row)) {
            // Skip the rest of an unused row quickly.
            const long skip = s.cols() - col - 1;
            step += skip;
            continue;
        }
        std::string shown = displayText(index, col, row);
        if (shown.empty())
            continue;
        if (!matchCase)
            shown = lowerAscii(shown);
        if (shown.find(needle) != std::string::npos)
            return CellPos{col, row};
    }
    return std::nullopt;
}

void Workbook::DoSortRows(int col, bool ascending, int sheet)
{
    const int index = resolve(sheet);
    Sheet &s = sheetRef(index);
    CellRange sel = clipTo(s, s.selection());
    if (sel.isEmpty() || sel.rowCount() < 2 || col < 0 || col >= s.cols())
        return;
    const int first = sel.row1, n = sel.rowCount();
    std::vector<CellValue> keys;
    keys.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        keys.push_back(s.value(col, first + i));
    std::vector<int> order = SortOrder::of(keys, ascending);
    bool identity = true;
    for (int i = 0; i < n; ++i)
        identity = identity && order[static_cast<std::size_t>(i)] == i;
    if (identity)
        return;
    auto cmd = std::make_unique<PermuteCommand>(&s, first, std::move(order));
    cmd->apply(*this, false);
    record(std::move(cmd));
}

// --- sheets ---

void Workbook::DoSetCurrentSheet(int index)
{
    if (index < 0 || index >= SheetCount() || index == m_current)
        return;
    m_current = index;
    if (m_listener)
        m_listener(WorkbookChange{WorkbookChange::Sheets, m_current, {}});
}

std::string Workbook::DoGetSheetLabel(int index) const
{
    if (index < 0 || index >= SheetCount())
        return {};
    return m_sheets[static_cast<std::size_t>(index)]->label();
}

int Workbook::findSheet(const std::string &label) const
{
    for (int i = 0; i < SheetCount(); ++i)
        if (m_sheets[static_cast<std::size_t>(i)]->label() == label)
            return i;
    return -1;
}

void Workbook::setSheetLabel(int index, const std::string &label)
{
    Sheet &s = sheetRef(index);
    const std::string before = s.label();
    if (before == label)
        return;
    Sheet *sp = &s;
    auto cmd =
        std::make_unique<LambdaCommand>([sp, before](Workbook &) { sp->setLabel(before); },
                                        [sp, label](Workbook &) { sp->setLabel(label); }, sp, WorkbookChange::Sheets);
    cmd->redo(*this);
    record(std::move(cmd));
}

void Workbook::DoAddSheet(const std::string &label, int count)
{
    DoInsertSheet(label, SheetCount(), count);
}

void Workbook::DoInsertSheet(const std::string &label, int index, int count)
{
    if (count <= 0)
        return;
    index = std::clamp(index, 0, SheetCount());
    std::vector<std::unique_ptr<Sheet>> sheets;
    for (int i = 0; i < count; ++i)
        sheets.push_back(std::make_unique<Sheet>(label, DefaultCols, DefaultRows));
    auto cmd = std::make_unique<SheetsCommand>(index, std::move(sheets), true);
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoDeleteSheets(int index, int count)
{
    if (index < 0 || index >= SheetCount() || count <= 0)
        return;
    count = std::min(count, SheetCount() - index);
    // A workbook always keeps one sheet.
    if (count >= SheetCount())
        count = SheetCount() - 1;
    if (count <= 0)
        return;
    if (!m_undo.isRecording() && !m_undo.isReplaying()) {
        // The sheets are destroyed with the unrecorded command: history that refers to them
        // could not be undone any more.
        for (int i = index; i < index + count; ++i)
            if (m_undo.refersTo(m_sheets[static_cast<std::size_t>(i)].get())) {
                m_undo.clear();
                break;
            }
    }
    auto cmd = std::make_unique<SheetsCommand>(index, std::vector<std::unique_ptr<Sheet>>{}, false, count);
    cmd->apply(*this, false);
    record(std::move(cmd));
}

void Workbook::DoCopySheet(int target, int source)
{
    if (target < 0 || target >= SheetCount() || source < 0 || source >= SheetCount() || target == source)
        return;
    Sheet &dst = sheetRef(target);
    auto held = std::make_unique<Sheet>("", 0, 0);
    SheetEdit::copyContent(*held, sheetRef(source));
    auto cmd = std::make_unique<SwapContentCommand>(&dst, std::move(held));
    cmd->apply(*this, false);
    record(std::move(cmd));
}

// --- files and state ---

void Workbook::DoResetWorkbook()
{
    m_sheets.clear();
    m_sheets.push_back(std::make_unique<Sheet>("Sheet1", DefaultCols, DefaultRows));
    m_current = 0;
    m_styles.clear();
    m_defaultFont = FontSpec{"宋体", 9, 0};
    m_readers.clear();
    m_reads.clear();
    m_undo.clear();
    m_clip.reset();
    m_modified = false;
    if (m_listener)
        m_listener(WorkbookChange{WorkbookChange::Reset, -1, {}});
}

void Workbook::DoSetModified(bool modified)
{
    m_modified = modified;
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
