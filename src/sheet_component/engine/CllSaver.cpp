#include "sheet_component/engine/CllSaver.h"

#include "sheet_component/engine/CllChecksum.h"
#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/CllFormat.h"
#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/Workbook.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace vantor {

using namespace cll;

namespace {

class CllSaver {
public:
    CllSaver(const Workbook &workbook, const Selection *view) : m_workbook(workbook), m_view(view)
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
            writeSheet(m_workbook.sheet(i), m_view ? m_view->state(i) : SheetViewState{});
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

    void writeSheet(const Sheet &sheet, const SheetViewState &view)
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
        const CellRange &selection = view.selection;
        m_out.svarint(selection.col1);
        m_out.svarint(selection.row1);
        m_out.svarint(selection.col2);
        m_out.svarint(selection.row2);
        m_out.varint(nonNegative(view.col));
        m_out.varint(nonNegative(view.row));
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
    const Selection *m_view;
    CllBinaryWriter m_out;
    std::vector<std::uint32_t> m_fileStyle; // engine style id -> index in the file's table
    std::vector<StyleId> m_usedStyles;      // file index -> engine style id
};

} // namespace

std::string cllBytes(const Workbook &workbook, const Selection *view)
{
    return CllSaver(workbook, view).run();
}

} // namespace vantor
