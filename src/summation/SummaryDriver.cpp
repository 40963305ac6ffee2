#include "summation/SummaryDriver.h"

#include "sheet_component/engine/ColumnFit.h"

#include "common/Prompter.h"
#include "project/Database.h"
#include "project/ProjectStore.h"
#include "project/Statement.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "summation/NodeFilter.h"
#include "summation/SummarySheets.h"

#include <array>

namespace vantor {

namespace {

constexpr const char *kTitle = "Vantor";
constexpr int kB1 = 1;

// The sums per sheet id of the ids the sheet admits, for the nodes of the filter. The
// database selects the rows and the program adds them: grouping in SQL walks the id index
// with a table lookup per row, or sorts every row, either of which costs several times a
// plain scan of the table ("+id" keeps the id index out of the plan; the pmid index still
// serves the node conditions). Amount addition is checked, so a sum beyond the currency
// range throws instead of wrapping.
SheetSums readSums(const ProjectStore &store, const NodeFilter &filter, const SummaryQuery &query)
{
    SheetSums sums;
    if (query.ids.empty())
        return sums;
    std::string sql = query.withCost ? "SELECT id, v1, v2, v3, z1, z2, z3" : "SELECT id, v1, v2, v3";
    sql += " FROM sheetdata WHERE (";
    for (std::size_t i = 0; i < query.ids.size(); ++i)
        sql += i ? " OR +id BETWEEN ? AND ?" : "+id BETWEEN ? AND ?";
    sql += ")" + filter.condition();

    Statement st = store.database().prepare(sql);
    int next = 1;
    for (const SheetIdRange &range : query.ids) {
        st.bind(next++, range.first);
        st.bind(next++, range.last);
    }
    filter.bind(st, next);
    const int columns = query.withCost ? 6 : 3;
    std::array<std::array<Amount, 6>, 128> byId{};
    std::array<bool, 128> seen{};
    while (st.step()) {
        const int16_t id = st.columnInt16(0);
        if (id < 0 || id >= static_cast<int>(byId.size()))
            continue;
        seen[id] = true;
        for (int c = 0; c < columns; ++c)
            byId[id][c] += Amount::fromUnits(st.columnInt64(c + 1));
    }
    for (std::size_t id = 0; id < byId.size(); ++id)
        if (seen[id]) {
            const auto &a = byId[id];
            sums[static_cast<int16_t>(id)] = {a[0], a[1], a[2], a[3], a[4], a[5]};
        }
    return sums;
}

} // namespace

int SummaryDriver::sheetOf(const std::string &label)
{
    if (label.size() == 2 && label[0] == 'b' && label[1] >= '0' && label[1] <= '9')
        return label[1] - '0';
    return -1;
}

bool SummaryDriver::build(Workbook &workbook, const ProjectStore &store, const std::string &label, int16_t pmid,
                          Prompter &prompter, std::optional<bool> *unit)
{
    const int sheet = sheetOf(label);
    if (sheet < 0)
        return false;
    const int index = workbook.findSheet(label);
    const int b1Index = workbook.findSheet("b1");
    const bool readsB1 = sheet == 0 || sheet == 2 || sheet == 3;
    if (index < 0 || (readsB1 && b1Index < 0))
        return false;

    const NodeFilter filter = NodeFilter::forNode(store, pmid);
    // One pass over the totals serves b1 too: each sheet takes only the ids it maps.
    SummaryQuery query = SummarySheets::query(sheet);
    if (readsB1) {
        const SummaryQuery assets = SummarySheets::query(kB1);
        query.ids.insert(query.ids.end(), assets.ids.begin(), assets.ids.end());
        query.withCost = true;
    }
    const SheetSums sums = readSums(store, filter, query);
    SummaryContent b1;
    if (readsB1)
        b1 = SummarySheets::content(kB1, sums, b1Index + 1, false);
    bool yuan = false;
    if (sheet == 0 && unit && unit->has_value())
        yuan = **unit;
    else if (sheet == 0)
        yuan = prompter.question(SummarySheets::UnitQuestion, kTitle, QuestionButtons::YesNo, MessageIcon::Question) ==
               Answer::Yes;
    if (sheet == 0 && unit)
        *unit = yuan;
    const SummaryContent content = SummarySheets::content(sheet, sums, b1Index + 1, yuan);

    UndoPause pause(workbook);
    const bool modified = workbook.IsModified();
    if (readsB1)
        b1.writeTo(workbook, b1Index);
    content.writeTo(workbook, index);
    ColumnFit::toNumbers(workbook, index);
    if (readsB1)
        ColumnFit::toNumbers(workbook, b1Index);
    workbook.DoSetModified(modified);
    return true;
}

} // namespace vantor
