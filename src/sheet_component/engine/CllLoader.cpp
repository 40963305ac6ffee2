#include "sheet_component/engine/CllLoader.h"

#include "sheet_component/engine/CllBinaryReader.h"
#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/CllFormat.h"
#include "sheet_component/engine/Workbook.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <unordered_map>
#include <utility>

namespace vantor {

using namespace cll;

namespace {

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

class CllLoader {
public:
    explicit CllLoader(std::string_view content) : m_content(content) {}

    std::unique_ptr<Workbook> run(std::vector<SheetViewState> *views)
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
        if (views) {
            views->clear();
            for (const SheetParts &p : parts)
                views->push_back(p.view);
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
    struct SheetParts {
        std::string label;
        int cols = 0, rows = 0;
        std::string_view cells, colWidths, rowHeights, merges, frozen, print, viewBody;
        SheetViewState view;
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

} // namespace

std::unique_ptr<Workbook> workbookFromCll(std::string_view content, std::vector<SheetViewState> *views)
{
    return CllLoader(content).run(views);
}

} // namespace vantor
