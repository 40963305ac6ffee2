#include "import/LedgerImport.h"

#include "common/WrittenAmount.h"
#include "sheets/NumericInput.h"

#include <algorithm>

namespace vantor {

LedgerLines LedgerImport::lines(const ForeignSheet &sheet, int id, const LedgerMapping::Columns &mapping, int firstRow,
                                int lastRow)
{
    LedgerLines out;
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, sheet.rows - 1);
    if (lastRow < firstRow)
        return out;
    // Which form column each ledger column feeds (a ledger column may feed several).
    std::vector<std::vector<int>> targets(static_cast<std::size_t>(std::max(sheet.cols, 1)));
    for (std::size_t f = 0; f < mapping.size(); ++f)
        if (mapping[f] >= 0 && mapping[f] < sheet.cols)
            targets[static_cast<std::size_t>(mapping[f])].push_back(static_cast<int>(f));
    std::vector<bool> numeric(mapping.size()), percent(mapping.size());
    for (std::size_t f = 0; f < mapping.size(); ++f) {
        numeric[f] = NumericInput::isNumeric(id, static_cast<int>(f));
        percent[f] = NumericInput::takesPercent(id, static_cast<int>(f));
    }
    const std::vector<std::string> titles = LedgerMapping::formTitles(id);

    const std::size_t count = static_cast<std::size_t>(lastRow - firstRow + 1);
    LedgerFill::Rows rows(count);
    std::vector<bool> used(count);
    for (const ForeignCell &cell : sheet.cells) {
        if (cell.row < firstRow || cell.row > lastRow || cell.col >= sheet.cols || cell.input.empty())
            continue;
        const auto line = static_cast<std::size_t>(cell.row - firstRow);
        for (int f : targets[static_cast<std::size_t>(cell.col)]) {
            const auto fi = static_cast<std::size_t>(f);
            std::string input = cell.input;
            if (numeric[fi] && !cell.value.isNumber()) {
                auto number = WrittenAmount::decimalText(cell.input, percent[fi]);
                if (!number) {
                    out.unreadable.push_back(
                        {cell.row + 1, cell.col, fi < titles.size() ? titles[fi] : std::string(), cell.input});
                    continue;
                }
                input = std::move(*number);
            }
            auto &fields = rows[line];
            if (fields.size() <= fi)
                fields.resize(mapping.size());
            fields[fi] = std::move(input);
            used[line] = true;
        }
    }
    for (std::size_t i = 0; i < count; ++i)
        if (used[i])
            out.rows.push_back(std::move(rows[i]));
    std::sort(out.unreadable.begin(), out.unreadable.end(), [](const UnreadableCell &a, const UnreadableCell &b) {
        return a.row != b.row ? a.row < b.row : a.col < b.col;
    });
    return out;
}

std::string LedgerImport::describe(const std::vector<UnreadableCell> &cells, std::size_t maxShown)
{
    std::string text;
    for (std::size_t i = 0; i < cells.size() && i < maxShown; ++i) {
        const UnreadableCell &c = cells[i];
        text += "第" + std::to_string(c.row) + "行 " + LedgerMapping::columnName(c.col) + "列（" + c.heading + "）：“" +
                c.value + "”\n";
    }
    if (cells.size() > maxShown)
        text += "……另有" + std::to_string(cells.size() - maxShown) + "个\n";
    return text;
}

std::string LedgerImport::describeMapping(int id, const LedgerMapping::Columns &mapping, const LedgerHeadings &headings)
{
    const std::vector<std::string> titles = LedgerMapping::formTitles(id);
    std::string text;
    std::vector<bool> placed(headings.titles.size());
    for (std::size_t f = 0; f < titles.size(); ++f) {
        const int l = f < mapping.size() ? mapping[f] : LedgerMapping::Unmapped;
        text += titles[f] + " ← ";
        if (l < 0) {
            text += "（不导入）\n";
            continue;
        }
        text += LedgerMapping::columnName(l);
        if (l < static_cast<int>(headings.titles.size())) {
            placed[static_cast<std::size_t>(l)] = true;
            if (!headings.titles[static_cast<std::size_t>(l)].empty())
                text += " " + headings.titles[static_cast<std::size_t>(l)];
        }
        text += "\n";
    }
    for (std::size_t l = 0; l < placed.size(); ++l)
        if (!placed[l] && !headings.titles[l].empty())
            text +=
                "未对应的台帐列：" + LedgerMapping::columnName(static_cast<int>(l)) + " " + headings.titles[l] + "\n";
    return text;
}

} // namespace vantor
