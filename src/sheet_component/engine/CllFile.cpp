#include "sheet_component/engine/CllFile.h"

#include "common/AtomicFile.h"
#include "sheet_component/engine/CllBinaryReader.h"
#include "sheet_component/engine/CllBinaryWriter.h"
#include "sheet_component/engine/CllChecksum.h"
#include "sheet_component/engine/Workbook.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace vantor {

namespace {

constexpr char Magic[8] = {'\x89', 'V', 'C', 'L', 'L', '\r', '\n', '\x1a'};

constexpr std::uint32_t TagBook = cllTag("BOOK");
constexpr std::uint32_t TagSheet = cllTag("SHET");
constexpr std::uint32_t TagStyles = cllTag("STYL");
constexpr std::uint32_t TagHead = cllTag("HEAD");
constexpr std::uint32_t TagCells = cllTag("CELL");
constexpr std::uint32_t TagColWidths = cllTag("COLW");
constexpr std::uint32_t TagRowHeights = cllTag("ROWH");
constexpr std::uint32_t TagMerges = cllTag("MERG");
constexpr std::uint32_t TagFrozen = cllTag("FRZN");
constexpr std::uint32_t TagPrint = cllTag("PRNT");
constexpr std::uint32_t TagView = cllTag("VIEW");

// Cell record flags: the low three bits are the value kind.
enum ValueKind : std::uint8_t { ValueEmpty = 0, ValueDouble = 1, ValueDecimal = 2, ValueText = 3, ValueError = 4 };
constexpr std::uint8_t KindMask = 0x07;
constexpr std::uint8_t FlagFormula = 0x08;
constexpr std::uint8_t FlagStyle = 0x10;
constexpr std::uint8_t KnownFlags = KindMask | FlagFormula | FlagStyle;

// Numbers up to this size times 10000 are exact integers in a double.
constexpr double DecimalLimit = 9.0e11;
constexpr std::int64_t DecimalUnitsLimit = 9000000000000000LL;

constexpr std::uint32_t Unassigned = std::numeric_limits<std::uint32_t>::max();

std::uint8_t errorCode(CellError error)
{
    switch (error) {
    case CellError::Value:
        return 0;
    case CellError::Ref:
        return 1;
    case CellError::Div0:
        return 2;
    case CellError::Name:
        return 3;
    case CellError::Parse:
        return 4;
    case CellError::Cycle:
        return 5;
    }
    return 0;
}

CellError errorFromCode(std::uint8_t code)
{
    switch (code) {
    case 0:
        return CellError::Value;
    case 1:
        return CellError::Ref;
    case 2:
        return CellError::Div0;
    case 3:
        return CellError::Name;
    case 4:
        return CellError::Parse;
    case 5:
        return CellError::Cycle;
    default:
        CllBinaryReader::damaged("错误值代码无效");
    }
}

// An amount with at most four decimals as ten-thousandths, when that gives back the very same
// double on reading.
bool asDecimal(double value, std::int64_t &units)
{
    if (!(std::fabs(value) < DecimalLimit))
        return false;
    const auto candidate = static_cast<std::int64_t>(std::llround(value * 10000.0));
    if (std::bit_cast<std::uint64_t>(static_cast<double>(candidate) / 10000.0) != std::bit_cast<std::uint64_t>(value))
        return false;
    units = candidate;
    return true;
}

std::string messageFor(CllFileError::Kind kind, const std::string &detail, const std::string &path)
{
    const std::string name = path.empty() ? std::string() : "“" + path + "”";
    switch (kind) {
    case CllFileError::Kind::Io:
        return "无法打开工作簿文件" + name + "：" + detail;
    case CllFileError::Kind::TooShort:
        return "工作簿文件" + name + "格式错误：文件长度不足 1024 字节。";
    case CllFileError::Kind::NotWorkbook:
        return "文件" + name + "不是工作簿文件，格式错误。";
    case CllFileError::Kind::NewerVersion:
        return "工作簿文件" + name + "由较新版本的程序保存（" + detail + "），本程序无法打开。";
    case CllFileError::Kind::Damaged:
        return "工作簿文件" + name + "已损坏，无法打开（" + detail + "）。";
    case CllFileError::Kind::SaveFailed:
        return detail;
    }
    return detail;
}

// ---------------------------------------------------------------------------------------------
// Writing

class Saver {
public:
    explicit Saver(const Workbook &workbook) : m_workbook(workbook)
    {
        m_fileStyle.assign(workbook.styles().size(), Unassigned);
        if (!m_fileStyle.empty())
            m_fileStyle[0] = 0;
        m_usedStyles.push_back(0);
    }

