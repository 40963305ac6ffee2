#include "project/dialogs/SignatoryTable.h"

#include "common/Utf8Text.h"
#include "project/ProjectStore.h"
#include "project/ProjectTree.h"

#include <cstdio>

namespace vantor {

namespace {

constexpr std::string_view kYear = "年";
constexpr std::string_view kMonth = "月";
constexpr std::string_view kDay = "日";

std::string withoutBlanks(std::string_view text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '_')
            out += c;
    return out;
}

// Reads digits up to `unit` from `pos`; -1 when there are none, too many, or
// the unit does not follow.
int readNumber(const std::string &text, std::size_t &pos, std::string_view unit, std::size_t maxDigits,
               std::size_t minDigits)
{
    std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    std::size_t digits = pos - start;
    if (digits < minDigits || digits > maxDigits || text.compare(pos, unit.size(), unit) != 0)
        return -1;
    pos += unit.size();
    return value;
}

} // namespace

SignatoryTable SignatoryTable::fromSheets(const std::vector<SignatorySheet> &sheets, std::chrono::year_month_day today)
{
    SignatoryTable table;
    for (const SignatorySheet &s : sheets) {
        SignatoryRow row;
        row.id = s.id;
        row.caption = ProjectTree::sheetCaption(s.code, s.name);
        row.tbr = s.signatories.tbr;
        row.pgry = s.signatories.pgry;
        // Today is only the suggestion for a sheet never signed; a stored row whose date was
        // cleared keeps it empty.
        if (s.signatories.tbrq)
            row.date = formatDate(*s.signatories.tbrq);
        else if (!s.stored)
            row.date = formatDate(today);
        table.m_rows.push_back(std::move(row));
    }
    return table;
}

std::string SignatoryTable::formatDate(std::chrono::year_month_day date)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d年%02u月%02u日", int(date.year()), unsigned(date.month()),
                  unsigned(date.day()));
    return buf;
}

std::optional<std::chrono::year_month_day> SignatoryTable::parseDate(std::string_view text)
{
    const std::string t = withoutBlanks(text);
    std::size_t pos = 0;
    int y = readNumber(t, pos, kYear, 4, 4);
    if (y < 0)
        return std::nullopt;
    int m = readNumber(t, pos, kMonth, 2, 1);
    if (m < 0)
        return std::nullopt;
    int d = readNumber(t, pos, kDay, 2, 1);
    if (d < 0 || pos != t.size())
        return std::nullopt;
    std::chrono::year_month_day date{std::chrono::year{y}, std::chrono::month{unsigned(m)},
                                     std::chrono::day{unsigned(d)}};
    if (!date.ok() || y < 1000)
        return std::nullopt;
    return date;
}

SignatoryTable::DateText SignatoryTable::classifyDate(std::string_view text)
{
    const std::string t = withoutBlanks(text);
    if (t.empty() || t == "年月日")
        return DateText::Blank;
    return parseDate(text) ? DateText::Valid : DateText::Invalid;
}

std::string SignatoryTable::invalidDateMessage(const std::string &text)
{
    return "类型不匹配:\n\n[" + text + "]不是有效的或合理的输入。";
}

std::string SignatoryTable::cell(std::size_t row, int column) const
{
    if (row >= m_rows.size())
        return {};
    const SignatoryRow &r = m_rows[row];
    switch (column) {
    case PreparerColumn:
        return r.tbr;
    case AppraiserColumn:
        return r.pgry;
    case DateColumn:
        return r.date;
    default:
        return {};
    }
}

void SignatoryTable::setCell(std::size_t row, int column, const std::string &text)
{
    if (row >= m_rows.size())
        return;
    SignatoryRow &r = m_rows[row];
    if (column == PreparerColumn)
        r.tbr = text;
    else if (column == AppraiserColumn)
        r.pgry = text;
    else if (column == DateColumn)
        r.date = text;
}

SignatoryTable::FillResult SignatoryTable::fill(int firstColumn, int lastColumn, std::size_t firstRow,
                                                std::size_t lastRow)
{
    if (firstColumn < PreparerColumn)
        return FillResult::Ignored;
    if (lastColumn != firstColumn)
        return FillResult::TooWide;
    if (firstRow >= m_rows.size() || lastRow <= firstRow)
        return FillResult::Ignored;
    if (lastRow >= m_rows.size())
        lastRow = m_rows.size() - 1;
    const std::string value = cell(firstRow, firstColumn);
    for (std::size_t r = firstRow + 1; r <= lastRow; ++r)
        setCell(r, firstColumn, value);
    return FillResult::Filled;
}

std::optional<std::size_t> SignatoryTable::firstInvalidDate() const
{
    for (std::size_t r = 0; r < m_rows.size(); ++r)
        if (classifyDate(m_rows[r].date) == DateText::Invalid)
            return r;
    return std::nullopt;
}

std::vector<SheetSignatories> SignatoryTable::toSignatories() const
{
    std::vector<SheetSignatories> out;
    for (const SignatoryRow &r : m_rows) {
        SheetSignatories s;
        s.id = r.id;
        s.tbr = std::string(Utf8Text::left(r.tbr, ProjectStore::kSignatoryLength));
        s.pgry = std::string(Utf8Text::left(r.pgry, ProjectStore::kSignatoryLength));
        if (s.tbr.empty() && s.pgry.empty())
            continue;
        s.tbrq = parseDate(r.date);
        out.push_back(std::move(s));
    }
    return out;
}

} // namespace vantor
