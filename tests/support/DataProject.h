#pragma once

// A data-entry project in a scratch folder for the report tests: the template workbook with
// detail sheets added and filled, and the project file whose sheet totals the summaries read.

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"
#include "sheets/SheetCatalogue.h"
#include "sheets/TemplateWorkbook.h"
#include "support/TempDir.h"

#include <optional>
#include <string>

namespace vantor::test {

struct DataProject {
    DataProject() : db(dir.file("_workfile.mdb"), Database::Mode::ReadWriteCreate)
    {
        ProjectSchema::create(db, 1);
        store.emplace(db);
        TemplateWorkbook::build(workbook);
    }

    // Detail sheet `id` (added unless the template has it) with `rows` data rows, each with a
    // name and `amount` as book, adjusted and appraised value; the sheet's total goes into the
    // project file.
    void addSheet(int id, int rows, double amount)
    {
        int index = workbook.findSheet(SheetCatalogue::label(id));
        if (index < 0) {
            workbook.DoAddSheet(SheetCatalogue::label(id));
            index = workbook.SheetCount() - 1;
            workbook.DoSetCurrentSheet(index);
            DetailSheetBuilder::build(workbook, id);
        }
        workbook.DoSetCurrentSheet(index);
        workbook.SetRows(DetailLayouts::FirstDataRow + rows, index);
        const ColumnRoles roles = DetailLayouts::columnRoles(id);
        for (int r = 0; r < rows; ++r) {
            workbook.DoSetCellData(1, DetailLayouts::FirstDataRow + r, "资产" + std::to_string(r + 1), index);
            for (int c : {roles.book, roles.adjusted, roles.appraised})
                workbook.DoSetCellData(c, DetailLayouts::FirstDataRow + r, amount, index);
        }
        RowFormulas::writeTotals(workbook, id, true);
        const Amount total = *Amount::fromDouble(amount * rows);
        store->writeSheetTotals(static_cast<int16_t>(id), 0, {total, total, total, {}, {}, {}});
    }

    TempDir dir;
    Database db;
    std::optional<ProjectStore> store;
    Workbook workbook;
};

} // namespace vantor::test
