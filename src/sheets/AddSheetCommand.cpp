#include "sheets/AddSheetCommand.h"

#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/SheetCatalogue.h"

#include <algorithm>

namespace vantor {

int AddSheetCommand::insertPosition(int sheetCount)
{
    const int half = sheetCount / 2;
    if (sheetCount % 2 == 0)
        return half;
    // n / 2 ends in .5: the even one of its two neighbours.
    return half % 2 == 0 ? half : half + 1;
}

std::vector<AddableSheet> AddSheetCommand::addableSheets(const std::vector<std::string> &existingKeys)
{
    std::vector<AddableSheet> out;
    for (int id = SheetCatalogue::FirstAddableId; id <= SheetCatalogue::LastAddableId; ++id) {
        std::string key = SheetCatalogue::label(id);
        if (std::find(existingKeys.begin(), existingKeys.end(), key) != existingKeys.end())
            continue;
        out.push_back({id, std::move(key), SheetCatalogue::defaultCaption(id)});
    }
    return out;
}

std::vector<AddableSheet> AddSheetCommand::addableSheets(const Workbook &workbook)
{
    std::vector<std::string> labels;
    for (int i = 0; i < workbook.SheetCount(); ++i)
        labels.push_back(workbook.DoGetSheetLabel(i));
    return addableSheets(labels);
}

AddSheetCommand::Result AddSheetCommand::run(Workbook &workbook, int id, const std::string &code,
                                             const std::string &name, const SheetListWriter &writeSheetList)
{
    if (id < SheetCatalogue::FirstAddableId || id > SheetCatalogue::LastAddableId)
        return {Status::NotAddable};
    const std::string label = SheetCatalogue::label(id);
    if (workbook.findSheet(label) >= 0)
        return {Status::AlreadyPresent};

    const int previous = workbook.CurrentSheet();
    const int position = insertPosition(workbook.SheetCount());
    {
        UndoPause pause(workbook);
        workbook.DoInsertSheet(label, position, 1);
        workbook.DoSetCurrentSheet(position);
        try {
            if (writeSheetList)
                writeSheetList({id, code, name});
        } catch (...) {
            workbook.DoDeleteSheets(position, 1);
            workbook.DoSetCurrentSheet(previous);
            throw;
        }
        DetailSheetBuilder::build(workbook, id);
    }
    return {Status::Added, position};
}

} // namespace vantor
