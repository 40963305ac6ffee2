#include "import/XlsxReader.h"

#include "import/ImportError.h"

#include <expat.h>
#include <zip.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string_view>

namespace vantor {

namespace {

const char *const kDamaged = "文件不是有效的 Excel 工作簿（.xlsx），或者已经损坏。";

// The local part of a possibly prefixed XML name ("x:row" → "row").
std::string_view localName(const char *name)
{
    std::string_view n(name);
    const auto colon = n.rfind(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

const char *attribute(const char **attrs, std::string_view wanted)
{
    for (int i = 0; attrs[i]; i += 2)
        if (localName(attrs[i]) == wanted)
            return attrs[i + 1];
    return nullptr;
}

// An attribute whose name carries a namespace prefix ("r:id"), as opposed to a plain "id".
const char *prefixedAttribute(const char **attrs, std::string_view wanted)
{
    for (int i = 0; attrs[i]; i += 2) {
        const std::string_view n(attrs[i]);
        if (n.find(':') != std::string_view::npos && localName(attrs[i]) == wanted)
            return attrs[i + 1];
    }
    return nullptr;
}

int toInt(const char *text, int fallback)
{
    if (!text)
        return fallback;
    int value = fallback;
    const std::string_view s(text);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() ? value : fallback;
}

// Receives the events of one XML part.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void start(std::string_view name, const char **attrs) = 0;
    virtual void end(std::string_view name) = 0;
    virtual void text(std::string_view) {}
};

// The archive, with a budget for everything decompressed from it.
class XlsxArchive {
public:
    XlsxArchive(const std::string &path, std::uint64_t maxBytes) : m_maxBytes(maxBytes)
    {
        int error = 0;
        m_zip = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
        if (!m_zip) {
            if (error == ZIP_ER_OPEN || error == ZIP_ER_NOENT || error == ZIP_ER_READ)
                throw ImportError("无法读取文件：" + path);
            throw ImportError(kDamaged);
        }
    }
    ~XlsxArchive() { zip_discard(m_zip); }
    XlsxArchive(const XlsxArchive &) = delete;
    XlsxArchive &operator=(const XlsxArchive &) = delete;

    bool has(const std::string &name) const { return zip_name_locate(m_zip, name.c_str(), 0) >= 0; }

    // Streams the part through expat into the handler. Throws ImportError for a missing,
    // damaged or oversized part and for declarations of document types or entities.
    void parse(const std::string &name, XmlHandler &handler)
    {
        zip_file_t *file = zip_fopen(m_zip, name.c_str(), 0);
        if (!file)
            throw ImportError("文件中缺少“" + name + "”部分，不是完整的 Excel 工作簿。");
        std::unique_ptr<zip_file_t, int (*)(zip_file_t *)> closer(file, zip_fclose);
        // The sizes in the directory are checked first; the bytes really read are counted too,
        // since a hostile file may state smaller sizes than it holds.
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(m_zip, name.c_str(), 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) &&
            stat.size > m_maxBytes - std::min(m_read, m_maxBytes))
            throw ImportError(tooLarge());
        std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate("UTF-8"), XML_ParserFree);
        if (!parser)
            throw std::bad_alloc();
        Context context{parser.get(), &handler, false, nullptr};
        XML_SetUserData(parser.get(), &context);
        XML_SetElementHandler(parser.get(), &Context::onStart, &Context::onEnd);
        XML_SetCharacterDataHandler(parser.get(), &Context::onText);
        XML_SetStartDoctypeDeclHandler(parser.get(), &Context::onDoctype);
        XML_SetEntityDeclHandler(parser.get(), &Context::onEntity);

        char buffer[64 * 1024];
        for (;;) {
            const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
            if (n < 0)
                throw ImportError(kDamaged);
            m_read += static_cast<std::uint64_t>(n);
            if (m_read > m_maxBytes)
                throw ImportError(tooLarge());
            if (XML_Parse(parser.get(), buffer, static_cast<int>(n), n == 0) == XML_STATUS_ERROR) {
                if (context.failure)
                    std::rethrow_exception(context.failure);
                if (context.declaration)
                    throw ImportError("文件的“" + name + "”部分含有文档类型或实体声明，出于安全考虑不能打开。");
                throw ImportError("文件的“" + name + "”部分已经损坏：" +
                                  XML_ErrorString(XML_GetErrorCode(parser.get())));
            }
            if (n == 0)
                break;
        }
    }

private:
    // Exceptions must not cross expat's C frames: they are kept here and rethrown after it returns.
    struct Context {
        XML_Parser parser;
        XmlHandler *handler;
        bool declaration;
        std::exception_ptr failure;