    std::string run()
    {
        m_out.buffer().reserve(estimateSize());
        m_out.bytes(Magic, sizeof Magic);
        m_out.u32(CllFile::FormatVersion);
        m_out.u32(0);
        m_out.u64(0); // content length, patched below
        m_out.u64(0); // file length, patched below

        writeBook();
        for (int i = 0; i < m_workbook.SheetCount(); ++i)
            writeSheet(m_workbook.sheet(i));
        writeStyles();

        const std::size_t contentLength = m_out.size() - CllFile::HeaderSize;
        const std::size_t fileLength = std::max(m_out.size() + CllFile::TrailerSize, CllFile::MinFileSize);
        m_out.zeros(fileLength - CllFile::TrailerSize - m_out.size());
        m_out.patchU64(16, contentLength);
        m_out.patchU64(24, fileLength);
        m_out.u64(CllChecksum::compute(m_out.buffer()));
        return std::move(m_out.buffer());
    }

private:
    std::size_t estimateSize() const
    {
        std::size_t cells = 0;
        for (int i = 0; i < m_workbook.SheetCount(); ++i) {
            const Sheet &sheet = m_workbook.sheet(i);
            cells += static_cast<std::size_t>(sheet.rows()) * static_cast<std::size_t>(std::min(sheet.cols(), 32));
        }
        return std::min<std::size_t>(cells * 5 + 4096, std::size_t(256) << 20);
    }

    std::uint32_t fileStyle(StyleId id)
    {
        if (id >= m_fileStyle.size())
            return 0; // unknown ids read as the default format
        std::uint32_t &slot = m_fileStyle[id];
        if (slot == Unassigned) {
            slot = static_cast<std::uint32_t>(m_usedStyles.size());
            m_usedStyles.push_back(id);
        }
        return slot;
    }

    void writeBook()
    {
        const auto start = m_out.beginSection(TagBook);
        m_out.varint(static_cast<std::uint64_t>(m_workbook.SheetCount()));
        m_out.varint(static_cast<std::uint64_t>(std::max(m_workbook.CurrentSheet(), 0)));
        const FontSpec &font = m_workbook.defaultFont();
        m_out.string(font.name);
        m_out.varint(static_cast<std::uint64_t>(std::max(font.size, 0)));
        m_out.varint(static_cast<std::uint64_t>(std::max(font.style, 0)));
        m_out.endSection(start);
    }

    void writeStyles()
    {
        const auto start = m_out.beginSection(TagStyles);
        m_out.varint(m_usedStyles.size());
        for (const StyleId id : m_usedStyles) {
            const CellFormat &f = m_workbook.styles().format(id);
            m_out.string(f.fontName);
            m_out.varint(nonNegative(f.fontSize));
            m_out.varint(nonNegative(f.fontStyle));
            m_out.varint(nonNegative(f.alignment));
            m_out.varint(nonNegative(f.threeD));
            m_out.varint(nonNegative(f.textStyle));
            m_out.boolean(f.locked);
            m_out.boolean(f.showZero);
            m_out.varint(nonNegative(f.number.kind));
            m_out.boolean(f.number.percent);
            m_out.svarint(f.number.decimals);
            m_out.svarint(f.number.negative);
            m_out.svarint(f.number.grouping);
            m_out.svarint(f.number.extra1);
            m_out.svarint(f.number.extra2);
            m_out.string(f.inputMask);
            m_out.varint(nonNegative(f.borders.left));
            m_out.varint(nonNegative(f.borders.top));
            m_out.varint(nonNegative(f.borders.right));
            m_out.varint(nonNegative(f.borders.bottom));
        }
        m_out.endSection(start);
    }

    static std::uint64_t nonNegative(int value) { return static_cast<std::uint64_t>(std::max(value, 0)); }

