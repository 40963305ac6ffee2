#include "sheets/TemplateWorkbook.h"

#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/SheetCatalogue.h"
#include "sheets/SummaryLayout.h"

#include <array>

namespace vantor {

namespace {

constexpr int First = SheetCatalogue::FirstDetailId;
constexpr int Contra = SheetCatalogue::ContraSheetId;
constexpr std::array<int, 12> kOrder{0, 1, 2, 3, First, Contra, 4, 5, 6, 7, 8, 9};
constexpr std::array<int, 12> kByNumber{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, First, Contra};

static_assert(kOrder[TemplateWorkbook::SummaryProbeIndex] == 1);
static_assert(kOrder[TemplateWorkbook::DetailProbeIndex] == First);

} // namespace

std::span<const int> TemplateWorkbook::sheetIds()
{
    return kOrder;
}

std::span<const int> TemplateWorkbook::sheetIdsByNumber()
{
    return kByNumber;
}

void TemplateWorkbook::build(Workbook &workbook)
{
    workbook.DoResetWorkbook();
    workbook.setSheetLabel(0, SheetCatalogue::label(kOrder[0]));
    for (std::size_t i = 1; i < kOrder.size(); ++i)
        workbook.DoAddSheet(SheetCatalogue::label(kOrder[i]));
    for (std::size_t i = 0; i < kOrder.size(); ++i) {
        const int id = kOrder[i];
        if (SummaryLayout::layout(id)) {
            SummaryLayout::build(workbook, static_cast<int>(i), id);
        } else {
            workbook.DoSetCurrentSheet(static_cast<int>(i));
            DetailSheetBuilder::build(workbook, id);
        }
    }
    workbook.DoSetCurrentSheet(0);
    // The template is a starting point, not an edit: nothing to undo, nothing to save.
    workbook.undoStack().clear();
    workbook.DoSetModified(false);
}

} // namespace vantor
