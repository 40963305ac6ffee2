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

namespace {

CellValue sanitize(const CellValue &v)
{
    if (v.isNumber() && !std::isfinite(v.number()))
        return CellValue::error(CellError::Value);
    return v;
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
    m_modified = false;
    notify(WorkbookChange{WorkbookChange::Reset, -1, {}});
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
    notify(WorkbookChange{kind, sheet, range});
}

void Workbook::notify(const WorkbookChange &change) const
{
    for (const auto &entry : m_listeners)
        entry.second(change);
}

int Workbook::addChangeListener(ChangeListener listener)
{
    m_listeners.emplace_back(m_nextListenerId, std::move(listener));
    return m_nextListenerId++;
}

void Workbook::removeChangeListener(int id)
{
    std::erase_if(m_listeners, [id](const auto &entry) { return entry.first == id; });
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
    notify(WorkbookChange{WorkbookChange::Cells, m_current, CellRange{col, row, col, row}});
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

void Workbook::DoSortRows(int first, int last, int col, bool ascending, int sheet)
{
    const int index = resolve(sheet);
    Sheet &s = sheetRef(index);
    CellRange sel = SheetEdit::clipTo(s, CellRange::normalized(0, first, 0, last));
    if (sel.isEmpty() || sel.rowCount() < 2 || col < 0 || col >= s.cols())
        return;
    first = sel.row1;
    const int n = sel.rowCount();
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
    notify(WorkbookChange{WorkbookChange::Sheets, m_current, {}});
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
    m_modified = false;
    notify(WorkbookChange{WorkbookChange::Reset, -1, {}});
}

void Workbook::DoSetModified(bool modified)
{
    m_modified = modified;
}

} // namespace vantor
