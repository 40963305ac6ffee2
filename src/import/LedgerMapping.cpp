#include "import/LedgerMapping.h"

#include "common/Utf8Text.h"
#include "sheets/DetailLayouts.h"
#include "sheets/SheetCatalogue.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

namespace vantor {

namespace {

// Headings that name the same thing in clients' ledgers, compared after normalizing.
const std::vector<std::vector<std::string_view>> kSynonyms{
    {"序号", "行次"},
    {"名称", "资产名称", "设备名称", "名称及规格型号", "名称及内容", "名称或内容", "内容或名称", "商品名称", "存货名称",
     "物资名称", "材料名称", "建筑物名称", "房屋名称", "项目及内容"},
    {"规格型号", "型号规格", "规格", "型号"},
    {"计量单位", "单位"},
    {"数量", "实际数量", "帐面数量", "盘点数量"},
    {"原值", "帐面原值", "原价", "资产原值", "固定资产原值"},
    {"净值", "帐面净值", "净额", "资产净值"},
    {"购置日期", "启用日期", "购建日期", "建成年月", "购置年月", "启用年月", "购入日期", "开始使用日期"},
    {"备注", "说明"},
    {"帐面价值", "帐面金额", "帐面余额", "期末余额", "余额", "帐面值"},
    {"调整后帐面值", "调整后帐面价值", "调整后金额", "调整后余额"},
    {"评估价值", "评估值", "评估金额"},
    {"单价", "单位价格", "平均单价"},
    {"户名", "结算对象", "单位名称", "客户名称", "往来单位", "对方单位", "欠款对象名称", "付款单位名称"},
    {"发生日期", "业务日期", "入帐日期", "日期"},
    {"业务内容", "摘要", "款项内容", "内容"},
    {"建筑面积", "面积"},
    {"结构", "建筑结构"},
    {"币种", "币别"},
    {"帐号", "银行帐号"},
    {"开户银行", "开户行", "银行名称"},
    {"存放部门", "使用部门", "存放地点"},
    {"权证编号", "产权证号", "房产证号"},
};

constexpr std::string_view kBookGroup = "帐面价值";

// The synonym group of a normalized term, -1 for none.
int synonymGroup(const std::string &term)
{
    static const std::map<std::string, int> groups = [] {
        std::map<std::string, int> m;
        for (std::size_t g = 0; g < kSynonyms.size(); ++g)
            for (std::string_view t : kSynonyms[g])
                m.emplace(LedgerMapping::normalized(std::string(t)), static_cast<int>(g));
        return m;
    }();
    const auto it = groups.find(term);
    return it == groups.end() ? -1 : it->second;
}

enum class Match { None, Synonym, Exact };

Match compare(const std::string &a, const std::string &b)
{
    if (a.empty() || b.empty())
        return Match::None;
    if (a == b)
        return Match::Exact;
    const int g = synonymGroup(a);
    return g >= 0 && g == synonymGroup(b) ? Match::Synonym : Match::None;
}

struct FormColumn {
    std::string group; // normalized, empty for a single-level heading
    std::string leaf;
};

std::vector<FormColumn> formColumns(int id)
{
    std::vector<FormColumn> cols;
    const DetailLayout *layout = DetailLayouts::layout(id);
    if (!layout)
        return cols;
    for (int c = 0; c < layout->columnCount(); ++c) {
        const HeadingGroup *g = layout->groupOf(c);
        cols.push_back({g ? LedgerMapping::normalized(std::string(g->text)) : std::string(),
                        LedgerMapping::normalized(std::string(layout->heading(c)))});
    }
    return cols;
}

struct LedgerColumn {
    std::string group; // the heading piece above the last one
    std::string leaf;
    std::string full;
};

// A heading cell's text when it is a text.
const std::string *headingText(const ForeignCell &cell)
{
    return cell.value.isText() && !cell.input.empty() ? &cell.input : nullptr;
}

// Every term a heading row is recognised by: the form's headings and their synonyms.
bool knownTerm(const std::string &term, const std::vector<FormColumn> &form)
{
    if (term.empty())
        return false;
    if (synonymGroup(term) >= 0)
        return true;
    return std::any_of(form.begin(), form.end(), [&](const FormColumn &f) {
        return f.leaf == term || f.group == term || f.group + f.leaf == term;
    });
}

std::vector<std::vector<std::string>> headingGrid(const ForeignSheet &sheet, int first, int last)
{
    const int rows = last - first + 1;
    std::vector<std::vector<std::string>> grid(static_cast<std::size_t>(rows),
                                               std::vector<std::string>(static_cast<std::size_t>(sheet.cols)));
    for (const ForeignCell &c : sheet.cells)
        if (c.row >= first && c.row <= last && c.col < sheet.cols)
            grid[static_cast<std::size_t>(c.row - first)][static_cast<std::size_t>(c.col)] = c.input;
    // A merged heading names every column it spans.
    for (const CellRange &m : sheet.merges)
        for (int r = std::max(m.row1, first); r <= std::min(m.row2, last); ++r)
            for (int c = m.col1; c <= std::min(m.col2, sheet.cols - 1); ++c)
                if (m.row1 >= first && m.col1 < sheet.cols)
                    grid[static_cast<std::size_t>(r - first)][static_cast<std::size_t>(c)] =
                        grid[static_cast<std::size_t>(m.row1 - first)][static_cast<std::size_t>(m.col1)];
    // Without merges (old Excel files), a group heading sits over its first sub-column only:
    // an empty upper cell over a sub-heading takes the group of the sub-heading beside it.
    for (int r = rows - 2; r >= 0; --r)
        for (int c = 1; c < sheet.cols; ++c) {
            auto &upper = grid[static_cast<std::size_t>(r)];
            const auto &below = grid[static_cast<std::size_t>(r + 1)];
            if (upper[static_cast<std::size_t>(c)].empty() && !upper[static_cast<std::size_t>(c - 1)].empty() &&
                !below[static_cast<std::size_t>(c)].empty() && !below[static_cast<std::size_t>(c - 1)].empty())
                upper[static_cast<std::size_t>(c)] = upper[static_cast<std::size_t>(c - 1)];
        }
    return grid;
}

std::vector<LedgerColumn> ledgerColumns(const LedgerHeadings &h)
{
    std::vector<LedgerColumn> cols;
    for (const std::string &title : h.titles) {
        std::vector<std::string> pieces;
        std::size_t start = 0;
        while (start <= title.size()) {
            const std::size_t slash = std::min(title.find('/', start), title.size());
            const std::string piece = LedgerMapping::normalized(title.substr(start, slash - start));
            if (!piece.empty())
                pieces.push_back(piece);
            start = slash + 1;
        }
        LedgerColumn col;
        if (!pieces.empty())
            col.leaf = pieces.back();
        if (pieces.size() > 1)
            col.group = pieces[pieces.size() - 2];
        for (const std::string &p : pieces)
            col.full += p;
        cols.push_back(std::move(col));
    }
    return cols;
}

} // namespace

std::string LedgerMapping::normalized(const std::string &text)
{
    std::u32string out;
    int depth = 0;
    for (char32_t c : Utf8Text::decode(text)) {
        c = Utf8Text::halfWidth(c);
        if (c == U'(')
            ++depth;
        else if (c == U')')
            depth = std::max(0, depth - 1);
        else if (depth > 0)
            continue;
        else if (c == U'账')
            out += U'帐';
        else if (c >= U'A' && c <= U'Z')
            out += c - U'A' + U'a';
        else if ((c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9') || (c >= 0x4E00 && c <= 0x9FFF))
            out += c;
    }
    return Utf8Text::encode(out);
}

std::vector<std::string> LedgerMapping::formTitles(int id)
{
    std::vector<std::string> titles;
    const DetailLayout *layout = DetailLayouts::layout(id);
    if (!layout) {
        // 表11 has no heading layout: its columns go by their letters.
        const int cols = id == SheetCatalogue::ContraSheetId ? DetailLayouts::ContraDataColumns + 2 : 0;
        for (int c = 0; c < cols; ++c)
            titles.push_back(columnName(c) + "列");
        return titles;
    }
    auto plain = [](std::string_view s) {
        std::string t;
        for (char ch : s)
            if (ch != '\r' && ch != ' ')
                t += ch;
        return t;
    };
    for (int c = 0; c < layout->columnCount(); ++c) {
        const HeadingGroup *g = layout->groupOf(c);
        titles.push_back((g ? plain(g->text) + "/" : std::string()) + plain(layout->heading(c)));
    }
    return titles;
}

LedgerHeadings LedgerMapping::detect(const ForeignSheet &sheet, int id)
{
    const std::vector<FormColumn> form = formColumns(id);
    const int scanned = std::min(sheet.rows, 20);
    std::vector<int> known(static_cast<std::size_t>(scanned)), texts(known.size()), numbers(known.size());
    for (const ForeignCell &c : sheet.cells) {
        if (c.row >= scanned)
            continue;
        const auto r = static_cast<std::size_t>(c.row);
        if (const std::string *t = headingText(c)) {
            ++texts[r];
            known[r] += knownTerm(normalized(*t), form);
        } else if (c.value.isNumber()) {
            ++numbers[r];
        }
    }
    LedgerHeadings h;
    int best = 0;
    for (int r = 0; r < scanned; ++r)
        if (known[static_cast<std::size_t>(r)] > best && known[static_cast<std::size_t>(r)] >= 2) {
            best = known[static_cast<std::size_t>(r)];
            h.first = h.last = r;
        }
    if (h.first < 0) {
        // No headings: the data starts at the first row with a number.
        for (int r = 0; r < scanned; ++r)
            if (numbers[static_cast<std::size_t>(r)] > 0) {
                h.firstDataRow = r;
                break;
            }
        return h;
    }
    // A group row above or a sub-heading row below belongs to the headings.
    if (h.first > 0 && known[static_cast<std::size_t>(h.first - 1)] >= 1 &&
        texts[static_cast<std::size_t>(h.first - 1)] >= 2 && numbers[static_cast<std::size_t>(h.first - 1)] == 0)
        --h.first;
    else if (h.last + 1 < scanned && known[static_cast<std::size_t>(h.last + 1)] >= 1 &&
             numbers[static_cast<std::size_t>(h.last + 1)] == 0)
        ++h.last;
    h.firstDataRow = h.last + 1;
    const auto grid = headingGrid(sheet, h.first, h.last);
    for (int c = 0; c < sheet.cols; ++c) {
        std::string title;
        std::string previous;
        for (const auto &row : grid) {
            const std::string &piece = row[static_cast<std::size_t>(c)];
            if (piece.empty() || piece == previous)
                continue;
            title += (title.empty() ? "" : "/") + piece;
            previous = piece;
        }
        h.titles.push_back(title);
    }
    return h;
}

LedgerMapping::Columns LedgerMapping::propose(int id, const LedgerHeadings &headings)
{
    if (!DetailLayouts::layout(id))
        return byPosition(id, ForeignSheet::MaxCols);
    const std::vector<FormColumn> form = formColumns(id);
    const std::vector<LedgerColumn> ledger = ledgerColumns(headings);
    Columns mapping(form.size(), Unmapped);
    const ColumnRoles roles = DetailLayouts::columnRoles(id);
    std::map<std::string, int> leafCount;
    for (const FormColumn &f : form)
        ++leafCount[f.leaf];
    // (score, form column, ledger column); the best scores are placed first.
    std::vector<std::tuple<int, int, int>> candidates;
    for (std::size_t fi = 0; fi < form.size(); ++fi) {
        const FormColumn &f = form[fi];
        for (std::size_t li = 0; li < ledger.size(); ++li) {
            const LedgerColumn &l = ledger[li];
            int score = 0;
            const bool money = static_cast<int>(fi) == roles.book || static_cast<int>(fi) == roles.adjusted ||
                               static_cast<int>(fi) == roles.appraised;
            if (money && !f.group.empty() && l.group.empty() && compare(f.group, l.full) != Match::None) {
                score = 1; // "帐面价值" alone stands for the group's amount
            } else if (f.group.empty()) {
                const Match m = std::max(compare(f.leaf, l.leaf), compare(f.leaf, l.full));
                score = m == Match::Exact ? 4 : m == Match::Synonym ? 2 : 0;
            } else if (l.full == f.group + f.leaf) {
                score = 4;
            } else if (const Match leaf = compare(f.leaf, l.leaf); leaf != Match::None) {
                if (!l.group.empty() && compare(f.group, l.group) != Match::None)
                    score = leaf == Match::Exact ? 4 : 3;
                else if (l.group.empty() && leaf == Match::Exact && leafCount[f.leaf] == 1)
                    score = 2;
                else if (l.group.empty() && f.group == kBookGroup)
                    score = 1;
            }
            if (score > 0)
                candidates.emplace_back(score, static_cast<int>(fi), static_cast<int>(li));
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto &a, const auto &b) { return std::get<0>(a) > std::get<0>(b); });
    std::vector<bool> used(ledger.size());
    for (const auto &[score, fi, li] : candidates)
        if (mapping[static_cast<std::size_t>(fi)] == Unmapped && !used[static_cast<std::size_t>(li)]) {
            mapping[static_cast<std::size_t>(fi)] = li;
            used[static_cast<std::size_t>(li)] = true;
        }
    return mapping;
}

LedgerMapping::Columns LedgerMapping::byPosition(int id, int ledgerCols)
{
    const std::size_t n = formTitles(id).size();
    Columns mapping(n, Unmapped);
    for (std::size_t c = 0; c < n && static_cast<int>(c) < ledgerCols; ++c)
        mapping[c] = static_cast<int>(c);
    return mapping;
}

std::optional<LedgerMapping::Columns> LedgerMapping::parse(int id, const std::string &text, std::string &error)
{
    const std::vector<std::string> titles = formTitles(id);
    Columns mapping(titles.size(), Unmapped);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string item = text.substr(start, end - start);
        start = end + 1;
        if (item.empty())
            continue;
        const std::size_t eq = item.find('=');
        if (eq == std::string::npos) {
            error = "“" + item + "”应写成“栏目=列”，例如“名称=C”。";
            return std::nullopt;
        }
        const std::string name = normalized(item.substr(0, eq));
        const std::string letter = item.substr(eq + 1);
        // A heading names a column by its full title, or by its own text when that is unique.
        int found = -1, matches = 0;
        for (std::size_t c = 0; c < titles.size(); ++c) {
            const std::string full = normalized(titles[c]);
            const std::size_t slash = titles[c].rfind('/');
            const std::string leaf = normalized(slash == std::string::npos ? titles[c] : titles[c].substr(slash + 1));
            if (full == name) {
                found = static_cast<int>(c);
                matches = 1;
                break;
            }
            if (leaf == name) {
                found = static_cast<int>(c);
                ++matches;
            }
        }
        if (matches != 1) {
            error = matches == 0 ? "本表没有“" + item.substr(0, eq) + "”这一栏。"
                                 : "本表有几栏叫“" + item.substr(0, eq) + "”，请写全，例如“帐面价值/原值”。";
            return std::nullopt;
        }
        const int col = columnIndex(letter);
        if (col < 0 || col >= ForeignSheet::MaxCols) {
            error = "“" + letter + "”不是台帐的列名（A、B、C ……）。";
            return std::nullopt;
        }
        mapping[static_cast<std::size_t>(found)] = col;
    }
    return mapping;
}

std::string LedgerMapping::memoryKey(int id, const LedgerHeadings &headings)
{
    std::string key = std::to_string(id);
    for (const std::string &t : headings.titles)
        key += "|" + normalized(t);
    return key;
}

std::string LedgerMapping::columnName(int col)
{
    std::string name;
    for (int n = col + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

int LedgerMapping::columnIndex(const std::string &name)
{
    if (name.empty() || name.size() > 3)
        return -1;
    int n = 0;
    for (char ch : name) {
        const char up = ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
        if (up < 'A' || up > 'Z')
            return -1;
        n = n * 26 + (up - 'A' + 1);
    }
    return n - 1;
}

} // namespace vantor
