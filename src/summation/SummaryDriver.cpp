#include "summation/SummaryDriver.h"

#include "sheet_component/engine/ColumnFit.h"

#include "common/Prompter.h"
#include "project/ProjectStore.h"
#include "project/ReportQueries.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "summation/NodeFilter.h"
#include "summation/SummarySheets.h"

namespace vantor {

namespace {

constexpr const char *kTitle = "Vantor";
constexpr int kB1 = 1;

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
    const SheetSums sums = ReportQueries::sumsInRanges(store.database(), query.ids, filter.sqlNodes(), query.withCost);
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
