#include "output/ExcelExport.h"

#include "common/AtomicFile.h"
#include "output/ExcelFormula.h"
#include "output/ExcelNames.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailDisplay.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const std::string &reason)
{
    throw ExcelExportError("Excel文件没有写成：" + reason);
}

// The temporary file beside the target; removed unless it was renamed over the target.
class TempBeside {
public:
    explicit TempBeside(const std::string &target)
    {
        const fs::path t(target);
        std::error_code ec;
        if (fs::is_directory(t, ec))
            fail("“" + target + "”是一个文件夹。");
        const fs::path folder = t.has_parent_path() ? t.parent_path() : fs::path(".");
        std::string pattern = (folder / ("." + t.filename().string() + ".XXXXXX")).string();
        const int fd = mkstemp(pattern.data());
        if (fd < 0)
            fail(describeFileError(errno));
        // mkstemp makes the file private; give it the mode a new file (or the old target) has.
        struct stat old {};
        if (::stat(target.c_str(), &old) == 0) {
            (void)::fchmod(fd, old.st_mode & 07777);
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            (void)::fchmod(fd, 0666 & ~mask);
        }
        ::close(fd);
        m_path = pattern;
    }
    ~TempBeside()
    {
        if (!m_renamed)
            std::remove(m_path.c_str());
    }
    TempBeside(const TempBeside &) = delete;
    TempBeside &operator=(const TempBeside &) = delete;

    const std::string &path() const { return m_path; }

    // Flushes the finished file to disk and puts it in the target's place.
    void commit(const std::string &target)
    {
        const int fd = ::open(m_path.c_str(), O_RDONLY);
        if (fd < 0 || ::fsync(fd) != 0) {
            const int e = errno;
            if (fd >= 0)
                ::close(fd);
            fail(describeFileError(e));
        }
        ::close(fd);
        if (std::rename(m_path.c_str(), target.c_str()) != 0)
            fail(describeFileError(errno));
        m_renamed = true;
    }

private:
    std::string m_path;
    bool m_renamed = false;
};

// Closes (and thereby writes) the workbook unless close() did so already.
class XlsxBook {
public:
    explicit XlsxBook(const std::string &path)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        errno = 0;
        m_book = workbook_new_opt(path.c_str(), &options);
        if (!m_book)
            fail(describeFileError(errno ? errno : ENOMEM));
    }
    ~XlsxBook()
    {
        if (m_book)
            workbook_close(m_book);
    }
    XlsxBook(const XlsxBook &) = delete;
    XlsxBook &operator=(const XlsxBook &) = delete;

    lxw_workbook *get() const { return m_book; }

    void close()
    {
        errno = 0;
        const lxw_error error = workbook_close(m_book);
        const int e = errno;
        m_book = nullptr;
        if (error != LXW_NO_ERROR)
            fail(e ? describeFileError(e) : std::string(lxw_strerror(error)));
    }

private:
    lxw_workbook *m_book = nullptr;
};

uint8_t borderStyle(int line)
{
    return line == 2 ? LXW_BORDER_MEDIUM : line == 1 ? LXW_BORDER_THIN : LXW_BORDER_NONE;
}

// The face of raised and sunken cells as the sheet view paints it.
constexpr lxw_color_t ThreeDFace = 0xECECEC;

// Two Excel formats per style id of the workbook (as it is, and wrapping for texts with a line
// break), made when first used.
class FormatCache {
public:
    FormatCache(lxw_workbook *book, const Workbook &workbook)
        : m_book(book), m_workbook(workbook), m_formats(2 * workbook.styles().size(), nullptr)
    {
    }

    lxw_format *get(StyleId id, bool wrap = false)
    {
        if (2 * static_cast<std::size_t>(id) >= m_formats.size())
            id = 0;
        lxw_format *&slot = m_formats[2 * static_cast<std::size_t>(id) + (wrap ? 1 : 0)];
        if (!slot)
            slot = make(m_workbook.styles().format(id), wrap);
        return slot;
    }