    void writeSheet(const Sheet &sheet)
    {
        const auto start = m_out.beginSection(TagSheet);

        auto sub = m_out.beginSection(TagHead);
        m_out.string(sheet.label());
        m_out.varint(nonNegative(sheet.cols()));
        m_out.varint(nonNegative(sheet.rows()));
        m_out.endSection(sub);

        writeCells(sheet);

        sub = m_out.beginSection(TagColWidths);
        writeRuns(sheet.cols(), [&](int col) { return sheet.colWidth(col); });
        m_out.endSection(sub);
        sub = m_out.beginSection(TagRowHeights);
        writeRuns(sheet.rows(), [&](int row) { return sheet.rowHeight(row); });
        m_out.endSection(sub);

        writeMerges(sheet);

        sub = m_out.beginSection(TagFrozen);
        const FrozenRows &frozen = sheet.frozenRows();
        m_out.svarint(frozen.first);
        m_out.svarint(frozen.last);
        m_out.endSection(sub);

        writePrint(sheet.printSettings());

        sub = m_out.beginSection(TagView);
        const CellRange &selection = sheet.selection();
        m_out.svarint(selection.col1);
        m_out.svarint(selection.row1);
        m_out.svarint(selection.col2);
        m_out.svarint(selection.row2);
        m_out.varint(nonNegative(sheet.currentCol()));
        m_out.varint(nonNegative(sheet.currentRow()));
        m_out.endSection(sub);

        m_out.endSection(start);
    }

    void writeCells(const Sheet &sheet)
    {
        const auto start = m_out.beginSection(TagCells);
        // The group count is known only at the end: count first, in a cheap pass.
        std::uint64_t groups = 0;
        for (int row = 0; row < sheet.rows(); ++row) {
            const int stored = sheet.storedCols(row);
            for (int col = 0; col < stored; ++col) {
                if (!sheet.isBlank(col, row)) {
                    ++groups;
                    break;
                }
            }
        }
        m_out.varint(groups);

        int previousRow = -1;
        for (int row = 0; row < sheet.rows(); ++row) {
            const int stored = sheet.storedCols(row);
            std::uint64_t count = 0;
            for (int col = 0; col < stored; ++col)
                count += sheet.isBlank(col, row) ? 0 : 1;
            if (count == 0)
                continue;
            m_out.varint(static_cast<std::uint64_t>(row - previousRow - 1));
            m_out.varint(count);
            previousRow = row;
            int previousCol = -1;
            for (int col = 0; col < stored; ++col) {
                if (sheet.isBlank(col, row))
                    continue;
                m_out.varint(static_cast<std::uint64_t>(col - previousCol - 1));
                previousCol = col;
                writeCell(sheet, col, row);
            }
        }
        m_out.endSection(start);
    }

    void writeCell(const Sheet &sheet, int col, int row)
    {
        const bool formula = sheet.hasFormula(col, row);
        const std::uint32_t style = fileStyle(sheet.styleId(col, row));
        std::uint8_t flags = (formula ? FlagFormula : 0) | (style != 0 ? FlagStyle : 0);

        // A formula's value is recomputed on loading; only its text is kept.
        const CellValue value = formula ? CellValue() : sheet.value(col, row);
        std::int64_t units = 0;
        switch (value.type()) {
        case CellValue::Type::Empty:
            m_out.u8(flags | ValueEmpty);
            break;
        case CellValue::Type::Number:
            if (asDecimal(value.number(), units)) {
                m_out.u8(flags | ValueDecimal);
                m_out.svarint(units);
            } else {
                m_out.u8(flags | ValueDouble);
                m_out.f64(value.number());
            }
            break;
        case CellValue::Type::Text:
            m_out.u8(flags | ValueText);
            m_out.string(value.text());
            break;
        case CellValue::Type::Error:
            m_out.u8(flags | ValueError);
            m_out.u8(errorCode(value.error()));
            break;
        }
        if (formula)
            m_out.string(sheet.formulaText(col, row));
        if (style != 0)
            m_out.varint(style);
    }

    template <typename ValueAt> void writeRuns(int count, ValueAt valueAt)
    {
        std::vector<std::pair<int, int>> runs; // length, value
        for (int i = 0; i < count; ++i) {
            const int value = std::max(valueAt(i), 0);
            if (!runs.empty() && runs.back().second == value)
                ++runs.back().first;
            else
                runs.emplace_back(1, value);
        }
        m_out.varint(runs.size());
        for (const auto &[length, value] : runs) {
            m_out.varint(static_cast<std::uint64_t>(length));
            m_out.varint(static_cast<std::uint64_t>(value));
        }
    }

