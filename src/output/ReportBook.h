#pragma once

// The whole appraisal report as one document: which forms it holds and in which order, each form
// laid out by the print engine, and the contents sheet (目录) that lists them with their pages.
//
// Everything happens in a scratch copy of the project's workbook made when the book is opened:
// the summary sheets are computed there for the chosen node, the forms are laid out there, and
// the user's workbook, its current sheet, undo history and modified flag are never touched.
//
// Order: the summary sheets the workbook holds (表1, 表2-1, 表2-2, 表3 … 表10), then the detail
// sheets in catalogue order, 表11 last; a detail sheet without data is left out unless asked for.
// The same scratch copy serves the Excel export, which needs the summaries computed and each
// sheet's page set-up as the print layout picks it.

#include "output/PrintEngine.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vantor {

class ProjectStore;
class Workbook;

struct ReportOptions {
    int16_t node = 0;                           // the summary sheets are computed for this node and its subtree
    bool yuan = false;                          // 表1 in yuan instead of ten thousand yuan
    bool includeEmpty = false;                  // detail sheets without data too
    std::string institution;                    // the appraisal institution printed on every form
    std::function<int(int16_t id)> rowsPerPage; // R of a detail sheet; 25 when not set
};

struct ReportForm {
    int16_t id = 0;
    int index = 0; // the sheet in the scratch workbook
    std::string code;
    std::string name;
};

// The page set-up a form's print layout chose.
struct FormPageSetup {
    bool landscape = false;
    std::array<double, 4> margins{}; // left, top, right, bottom in mm
    int scale = 100;
    std::string code, name, unitLine;
};

class ReportBook {
public:
    static constexpr int ContentsRowsPerPage = 30;
    static constexpr const char *ContentsLabel = "目录";

    // Copies the workbook and computes its summary sheets. Throws DatabaseError or AmountOverflow
    // when a summary cannot be computed.
    ReportBook(const Workbook &workbook, const ProjectStore &store, ReportOptions options);
    ~ReportBook();
    ReportBook(const ReportBook &) = delete;
    ReportBook &operator=(const ReportBook &) = delete;

    // The forms of the report in order.
    const std::vector<ReportForm> &forms() const { return m_forms; }
    // Detail sheets left out because they are longer than the print engine takes.
    const std::vector<ReportForm> &tooLong() const { return m_tooLong; }
    Workbook &scratch() { return *m_scratch; }

    // Lays form `i` out and hands the laid-out sheet to `output`. Throws PrintCancelled when the
    // progress is cancelled.
    void layOut(std::size_t i, PrintProgress *progress, const PrintOutput &output);
    // The page set-up form `i` prints with (lays it out to learn it).
    FormPageSetup pageSetup(std::size_t i);
    // The contents sheet; `pages` holds the first and last PDF page (1-based) of every form.
    void layOutContents(const std::vector<std::pair<int, int>> &pages, const PrintOutput &output);

    // Pages the contents sheet takes for `forms` forms.
    static int contentsPages(std::size_t forms);
    // "3" or "3-5".
    static std::string pageRange(int first, int last);
    // Whether a detail sheet has any data: a text or a non-zero number below its total row
    // (表11: a non-zero amount; its captions and row numbers are always there).
    static bool holdsData(const Workbook &workbook, int index, int16_t id);

private:
    PrintTexts textsOf(int16_t id) const;

    const ProjectStore &m_store;
    ReportOptions m_options;
    std::unique_ptr<Workbook> m_scratch;
    std::vector<ReportForm> m_forms;
    std::vector<ReportForm> m_tooLong;
};

} // namespace vantor