    // The format of a number in a column with a display style of its own (DetailDisplay).
    lxw_format *withNumber(StyleId id, const NumberStyle &number)
    {
        if (id >= m_formats.size())
            id = 0;
        if (m_numbered.size() < m_formats.size())
            m_numbered.resize(m_formats.size(), nullptr);
        if (!m_numbered[id]) {
            CellFormat f = m_workbook.styles().format(id);
            f.number = number;
            m_numbered[id] = make(f, false);
        }
        return m_numbered[id];
    }

private:
    lxw_format *make(const CellFormat &f, bool wrap)
    {
        const FontSpec font = m_workbook.resolvedFont(f);
        lxw_format *x = workbook_add_format(m_book);
        format_set_font_name(x, font.name.c_str());
        format_set_font_size(x, font.size);
        const int style = font.style;
        if (fontStyleBold(style))
            format_set_bold(x);
        if (fontStyleItalic(style))
            format_set_italic(x);
        if (fontStyleUnderline(style))
            format_set_underline(x, LXW_UNDERLINE_SINGLE);
        switch (f.alignment) {
        case AlignLeft:
            format_set_align(x, LXW_ALIGN_LEFT);
            break;
        case AlignRight:
        case AlignRight2:
            format_set_align(x, LXW_ALIGN_RIGHT);
            break;
        case AlignCenter:
            format_set_align(x, LXW_ALIGN_CENTER);
            break;
        default:
            break;
        }
        format_set_align(x, LXW_ALIGN_VERTICAL_CENTER);
        if (f.textStyle == 1 || wrap)
            format_set_text_wrap(x);
        if (f.threeD == 1 || f.threeD == 2) {
            format_set_pattern(x, LXW_PATTERN_SOLID);
            format_set_bg_color(x, ThreeDFace);
        }
        const std::string number = ExcelExport::numberFormat(f);
        if (!number.empty())
            format_set_num_format(x, number.c_str());
        format_set_left(x, borderStyle(f.borders.left));
        format_set_top(x, borderStyle(f.borders.top));
        format_set_right(x, borderStyle(f.borders.right));
        format_set_bottom(x, borderStyle(f.borders.bottom));
        return x;
    }

    lxw_workbook *m_book;
    const Workbook &m_workbook;
    std::vector<lxw_format *> m_formats;
    std::vector<lxw_format *> m_numbered;
};

// Excel holds at most 32,767 characters in a cell; a longer text would be refused whole.
std::string cellText(const std::string &text)
{
    constexpr int limit = 32767;
    if (text.size() <= static_cast<std::size_t>(limit))
        return text;
    int chars = 0;
    std::size_t i = 0;
    for (; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++chars > limit)
            break;
    return text.substr(0, i);
}

// Line breaks as Excel shows them: line feeds only.
std::string withLineFeeds(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r')
            out += text[i];
        else if (i + 1 >= text.size() || text[i + 1] != '\n')
            out += '\n';
    }
    return out;
}

void writeValue(lxw_worksheet *ws, int row, int col, const CellValue &v, lxw_format *format, bool styled)
{
    switch (v.type()) {
    case CellValue::Type::Number:
        worksheet_write_number(ws, row, col, v.number(), format);
        break;
    case CellValue::Type::Text:
        if (v.text().empty()) {
            if (styled)
                worksheet_write_blank(ws, row, col, format);
        } else {
            worksheet_write_string(ws, row, col, cellText(withLineFeeds(v.text())).c_str(), format);
        }
        break;
    case CellValue::Type::Error:
        worksheet_write_string(ws, row, col, cellErrorText(v.error()), format);
        break;
    case CellValue::Type::Empty:
        if (styled)
            worksheet_write_blank(ws, row, col, format);
        break;
    }
}

void setUpPage(lxw_worksheet *ws, const ExcelPageSetup &page)
{
    constexpr double mmPerInch = 25.4;
    worksheet_set_paper(ws, 9); // A4
    if (page.landscape)
        worksheet_set_landscape(ws);
    else
        worksheet_set_portrait(ws);
    worksheet_fit_to_pages(ws, 1, 0);
    const auto &m = page.margins;
    worksheet_set_margins(ws, m[0] / mmPerInch, m[2] / mmPerInch, m[1] / mmPerInch, m[3] / mmPerInch);
    if (page.repeatFirst >= 0)
        worksheet_repeat_rows(ws, static_cast<lxw_row_t>(page.repeatFirst), static_cast<lxw_row_t>(page.repeatLast));
    // The header and footer sit in the middle of the top and bottom margins.
    lxw_header_footer_options header{std::max(m[1], 2.0) / mmPerInch / 2, nullptr, nullptr, nullptr};
    lxw_header_footer_options footer{std::max(m[3], 2.0) / mmPerInch / 2, nullptr, nullptr, nullptr};
    if (!page.header.empty() && worksheet_set_header_opt(ws, page.header.c_str(), &header) != LXW_NO_ERROR)
        fail("页眉过长。");
    if (!page.footer.empty() && worksheet_set_footer_opt(ws, page.footer.c_str(), &footer) != LXW_NO_ERROR)
        fail("页脚过长。");
}