    void writeMerges(const Sheet &sheet)
    {
        // Merges are clipped to the sheet, so that the reader's checks always pass on what the
        // engine holds, even after the sheet shrank under a merge.
        std::vector<CellRange> merges;
        for (const CellRange &m : sheet.merges()) {
            CellRange clipped = CellRange::normalized(m.col1, m.row1, m.col2, m.row2);
            clipped.col1 = std::max(clipped.col1, 0);
            clipped.row1 = std::max(clipped.row1, 0);
            clipped.col2 = std::min(clipped.col2, sheet.cols() - 1);
            clipped.row2 = std::min(clipped.row2, sheet.rows() - 1);
            if (!clipped.isEmpty())
                merges.push_back(clipped);
        }
        const auto start = m_out.beginSection(TagMerges);
        m_out.varint(merges.size());
        for (const CellRange &m : merges) {
            m_out.varint(static_cast<std::uint64_t>(m.col1));
            m_out.varint(static_cast<std::uint64_t>(m.row1));
            m_out.varint(static_cast<std::uint64_t>(m.col2));
            m_out.varint(static_cast<std::uint64_t>(m.row2));
        }
        m_out.endSection(start);
    }

    void writePrint(const PrintSettings &print)
    {
        const auto start = m_out.beginSection(TagPrint);
        m_out.svarint(print.printRange.col1);
        m_out.svarint(print.printRange.row1);
        m_out.svarint(print.printRange.col2);
        m_out.svarint(print.printRange.row2);
        for (const PageTexts *texts : {&print.header, &print.footer}) {
            m_out.string(texts->left);
            m_out.string(texts->centre);
            m_out.string(texts->right);
        }
        m_out.varint(nonNegative(print.scale));
        m_out.boolean(print.scaleFlag1);
        m_out.boolean(print.scaleFlag2);
        for (const double margin : print.margins)
            m_out.f64(margin);
        m_out.varint(print.rowPageBreaks.size());
        for (const int row : print.rowPageBreaks)
            m_out.svarint(row);
        m_out.varint(nonNegative(print.paperSize));
        m_out.boolean(print.landscape);
        m_out.endSection(start);
    }

    const Workbook &m_workbook;
    CllBinaryWriter m_out;
    std::vector<std::uint32_t> m_fileStyle; // engine style id -> index in the file's table
    std::vector<StyleId> m_usedStyles;      // file index -> engine style id
};

// ---------------------------------------------------------------------------------------------
// Reading

// Checks the envelope (size, magic, version, lengths, padding, checksum) and returns the content.
std::string_view checkEnvelope(std::string_view bytes)
{
    if (bytes.size() < CllFile::MinFileSize)
        throw CllFileError(CllFileError::Kind::TooShort, "文件长度不足");
    if (std::memcmp(bytes.data(), Magic, sizeof Magic) != 0)
        throw CllFileError(CllFileError::Kind::NotWorkbook, "文件标识不符");

    // The envelope is the same in every version, so damage is told apart from a newer
    // version before the version is believed.
    CllBinaryReader header(bytes.substr(0, CllFile::HeaderSize));
    header.bytes(sizeof Magic);
    const std::uint32_t version = header.u32();
    const std::uint32_t flags = header.u32();
    const std::uint64_t contentLength = header.u64();
    const std::uint64_t fileLength = header.u64();

    if (fileLength != bytes.size())
        CllBinaryReader::damaged(fileLength > bytes.size() ? "文件不完整" : "文件长度与记录不符");
    const std::size_t overhead = CllFile::HeaderSize + CllFile::TrailerSize;
    if (contentLength > bytes.size() - overhead)
        CllBinaryReader::damaged("内容长度超出文件");

    const std::size_t checked = bytes.size() - CllFile::TrailerSize;
    CllBinaryReader trailer(bytes.substr(checked));
    if (trailer.u64() != CllChecksum::compute(bytes.data(), checked))
        CllBinaryReader::damaged("校验和不符");

    if (version > CllFile::FormatVersion)
        throw CllFileError(CllFileError::Kind::NewerVersion, "格式版本 " + std::to_string(version));
    if (version == 0)
        CllBinaryReader::damaged("格式版本无效");
    if (flags != 0)
        CllBinaryReader::damaged("文件标志无效");

    const std::string_view padding =
        bytes.substr(CllFile::HeaderSize + contentLength, checked - CllFile::HeaderSize - contentLength);
    if (padding.find_first_not_of('\0') != std::string_view::npos)
        CllBinaryReader::damaged("填充区含有数据");
    return bytes.substr(CllFile::HeaderSize, contentLength);
}

int readInt(CllBinaryReader &in, const char *what)
{
    return static_cast<int>(in.bounded(static_cast<std::uint64_t>(INT_MAX), what));
}

int readSignedInt(CllBinaryReader &in, const char *what)
{
    const std::int64_t value = in.svarint();
    if (value < INT_MIN || value > INT_MAX)
        CllBinaryReader::damaged(std::string(what) + "超出范围");
    return static_cast<int>(value);
}

class Loader {
public:
    explicit Loader(std::string_view content) : m_content(content) {}