        static Context &of(void *data) { return *static_cast<Context *>(data); }
        template <typename F> static void guarded(void *data, F &&f)
        {
            Context &c = of(data);
            if (c.failure)
                return;
            try {
                f(c);
            } catch (...) {
                c.failure = std::current_exception();
                XML_StopParser(c.parser, XML_FALSE);
            }
        }
        static void onStart(void *data, const XML_Char *name, const XML_Char **attrs)
        {
            guarded(data, [&](Context &c) { c.handler->start(localName(name), attrs); });
        }
        static void onEnd(void *data, const XML_Char *name)
        {
            guarded(data, [&](Context &c) { c.handler->end(localName(name)); });
        }
        static void onText(void *data, const XML_Char *s, int len)
        {
            guarded(data, [&](Context &c) { c.handler->text(std::string_view(s, static_cast<std::size_t>(len))); });
        }
        static void onDoctype(void *data, const XML_Char *, const XML_Char *, const XML_Char *, int)
        {
            Context &c = of(data);
            c.declaration = true;
            XML_StopParser(c.parser, XML_FALSE);
        }
        static void onEntity(void *data, const XML_Char *, int, const XML_Char *, int, const XML_Char *,
                             const XML_Char *, const XML_Char *, const XML_Char *)
        {
            Context &c = of(data);
            c.declaration = true;
            XML_StopParser(c.parser, XML_FALSE);
        }
    };

    std::string tooLarge() const
    {
        return "文件解压后超过 " + std::to_string(m_maxBytes / (1024 * 1024)) + " MB，可能是恶意构造的文件，不能打开。";
    }