void writeSheet(lxw_worksheet *ws, const Workbook &workbook, int index, FormatCache &formats)
{
    const Sheet &sheet = workbook.sheet(index);
    for (int c = 0; c < sheet.cols(); ++c)
        worksheet_set_column_pixels(ws, c, c, sheet.colWidth(c), nullptr);
    if (sheet.frozenRows().any())
        worksheet_freeze_panes(ws, sheet.frozenRows().last + 1, 0);

    // Excel refuses overlapping merges and single-cell ones; keep the first of any overlap.
    std::vector<CellRange> merges;
    for (const CellRange &m : sheet.merges()) {
        if (m.isEmpty() || (m.colCount() == 1 && m.rowCount() == 1))
            continue;
        if (std::none_of(merges.begin(), merges.end(), [&](const CellRange &o) { return o.intersects(m); }))
            merges.push_back(m);
    }
    std::sort(merges.begin(), merges.end(), [](const CellRange &a, const CellRange &b) { return a.row2 < b.row2; });
    std::size_t nextMerge = 0;
    // Amounts of detail sheets read as on screen and on paper.
    const ColumnNumberStyles columnStyles = DetailDisplay::columnStyles(sheet.label());

    const int rows = std::max(sheet.rows(), sheet.lastUsedRow() + 1);
    for (int row = 0; row < rows; ++row) {
        if (sheet.rowHeight(row) != Sheet::DefaultRowHeight)
            worksheet_set_row_pixels(ws, row, sheet.rowHeight(row), nullptr);
        // Registered at their last row: the writer only accepts the row it is on or later
        // ones, and the range's own cells are written by the loop below.
        for (; nextMerge < merges.size() && merges[nextMerge].row2 == row; ++nextMerge) {
            const CellRange &m = merges[nextMerge];
            worksheet_merge_range(ws, m.row1, m.col1, m.row2, m.col2, "", nullptr);
        }
        const int cols = sheet.storedCols(row);
        for (int col = 0; col < cols; ++col) {
            const StyleId style = sheet.styleId(col, row);
            const CellValue value = sheet.value(col, row);
            if (style == 0 && value.isEmpty() && !sheet.hasFormula(col, row))
                continue;
            const bool broken = value.isText() && value.text().find_first_of("\r\n") != std::string::npos;
            lxw_format *format = formats.get(style, broken);
            if (value.isNumber() && workbook.styles().format(style).number.kind == 0)
                if (const NumberStyle *number = columnStyles.at(col, row))
                    format = formats.withNumber(style, *number);
            if (sheet.hasFormula(col, row)) {
                if (const auto excel = ExcelFormula::translate(sheet.formula(col, row))) {
                    if (value.isText())
                        worksheet_write_formula_str(ws, row, col, excel->c_str(), format,
                                                    cellText(value.text()).c_str());
                    else
                        worksheet_write_formula_num(ws, row, col, excel->c_str(), format, value.number());
                    continue;
                }
            }
            writeValue(ws, row, col, value, format, style != 0 || broken);
        }
    }
}

} // namespace

std::string ExcelExport::numberFormat(const CellFormat &format)
{
    std::string code;
    if (format.number.kind == 1) {
        code = format.number.grouping ? "#,##0" : "0";
        const int decimals = std::clamp(format.number.decimals, 0, 15);
        if (decimals > 0)
            code += "." + std::string(static_cast<std::size_t>(decimals), '0');
        if (format.number.percent)
            code += "%";
    }
    if (!format.showZero) {
        // Positive; negative; zero shown as nothing.
        const std::string base = code.empty() ? "General" : code;
        code = base + ";-" + base + ";";
    }
    return code;
}

std::string ExcelExport::headerText(const std::string &text)
{
    std::string out;
    for (char ch : text) {
        out += ch;
        if (ch == '&')
            out += '&';
    }
    return out;
}

void ExcelExport::write(const Workbook &workbook, const std::string &path, const SheetTitle &title,
                        const PageSetupOf &pageSetup)
{
    TempBeside temp(path);
    {
        XlsxBook book(temp.path());
        FormatCache formats(book.get(), workbook);
        ExcelNames names;
        for (int i = 0; i < workbook.SheetCount(); ++i) {
            const std::string label = workbook.DoGetSheetLabel(i);
            const std::string name = names.take(title ? title(label) : label);
            lxw_worksheet *ws = workbook_add_worksheet(book.get(), name.c_str());
            if (!ws)
                fail("工作表“" + name + "”无法添加。");
            if (pageSetup)
                if (const auto page = pageSetup(i))
                    setUpPage(ws, *page);
            writeSheet(ws, workbook, i, formats);
        }
        book.close();
    }
    temp.commit(path);
}

} // namespace vantor