    std::unique_ptr<Workbook> run()
    {
        indexSections();
        readStyles();
        const BookInfo book = readBook();
        if (book.sheetCount != m_sheetSections.size())
            CllBinaryReader::damaged("工作表数目不符");

        // All sheets exist before any content is loaded, so that indexes are final.
        std::vector<SheetParts> parts;
        parts.reserve(m_sheetSections.size());
        std::int64_t totalRows = 0;
        std::int64_t totalCols = 0;
        std::int64_t materialised = 0;
        for (const std::string_view body : m_sheetSections) {
            parts.push_back(splitSheet(body));
            totalRows += parts.back().rows;
            totalCols += parts.back().cols;
            if (totalRows > CllFile::MaxTotalRows || totalCols > CllFile::MaxTotalCols)
                CllBinaryReader::damaged("工作表总大小超出限制");
            materialised += walkCells(parts.back(), nullptr);
            if (materialised > CllFile::MaxMaterialisedCells)
                CllBinaryReader::damaged("单元格太多");
        }

        m_workbook = std::make_unique<Workbook>();
        Workbook &wb = *m_workbook;
        for (const SheetParts &p : parts)
            wb.addSheetForLoading(p.label, p.cols, p.rows);
        wb.DoDeleteSheets(0, 1); // the empty sheet every new workbook starts with

        m_styleIds.reserve(m_formats.size());
        for (const CellFormat &format : m_formats)
            m_styleIds.push_back(wb.styles().intern(format));

        for (std::size_t i = 0; i < parts.size(); ++i)
            loadSheet(wb.sheetForLoading(static_cast<int>(i)), parts[i]);

        wb.DoSetDefaultFont(book.fontSize, book.fontStyle, book.fontName);
        wb.recalculateAll();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const ViewState &view = parts[i].view;
            wb.DoSetCurrentSheet(static_cast<int>(i));
            wb.DoGotoCell(view.col, view.row);
            if (!view.selection.isEmpty())
                wb.DoSelectRange(view.selection.col1, view.selection.row1, view.selection.col2, view.selection.row2);
        }
        wb.DoSetCurrentSheet(static_cast<int>(book.current));
        wb.undoStack().clear();
        wb.DoSetModified(false);
        return std::move(m_workbook);
    }

private:
    struct BookInfo {
        std::size_t sheetCount = 0;
        std::size_t current = 0;
        std::string fontName;
        int fontSize = 0;
        int fontStyle = 0;
    };
    struct ViewState {
        CellRange selection;
        int col = 0, row = 0;
    };
    struct SheetParts {
        std::string label;
        int cols = 0, rows = 0;
        std::string_view cells, colWidths, rowHeights, merges, frozen, print, viewBody;
        ViewState view;
    };

    void indexSections()
    {
        CllBinaryReader in(m_content);
        while (!in.atEnd()) {
            const auto section = in.section();
            switch (section.tag) {
            case TagBook:
                if (m_hasBook)
                    CllBinaryReader::damaged("工作簿信息重复");
                m_hasBook = true;
                m_book = section.content;
                break;
            case TagStyles:
                if (m_hasStyles)
                    CllBinaryReader::damaged("格式表重复");
                m_hasStyles = true;
                m_styles = section.content;
                break;
            case TagSheet:
                if (m_sheetSections.size() >= static_cast<std::size_t>(CllFile::MaxSheets))
                    CllBinaryReader::damaged("工作表太多");
                m_sheetSections.push_back(section.content);
                break;
            default:
                break; // written by a later version; nothing this version needs
            }
        }
        if (!m_hasBook)
            CllBinaryReader::damaged("缺少工作簿信息");
        if (!m_hasStyles)
            CllBinaryReader::damaged("缺少格式表");
        if (m_sheetSections.empty())
            CllBinaryReader::damaged("没有工作表");
    }

