#pragma once

// The grid of the signatories dialog without the widgets: one row per sheet
// (id, caption, preparer, appraiser, date as the user sees it), the date rules
// of the date column, the fill-down command and the rows OK stores. Rows are
// counted from 0 (the first sheet); columns are those of the grid, 0 … 4.

#include "project/ProjectRecords.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

struct SignatoryRow {
    int16_t id = 0;
    std::string caption; // code in a ten-character field, then the name
    std::string tbr;
    std::string pgry;
    std::string date; // "yyyy年mm月dd日", or what the user typed
};

class SignatoryTable {
public:
    enum Column { IdColumn = 0, CaptionColumn = 1, PreparerColumn = 2, AppraiserColumn = 3, DateColumn = 4 };
    static constexpr int kColumns = 5;
    static constexpr const char *kTooWide = "选择的区域太大，只能在某一列范围内复制单元数据。";

    enum class DateText { Blank, Valid, Invalid };
    enum class FillResult { Ignored, TooWide, Filled };

    // One row per sheet; a sheet without signatories shows `today`, a signed one without a
    // date an empty date.
    static SignatoryTable fromSheets(const std::vector<SignatorySheet> &sheets, std::chrono::year_month_day today);

    static std::string formatDate(std::chrono::year_month_day date);
    // Digits and the three characters 年 月 日, blanks anywhere (the input
    // pattern leaves them where nothing was typed); the date must exist and
    // have a four-digit year.
    static std::optional<std::chrono::year_month_day> parseDate(std::string_view text);
    // Blank: empty or the untouched pattern "年  月  日".
    static DateText classifyDate(std::string_view text);
    // The message for a date cell whose text is no date.
    static std::string invalidDateMessage(const std::string &text);

    std::vector<SignatoryRow> &rows() { return m_rows; }
    const std::vector<SignatoryRow> &rows() const { return m_rows; }

    // Text of an editable cell (columns 2 … 4); other columns give "".
    std::string cell(std::size_t row, int column) const;
    void setCell(std::size_t row, int column, const std::string &text);

    // Copies the first cell of the selection into the cells below it. A
    // selection that starts in column 0 or 1 is ignored; one over more than
    // one column is refused.
    FillResult fill(int firstColumn, int lastColumn, std::size_t firstRow, std::size_t lastRow);

    // The first row whose date text is neither blank nor a date.
    std::optional<std::size_t> firstInvalidDate() const;

    // The rows OK stores: those with a preparer or an appraiser, names cut to
    // ten characters, a blank date stored as none. Call only when
    // firstInvalidDate() is empty.
    std::vector<SheetSignatories> toSignatories() const;

private:
    std::vector<SignatoryRow> m_rows;
};

} // namespace vantor
