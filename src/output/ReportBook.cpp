#include "output/ReportBook.h"

#include "common/Prompter.h"
#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailLayouts.h"
#include "sheets/SheetCatalogue.h"
#include "summation/SummaryDriver.h"
#include "summation/SummarySheets.h"

#include <algorithm>

namespace vantor {

namespace {

// Answers the unit question of 表1 as the report options say; nothing else is asked.
class UnitAnswer : public Prompter {
public:
    explicit UnitAnswer(bool yuan) : m_yuan(yuan) {}
    void message(const std::string &, const std::string &, MessageIcon) override {}
    Answer question(const std::string &text, const std::string &, QuestionButtons, MessageIcon) override
    {
        return text == SummarySheets::UnitQuestion && m_yuan ? Answer::Yes : Answer::No;
    }
    std::optional<std::string> openFileName(const FileDialogRequest &) override { return std::nullopt; }
    std::optional<std::string> saveFileName(const FileDialogRequest &) override { return std::nullopt; }
    std::optional<std::string> inputText(const std::string &, const std::string &, const std::string &) override
    {
        return std::nullopt;
    }

private:
    bool m_yuan;
};

// The contents sheet's columns: code, name, pages.
constexpr std::array<int, 3> ContentsWidths{120, 420, 100};
constexpr int ContentsHead = 4; // title, holding unit, empty row, column headings

// Rows per page and their walk through the contents sheet: each page repeats the head.
int contentsRow(std::size_t form)
{
    const auto page = static_cast<int>(form) / ReportBook::ContentsRowsPerPage;
    const auto line = static_cast<int>(form) % ReportBook::ContentsRowsPerPage;
    return page * (ContentsHead + ReportBook::ContentsRowsPerPage) + ContentsHead + line;
}

} // namespace

ReportBook::ReportBook(const Workbook &workbook, const ProjectStore &store, ReportOptions options)
    : m_store(store), m_options(std::move(options)), m_scratch(CllFile::fromBytes(CllFile::toBytes(workbook)))
{
    Workbook &wb = *m_scratch;
    wb.setTextMeasurer(&workbook.textMeasurer());
    // b0 rebuilds b1 for the same node; build it first so every summary sees the same figures.
    UnitAnswer unit(m_options.yuan);
    for (const SummarySheetEntry &s : SheetCatalogue::summarySheets())
        SummaryDriver::build(wb, store, SheetCatalogue::label(s.id), m_options.node, unit);

    auto add = [&](int16_t id, int index) {
        const PrintTexts t = textsOf(id);
        ReportForm form{id, index, t.sheetCode, t.sheetName};
        if (SheetCatalogue::isDetail(id) && id != SheetCatalogue::ContraSheetId &&
            wb.Rows(index) > PrintEngine::MaxDetailRows)
            m_tooLong.push_back(std::move(form));
        else
            m_forms.push_back(std::move(form));
    };
    for (const SummarySheetEntry &s : SheetCatalogue::summarySheets())
        if (const int index = wb.findSheet(SheetCatalogue::label(s.id)); index >= 0)
            add(static_cast<int16_t>(s.id), index);
    for (const CatalogueEntry &d : SheetCatalogue::detailSheets()) {
        const int index = wb.findSheet(SheetCatalogue::label(d.id));
        const auto id = static_cast<int16_t>(d.id);
        if (index >= 0 && (m_options.includeEmpty || holdsData(wb, index, id)))
            add(id, index);
    }
}

ReportBook::~ReportBook() = default;

PrintTexts ReportBook::textsOf(int16_t id) const
{
    PrintTexts t = PrintTexts::read(m_store, m_options.node, id, m_options.institution);
    if (t.sheetCode.empty() && t.sheetName.empty()) {
        if (const SummarySheetEntry *s = SheetCatalogue::summaryEntry(id)) {
            t.sheetCode = s->code;
            t.sheetName = s->name;
        } else {
            std::tie(t.sheetCode, t.sheetName) = SheetCatalogue::codeAndName(id);
        }
    }
    if (id == 0)
        t.unitLine = m_options.yuan ? "金额单位：人民币元" : "金额单位：人民币万元";
    return t;
}

bool ReportBook::holdsData(const Workbook &workbook, int index, int16_t id)
{
    const Sheet &sheet = workbook.sheet(index);
    const bool amountsOnly = id == SheetCatalogue::ContraSheetId;
    for (int r = DetailLayouts::FirstDataRow; r < sheet.rows(); ++r)
        for (int c = 0; c < sheet.storedCols(r); ++c) {
            const CellValue v = sheet.value(c, r);
            if ((v.isNumber() && v.number() != 0 && (!amountsOnly || c >= 2)) ||
                (!amountsOnly && v.isText() && !v.text().empty()))
                return true;
        }
    return false;
}

void ReportBook::layOut(std::size_t i, PrintProgress *progress, const PrintOutput &output)
{
    const ReportForm &form = m_forms.at(i);
    Workbook &wb = *m_scratch;
    wb.DoSetCurrentSheet(form.index);
    PrintContext context;
    context.summaryView = SheetCatalogue::isSummary(form.id);
    context.summaryKey = SheetCatalogue::label(form.id);
    context.sheetId = form.id;
    const auto rows = [&](int16_t id) {
        const int r = m_options.rowsPerPage ? m_options.rowsPerPage(id) : 0;
        return r > 0 ? r : PrintEngine::MinRowsPerPage;
    };
    PrintEngine::PrintSheet(
        wb, context, [&](int16_t id) { return textsOf(id); }, rows, progress, output);
}

FormPageSetup ReportBook::pageSetup(std::size_t i)
{
    FormPageSetup setup;
    layOut(i, nullptr, [&](Workbook &wb, int sheet) {
        const PrintSettings &s = wb.printSettings(sheet);
        setup.landscape = s.landscape;
        setup.scale = s.scale;
        std::copy(s.margins.begin(), s.margins.end(), setup.margins.begin());
    });
    const PrintTexts t = textsOf(m_forms.at(i).id);
    setup.code = t.sheetCode;
    setup.name = t.sheetName;
    setup.unitLine = t.unitLine;
    return setup;
}

int ReportBook::contentsPages(std::size_t forms)
{
    return std::max(1, static_cast<int>((forms + ContentsRowsPerPage - 1) / ContentsRowsPerPage));
}

std::string ReportBook::pageRange(int first, int last)
{
    return last > first ? std::to_string(first) + "-" + std::to_string(last) : std::to_string(first);
}

void ReportBook::layOutContents(const std::vector<std::pair<int, int>> &pages, const PrintOutput &output)
{
    Workbook &wb = *m_scratch;
    UndoPause pause(wb);
    wb.DoAddSheet(ContentsLabel);
    const int n = wb.SheetCount() - 1;
    const int cols = static_cast<int>(ContentsWidths.size());
    const int sheetPages = contentsPages(m_forms.size());
    wb.SetCols(cols, n);
    wb.SetRows(sheetPages * (ContentsHead + ContentsRowsPerPage), n);
    for (int c = 0; c < cols; ++c)
        wb.DoSetColWidth(c, ContentsWidths[static_cast<std::size_t>(c)], n);
    wb.DoSetRowHeightRange(0, wb.Rows(n) - 1, 24, 0, n);

    const PrintTexts t = textsOf(0);
    std::vector<int> breaks;
    for (int p = 0; p < sheetPages; ++p) {
        const int top = p * (ContentsHead + ContentsRowsPerPage);
        if (p > 0)
            breaks.push_back(top);
        wb.DoSetCellData(0, top, sheetPages > 1 ? "目    录（" + std::to_string(p + 1) + "）" : "目    录", n);
        wb.DoJoinCells(0, top, cols - 1, top, n);
        wb.DoSetCellAlignment(0, top, AlignCenter, n);
        wb.DoSetCellFont(0, top, 16, 1, "宋体", n);
        wb.DoSetRowHeight(top, 40, n);
        wb.DoSetCellData(0, top + 1, t.holdingUnit, n);
        wb.DoJoinCells(0, top + 1, cols - 1, top + 1, n);
        wb.DoSetCellAlignment(0, top + 1, AlignLeft, n);
        const char *headings[] = {"表号", "表名", "页次"};
        for (int c = 0; c < cols; ++c) {
            wb.DoSetCellData(c, top + 3, headings[c], n);
            wb.DoSetCellAlignment(c, top + 3, AlignCenter, n);
            wb.DoSetCellFont(c, top + 3, 10, 1, "宋体", n);
        }
        const auto onPage = std::min<std::size_t>(
            ContentsRowsPerPage,
            m_forms.size() - std::min(m_forms.size(), static_cast<std::size_t>(p) * ContentsRowsPerPage));
        wb.DoSetRangeBorder(0, top + 3, cols - 1, top + 3 + static_cast<int>(onPage), 0, 1, 0, n);
    }
    for (std::size_t i = 0; i < m_forms.size(); ++i) {
        const int row = contentsRow(i);
        wb.DoSetCellData(0, row, m_forms[i].code, n);
        wb.DoSetCellData(1, row, m_forms[i].name, n);
        if (i < pages.size())
            wb.DoSetCellData(2, row, pageRange(pages[i].first, pages[i].second), n);
        wb.DoSetCellAlignment(0, row, AlignLeft, n);
        wb.DoSetCellAlignment(2, row, AlignCenter, n);
    }
    wb.DoSetPageHeader("", "", "", n);
    wb.DoSetPageFooter("", "", "", n);
    wb.DoSetPrintRange(0, cols - 1, 0, wb.Rows(n) - 1, n);
    wb.DoSetPageMargins(20, 20, 20, 15, n);
    wb.setRowPageBreaks(std::move(breaks), n);
    wb.setPaper(9, false, n);
    wb.DoSetPrintScale(100, true, true, n);
    if (output)
        output(wb, n);
    wb.DoDeleteSheets(n, 1);
}

} // namespace vantor