    zip_t *m_zip = nullptr;
    std::uint64_t m_maxBytes;
    std::uint64_t m_read = 0;
};

// Resolves a relationship target against the folder of the part that names it.
std::string resolve(const std::string &folder, std::string_view target)
{
    std::string path = target.starts_with('/') ? std::string(target.substr(1)) : folder + std::string(target);
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, slash - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    std::string out;
    for (const std::string &p : parts)
        out += (out.empty() ? "" : "/") + p;
    return out;
}

std::string folderOf(const std::string &part)
{
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

class RelationshipsHandler : public XmlHandler {
public:
    std::map<std::string, std::string> targets; // id → target
    std::string officeDocument;

    void start(std::string_view name, const char **attrs) override
    {
        if (name != "Relationship")
            return;
        const char *id = attribute(attrs, "Id");
        const char *target = attribute(attrs, "Target");
        const char *type = attribute(attrs, "Type");
        if (id && target)
            targets[id] = target;
        if (target && type && std::string_view(type).ends_with("/officeDocument"))
            officeDocument = target;
    }
    void end(std::string_view) override {}
};

class WorkbookHandler : public XmlHandler {
public:
    struct Entry {
        std::string name, relationship;
    };
    std::vector<Entry> sheets;
    bool date1904 = false;

    void start(std::string_view name, const char **attrs) override
    {
        if (name == "sheet") {
            const char *sheetName = attribute(attrs, "name");
            const char *rid = prefixedAttribute(attrs, "id");
            if (sheetName && rid)
                sheets.push_back({sheetName, rid});
        } else if (name == "workbookPr") {
            const char *d = attribute(attrs, "date1904");
            date1904 = d && (std::string_view(d) == "1" || std::string_view(d) == "true");
        }
    }
    void end(std::string_view) override {}
};

class SharedStringsHandler : public XmlHandler {
public:
    std::vector<std::string> strings;

    void start(std::string_view name, const char **) override
    {
        if (name == "si")
            strings.emplace_back();
        else if (name == "t" && m_phonetic == 0)
            m_inText = true;
        else if (name == "rPh")
            ++m_phonetic;
    }
    void end(std::string_view name) override
    {
        if (name == "t")
            m_inText = false;
        else if (name == "rPh")
            --m_phonetic;
    }
    void text(std::string_view s) override
    {
        if (m_inText && !strings.empty())
            strings.back() += s;
    }

private:
    bool m_inText = false;
    int m_phonetic = 0;
};

bool isBuiltInDateFormat(int id)
{
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

bool builtInShowsTime(int id)
{
    return (id >= 18 && id <= 22) || (id >= 45 && id <= 47) || id == 32 || id == 33;
}

class StylesHandler : public XmlHandler {
public:
    struct DateStyle {
        bool date = false, time = false;
    };
    std::vector<DateStyle> xfs; // per cell style index

    void start(std::string_view name, const char **attrs) override
    {
        if (name == "numFmt") {
            const char *code = attribute(attrs, "formatCode");
            if (code)
                m_custom[toInt(attribute(attrs, "numFmtId"), -1)] = code;
        } else if (name == "cellXfs") {
            m_inCellXfs = true;
        } else if (name == "xf" && m_inCellXfs) {
            const int id = toInt(attribute(attrs, "numFmtId"), 0);
            DateStyle style;
            if (const auto custom = m_custom.find(id); custom != m_custom.end()) {
                style.date = XlsxReader::isDateFormat(custom->second);
                style.time = style.date && custom->second.find_first_of("hHsS") != std::string::npos;
            } else {
                style.date = isBuiltInDateFormat(id);
                style.time = builtInShowsTime(id);
            }
            xfs.push_back(style);
        }
    }
    void end(std::string_view name) override
    {
        if (name == "cellXfs")
            m_inCellXfs = false;
    }

private:
    std::map<int, std::string> m_custom;
    bool m_inCellXfs = false;
};

std::string numberInput(double value)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

class WorksheetHandler : public XmlHandler {
public:
    WorksheetHandler(ForeignSheet &sheet, const std::vector<std::string> &strings,
                     const std::vector<StylesHandler::DateStyle> &styles, bool date1904)
        : m_sheet(sheet), m_strings(strings), m_styles(styles), m_date1904(date1904)
    {
    }

    void start(std::string_view name, const char **attrs) override
    {
        if (name == "row") {
            // A row number beyond the limit is kept just past it: a value there is refused.
            const int r = toInt(attribute(attrs, "r"), 0);
            m_row = r >= 1 ? std::min(r, ForeignSheet::MaxRows + 1) - 1 : std::min(m_row + 1, ForeignSheet::MaxRows);
            m_col = -1;
        } else if (name == "c") {
            int col = m_col + 1, row = m_row;
            if (const char *ref = attribute(attrs, "r"); ref && !XlsxReader::parseReference(ref, col, row))
                throw ImportError("工作表“" + m_sheet.name + "”中有无效的单元格地址：" + ref);
            m_col = std::min(col, ForeignSheet::MaxCols);
            m_cellRow = std::max(row, 0);
            const char *type = attribute(attrs, "t");
            m_type = type ? type : "n";
            m_style = toInt(attribute(attrs, "s"), 0);
            m_value.clear();
            m_hasValue = false;
        } else if (name == "v" || (name == "t" && m_inInline)) {
            m_inValue = true;
            m_hasValue = true;
        } else if (name == "is") {
            m_inInline = true;
        } else if (name == "rPh") {
            ++m_phonetic;
        } else if (name == "col") {
            const int first = toInt(attribute(attrs, "min"), 0);
            const int last = std::min(toInt(attribute(attrs, "max"), first), ForeignSheet::MaxCols);
            const char *width = attribute(attrs, "width");
            if (first >= 1 && width) {
                double chars = 0;
                const std::string_view w(width);
                std::from_chars(w.data(), w.data() + w.size(), chars);
                const int pixels = static_cast<int>(std::lround(std::clamp(chars, 0.0, 255.0) * 7 + 5));
                for (int c = first; c <= last; ++c)
                    m_sheet.colWidths.emplace_back(c - 1, pixels);
            }
        } else if (name == "mergeCell") {
            const char *ref = attribute(attrs, "ref");
            const std::string_view r = ref ? ref : "";
            const auto colon = r.find(':');
            CellRange range;
            if (colon != std::string_view::npos &&
                XlsxReader::parseReference(r.substr(0, colon), range.col1, range.row1) &&
                XlsxReader::parseReference(r.substr(colon + 1), range.col2, range.row2) && !range.isEmpty() &&
                range.col2 < ForeignSheet::MaxCols && range.row2 < ForeignSheet::MaxRows)
                m_sheet.merges.push_back(range);
        }
    }

    void end(std::string_view name) override
    {
        if (name == "v" || name == "t") {
            m_inValue = false;
        } else if (name == "is") {
            m_inInline = false;
        } else if (name == "rPh") {
            --m_phonetic;
        } else if (name == "c") {
            finishCell();
        }
    }

    void text(std::string_view s) override
    {
        if (m_inValue && m_phonetic == 0)
            m_value += s;
    }

private:
    void finishCell()
    {
        if (!m_hasValue || (m_value.empty() && m_type != "inlineStr" && m_type != "str"))
            return;
        ForeignCell cell;
        cell.col = m_col;
        cell.row = m_cellRow;
        if (m_type == "s") {
            const int index = toInt(m_value.c_str(), -1);
            if (index < 0 || index >= static_cast<int>(m_strings.size()))
                throw ImportError("工作表“" + m_sheet.name + "”引用了不存在的共享文本，文件已经损坏。");
            cell.input = m_strings[static_cast<std::size_t>(index)];
        } else if (m_type == "inlineStr" || m_type == "str" || m_type == "e") {
            cell.input = m_value;
        } else if (m_type == "b") {
            cell.input = m_value == "1" || m_value == "true" ? "TRUE" : "FALSE";
        } else {
            double number = 0;
            const auto [end, ec] = std::from_chars(m_value.data(), m_value.data() + m_value.size(), number);
            if (ec != std::errc() || !std::isfinite(number))
                throw ImportError("工作表“" + m_sheet.name + "”中有无效的数值：" + m_value);
            const bool date = m_style >= 0 && m_style < static_cast<int>(m_styles.size()) &&
                              m_styles[static_cast<std::size_t>(m_style)].date;
            if (date) {
                cell.input =
                    XlsxReader::serialDateText(number, m_date1904, m_styles[static_cast<std::size_t>(m_style)].time);
            } else {
                cell.value = CellValue::number(number);
                cell.input = numberInput(number);
            }
        }
        if (cell.input.empty())
            return;
        if (cell.value.isEmpty())
            cell.value = CellValue::text(cell.input);
        if (cell.row >= ForeignSheet::MaxRows || cell.col >= ForeignSheet::MaxCols)
            throw ImportError("工作表“" + m_sheet.name + "”超过 " + std::to_string(ForeignSheet::MaxRows) + " 行或 " +
                              std::to_string(ForeignSheet::MaxCols) + " 列，不能打开。");
        m_sheet.rows = std::max(m_sheet.rows, cell.row + 1);
        m_sheet.cols = std::max(m_sheet.cols, cell.col + 1);
        m_sheet.cells.push_back(std::move(cell));
    }

    ForeignSheet &m_sheet;
    const std::vector<std::string> &m_strings;
    const std::vector<StylesHandler::DateStyle> &m_styles;
    bool m_date1904;
    int m_row = -1, m_col = -1, m_cellRow = 0, m_style = 0;
    std::string m_type, m_value;
    bool m_hasValue = false, m_inValue = false, m_inInline = false;
    int m_phonetic = 0;
};

} // namespace

bool XlsxReader::parseReference(std::string_view ref, int &col, int &row)
{
    std::size_t i = 0;
    long c = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && c <= 16384)
        c = c * 26 + (ref[i++] - 'A' + 1);
    if (i == 0 || i == ref.size() || c > 16384)
        return false;
    long r = 0;
    for (std::size_t j = i; j < ref.size(); ++j) {
        if (ref[j] < '0' || ref[j] > '9' || r > 1048576)
            return false;
        r = r * 10 + (ref[j] - '0');
    }
    if (r < 1 || r > 1048576)
        return false;
    col = static_cast<int>(c - 1);
    row = static_cast<int>(r - 1);
    return true;
}

std::string XlsxReader::serialDateText(double serial, bool date1904, bool withTime)
{
    using namespace std::chrono;
    // Seconds, rounded, so that 0.99999999 of a day does not show as 23:59:59.
    const long long totalSeconds = std::llround(serial * 86400.0);
    long long days = totalSeconds / 86400;
    long long seconds = totalSeconds % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    // The 1900 system counts the non-existent 29 February 1900 as day 60.
    sys_days base = date1904 ? sys_days(year{1904} / January / 1) : sys_days(year{1899} / December / 31);
    if (!date1904 && days >= 60)
        --days;
    const year_month_day ymd{base + std::chrono::days(days)};
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    std::string text = buffer;
    if (withTime) {
        std::snprintf(buffer, sizeof buffer, " %02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
        text += buffer;
    }
    return text;
}

bool XlsxReader::isDateFormat(std::string_view code)
{
    // Only the first section counts; quoted text, escaped characters and [colour]/[locale]
    // brackets are not format letters.
    bool quoted = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (quoted) {
            quoted = c != '"';
        } else if (c == '"') {
            quoted = true;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == '[') {
            const auto close = code.find(']', i);
            if (close == std::string_view::npos)
                return false;
            // Elapsed-time brackets ([h], [mm]) are times.
            const std::string_view inside = code.substr(i + 1, close - i - 1);
            if (!inside.empty() && std::all_of(inside.begin(), inside.end(), [](char ch) {
                    return ch == 'h' || ch == 'H' || ch == 'm' || ch == 'M' || ch == 's' || ch == 'S';
                }))
                return true;
            i = close;
        } else if (c == ';') {
            return false;
        } else if (std::string_view("yYmMdDhHsS").find(c) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

std::vector<ForeignSheet> XlsxReader::read(const std::string &path, std::uint64_t maxUncompressedBytes)
{
    XlsxArchive archive(path, maxUncompressedBytes);

    std::string workbookPart = "xl/workbook.xml";
    if (archive.has("_rels/.rels")) {
        RelationshipsHandler root;
        archive.parse("_rels/.rels", root);
        if (!root.officeDocument.empty())
            workbookPart = resolve("", root.officeDocument);
    }
    WorkbookHandler workbook;
    archive.parse(workbookPart, workbook);
    const std::string folder = folderOf(workbookPart);
    RelationshipsHandler relationships;
    archive.parse(folder + "_rels/" + workbookPart.substr(folder.size()) + ".rels", relationships);

    SharedStringsHandler strings;
    StylesHandler styles;
    for (const auto &[id, target] : relationships.targets) {
        const std::string part = resolve(folder, target);
        if (part.ends_with("sharedStrings.xml") && archive.has(part))
            archive.parse(part, strings);
        else if (part.ends_with("styles.xml") && archive.has(part))
            archive.parse(part, styles);
    }

    std::vector<ForeignSheet> sheets;
    for (const WorkbookHandler::Entry &entry : workbook.sheets) {
        const auto target = relationships.targets.find(entry.relationship);
        if (target == relationships.targets.end())
            throw ImportError("工作表“" + entry.name + "”在文件中找不到，文件已经损坏。");
        ForeignSheet sheet;
        sheet.name = entry.name;
        WorksheetHandler handler(sheet, strings.strings, styles.xfs, workbook.date1904);
        archive.parse(resolve(folder, target->second), handler);
        sheets.push_back(std::move(sheet));
    }
    if (sheets.empty())
        throw ImportError("文件中没有工作表。");
    return sheets;
}

} // namespace vantor