    BookInfo readBook() const
    {
        CllBinaryReader in(m_book);
        BookInfo book;
        book.sheetCount = static_cast<std::size_t>(in.bounded(CllFile::MaxSheets, "工作表数目"));
        book.current = static_cast<std::size_t>(in.varint());
        if (book.current >= book.sheetCount)
            CllBinaryReader::damaged("当前工作表超出范围");
        book.fontName = in.string();
        book.fontSize = readInt(in, "字号");
        book.fontStyle = readInt(in, "字形");
        in.expectEnd("工作簿信息");
        return book;
    }

    void readStyles()
    {
        CllBinaryReader in(m_styles);
        // A format takes at least 20 bytes.
        const std::size_t count = in.count(20, "格式");
        if (count == 0)
            CllBinaryReader::damaged("格式表为空");
        m_formats.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            CellFormat f;
            f.fontName = in.string();
            f.fontSize = readInt(in, "字号");
            f.fontStyle = readInt(in, "字形");
            f.alignment = readInt(in, "对齐方式");
            f.threeD = readInt(in, "立体效果");
            f.textStyle = readInt(in, "文字样式");
            f.locked = in.boolean();
            f.showZero = in.boolean();
            f.number.kind = readInt(in, "数字格式");
            f.number.percent = in.boolean();
            f.number.decimals = readSignedInt(in, "小数位数");
            f.number.negative = readSignedInt(in, "负数格式");
            f.number.grouping = readSignedInt(in, "千位分隔");
            f.number.extra1 = readSignedInt(in, "数字格式");
            f.number.extra2 = readSignedInt(in, "数字格式");
            f.inputMask = in.string();
            f.borders.left = readInt(in, "边框");
            f.borders.top = readInt(in, "边框");
            f.borders.right = readInt(in, "边框");
            f.borders.bottom = readInt(in, "边框");
            m_formats.push_back(std::move(f));
        }
        in.expectEnd("格式表");
    }

    SheetParts splitSheet(std::string_view body) const
    {
        SheetParts p;
        CllBinaryReader in(body);
        const auto head = in.section();
        if (head.tag != TagHead)
            CllBinaryReader::damaged("工作表缺少表头");
        CllBinaryReader headIn(head.content);
        p.label = headIn.string();
        p.cols = static_cast<int>(headIn.bounded(CllFile::MaxCols, "列数"));
        p.rows = static_cast<int>(headIn.bounded(CllFile::MaxRows, "行数"));
        headIn.expectEnd("工作表表头");

        bool seen[7] = {};
        std::string_view *targets[7] = {&p.cells,  &p.colWidths, &p.rowHeights, &p.merges,
                                        &p.frozen, &p.print,     &p.viewBody};
        constexpr std::uint32_t tags[7] = {TagCells,  TagColWidths, TagRowHeights, TagMerges,
                                           TagFrozen, TagPrint,     TagView};
        while (!in.atEnd()) {
            const auto section = in.section();
            for (int i = 0; i < 7; ++i) {
                if (section.tag == tags[i]) {
                    if (seen[i])
                        CllBinaryReader::damaged("工作表内容重复");
                    seen[i] = true;
                    *targets[i] = section.content;
                }
            }
        }
        for (const bool present : seen)
            if (!present)
                CllBinaryReader::damaged("工作表内容不全");
        return p;
    }

    void loadSheet(Sheet &sheet, SheetParts &p)
    {
        walkCells(p, &sheet);
        loadRuns(p.colWidths, p.cols, "列宽", [&](int col, int width) {
            if (width != Sheet::DefaultColWidth)
                sheet.loadColWidth(col, width);
        });
        loadRuns(p.rowHeights, p.rows, "行高", [&](int row, int height) {
            if (height != Sheet::DefaultRowHeight)
                sheet.loadRowHeight(row, height);
        });
        loadMerges(sheet, p);

        CllBinaryReader frozenIn(p.frozen);
        FrozenRows frozen;
        frozen.first = readSignedInt(frozenIn, "冻结行");
        frozen.last = readSignedInt(frozenIn, "冻结行");
        frozenIn.expectEnd("冻结行");
        sheet.loadFrozenRows(frozen);

        sheet.loadPrintSettings(readPrint(p.print));

        CllBinaryReader viewIn(p.viewBody);
        p.view.selection.col1 = readSignedInt(viewIn, "选定区域");
        p.view.selection.row1 = readSignedInt(viewIn, "选定区域");
        p.view.selection.col2 = readSignedInt(viewIn, "选定区域");
        p.view.selection.row2 = readSignedInt(viewIn, "选定区域");
        p.view.col = readInt(viewIn, "当前单元格");
        p.view.row = readInt(viewIn, "当前单元格");
        viewIn.expectEnd("视图");
    }

    // Walks the cell records of a sheet, checking every one. Without a sheet it only measures:
    // the cells the engine would materialise, so that limits are checked before allocating.
    std::int64_t walkCells(const SheetParts &p, Sheet *sheet)
    {
        CllBinaryReader in(p.cells);
        std::int64_t materialised = 0;
        // A row group takes at least four bytes: two counts and one two-byte cell.
        const std::size_t groups = in.count(4, "行");
        std::int64_t row = -1;
        for (std::size_t g = 0; g < groups; ++g) {
            row += static_cast<std::int64_t>(in.bounded(CllFile::MaxRows, "行号")) + 1;
            if (row >= p.rows)
                CllBinaryReader::damaged("单元格行号超出工作表");
            const std::size_t cells = in.count(2, "单元格");
            if (cells == 0)
                CllBinaryReader::damaged("空的行记录");
            std::int64_t col = -1;
            for (std::size_t c = 0; c < cells; ++c) {
                col += static_cast<std::int64_t>(in.bounded(CllFile::MaxCols, "列号")) + 1;
                if (col >= p.cols)
                    CllBinaryReader::damaged("单元格列号超出工作表");
                readCell(in, sheet, static_cast<int>(col), static_cast<int>(row));
            }
            // The engine stores every column of a row up to its last used one.
            materialised += col + 1;
        }
        in.expectEnd("单元格");
        return materialised;
    }

    void readCell(CllBinaryReader &in, Sheet *sheet, int col, int row)
    {
        const std::uint8_t flags = in.u8();
        if ((flags & ~KnownFlags) != 0)
            CllBinaryReader::damaged("单元格标志无效");
        CellValue value;
        switch (flags & KindMask) {
        case ValueEmpty:
            break;
        case ValueDouble: {
            const double number = in.f64();
            if (sheet)
                value = CellValue::number(number);
            break;
        }
        case ValueDecimal: {
            const std::int64_t units = in.svarint();
            if (units > DecimalUnitsLimit || units < -DecimalUnitsLimit)
                CllBinaryReader::damaged("数值超出范围");
            if (sheet)
                value = CellValue::number(static_cast<double>(units) / 10000.0);
            break;
        }
        case ValueText: {
            const std::string_view text = in.stringView();
            if (sheet)
                value = CellValue::text(std::string(text));
            break;
        }
        case ValueError:
            value = CellValue::error(errorFromCode(in.u8()));
            break;
        default:
            CllBinaryReader::damaged("单元格类型无效");
        }
        std::string_view formula;
        if (flags & FlagFormula)
            formula = in.stringView();
        std::size_t style = 0;
        if (flags & FlagStyle) {
            const std::uint64_t index = in.varint();
            if (index >= m_formats.size())
                CllBinaryReader::damaged("单元格格式编号超出范围");
            style = static_cast<std::size_t>(index);
        }
        if (!sheet)
            return;
        sheet->loadCell(col, row, value, m_styleIds[style]);
        if (flags & FlagFormula)
            sheet->loadFormula(col, row, std::string(formula));
    }

    template <typename Apply> static void loadRuns(std::string_view body, int total, const char *what, Apply apply)
    {
        CllBinaryReader in(body);
        const std::size_t runs = in.count(2, what);
        std::int64_t position = 0;
        for (std::size_t r = 0; r < runs; ++r) {
            const auto length = static_cast<std::int64_t>(in.bounded(static_cast<std::uint64_t>(total), what));
            const int value = readInt(in, what);
            if (length == 0 || position + length > total)
                CllBinaryReader::damaged(std::string(what) + "与工作表大小不符");
            for (std::int64_t i = 0; i < length; ++i)
                apply(static_cast<int>(position + i), value);
            position += length;
        }
        if (position != total)
            CllBinaryReader::damaged(std::string(what) + "与工作表大小不符");
        in.expectEnd(what);
    }

    static void loadMerges(Sheet &sheet, const SheetParts &p)
    {
        CllBinaryReader in(p.merges);
        const std::size_t count = in.count(4, "合并单元格");
        for (std::size_t i = 0; i < count; ++i) {
            CellRange m;
            m.col1 = readInt(in, "合并单元格");
            m.row1 = readInt(in, "合并单元格");
            m.col2 = readInt(in, "合并单元格");
            m.row2 = readInt(in, "合并单元格");
            if (m.col1 > m.col2 || m.row1 > m.row2 || m.col2 >= p.cols || m.row2 >= p.rows)
                CllBinaryReader::damaged("合并单元格超出工作表");
            sheet.loadMerge(m);
        }
        in.expectEnd("合并单元格");
    }

    static PrintSettings readPrint(std::string_view body)
    {
        CllBinaryReader in(body);
        PrintSettings print;
        print.printRange.col1 = readSignedInt(in, "打印区域");
        print.printRange.row1 = readSignedInt(in, "打印区域");
        print.printRange.col2 = readSignedInt(in, "打印区域");
        print.printRange.row2 = readSignedInt(in, "打印区域");
        for (PageTexts *texts : {&print.header, &print.footer}) {
            texts->left = in.string();
            texts->centre = in.string();
            texts->right = in.string();
        }
        print.scale = readInt(in, "打印比例");
        print.scaleFlag1 = in.boolean();
        print.scaleFlag2 = in.boolean();
        for (double &margin : print.margins) {
            margin = in.f64();
            if (!std::isfinite(margin))
                CllBinaryReader::damaged("页边距无效");
        }
        const std::size_t breaks = in.count(1, "分页");
        print.rowPageBreaks.reserve(breaks);
        for (std::size_t i = 0; i < breaks; ++i)
            print.rowPageBreaks.push_back(readSignedInt(in, "分页"));
        print.paperSize = readInt(in, "纸张");
        print.landscape = in.boolean();
        in.expectEnd("打印设置");
        return print;
    }

    std::string_view m_content;
    bool m_hasBook = false;
    bool m_hasStyles = false;
    std::string_view m_book;
    std::string_view m_styles;
    std::vector<std::string_view> m_sheetSections;
    std::vector<CellFormat> m_formats;
    std::vector<StyleId> m_styleIds;
    std::unique_ptr<Workbook> m_workbook;
};

std::string readWholeFile(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        throw CllFileError(CllFileError::Kind::Io, error == ENOENT ? "文件不存在" : describeFileError(error));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw CllFileError(CllFileError::Kind::Io, describeFileError(errno));
    if (S_ISDIR(info.st_mode))
        throw CllFileError(CllFileError::Kind::Io, describeFileError(EISDIR));
    if (!S_ISREG(info.st_mode))
        throw CllFileError(CllFileError::Kind::Io, "不是普通文件");

    std::string bytes;
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw CllFileError(CllFileError::Kind::Io, describeFileError(errno));
        }
        if (n == 0)
            break; // shrank while reading: the envelope check reports it
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

} // namespace

std::string CllFile::toBytes(const Workbook &workbook)
{
    return Saver(workbook).run();
}

std::unique_ptr<Workbook> CllFile::fromBytes(std::string_view bytes)
{
    try {
        return Loader(checkEnvelope(bytes)).run();
    } catch (const CllFileError &error) {
        throw CllFileError(error.kind(), messageFor(error.kind(), error.what(), std::string()));
    } catch (const std::bad_alloc &) {
        throw CllFileError(CllFileError::Kind::Damaged,
                           messageFor(CllFileError::Kind::Damaged, "内存不足", std::string()));
    }
}

void CllFile::save(const Workbook &workbook, const std::string &path)
{
    try {
        AtomicFile::writeFile(path, toBytes(workbook));
    } catch (const AtomicFileError &error) {
        throw CllFileError(CllFileError::Kind::SaveFailed, error.what());
    } catch (const std::bad_alloc &) {
        throw CllFileError(CllFileError::Kind::SaveFailed, "无法保存文件“" + path + "”：内存不足");
    }
}

std::unique_ptr<Workbook> CllFile::load(const std::string &path)
{
    try {
        const std::string bytes = readWholeFile(path);
        return Loader(checkEnvelope(bytes)).run();
    } catch (const CllFileError &error) {
        throw CllFileError(error.kind(), messageFor(error.kind(), error.what(), path));
    } catch (const std::bad_alloc &) {
        throw CllFileError(CllFileError::Kind::Io, messageFor(CllFileError::Kind::Io, "内存不足", path));
    }
}

} // namespace vantor
