#pragma once

// A data-entry project as the whole-report benchmarks use it: the template workbook plus every
// detail sheet 10 … 77 and 表11 (69 forms besides the summaries), each detail sheet with `rows`
// filled data rows and its totals, and the sheet totals in the project file so that the summary
// sheets have figures. The project file lives in a scratch folder removed with the fixture.

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"
#include "sheets/SheetCatalogue.h"
#include "sheets/TemplateWorkbook.h"

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include <unistd.h>

namespace vantor::bench {

struct ReportProject {
    explicit ReportProject(int rows)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantor-reportbench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("no scratch folder");
        folder = pattern;
        db = std::make_unique<Database>(folder + "/_workfile.mdb", Database::Mode::ReadWriteCreate);
        ProjectSchema::create(*db, 1);
        store = std::make_unique<ProjectStore>(*db);
        TemplateWorkbook::build(workbook);
        for (int id = SheetCatalogue::FirstDetailId; id <= SheetCatalogue::LastDetailId; ++id) {
            int index = workbook.findSheet(SheetCatalogue::label(id));
            if (index < 0) {
                workbook.DoAddSheet(SheetCatalogue::label(id));
                index = workbook.SheetCount() - 1;
                workbook.DoSetCurrentSheet(index);
                DetailSheetBuilder::build(workbook, id);
            }
            workbook.DoSetCurrentSheet(index);
            fill(id, index, rows);
        }
    }
    ~ReportProject()
    {
        store.reset();
        db.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

    void fill(int id, int index, int rows)
    {
        const ColumnRoles roles = DetailLayouts::columnRoles(id);
        workbook.SetRows(DetailLayouts::FirstDataRow + rows, index);
        for (int r = DetailLayouts::FirstDataRow; r < DetailLayouts::FirstDataRow + rows; ++r) {
            workbook.DoSetCellData(0, r, static_cast<double>(r - 2), index);
            workbook.DoSetCellData(1, r, "资产名称第" + std::to_string(r - 2) + "项", index);
            for (int c : {roles.book, roles.adjusted, roles.appraised})
                if (c > 1)
                    workbook.DoSetCellData(c, r, 1000.0 * (r % 17 + 1) + 0.25, index);
        }
        RowFormulas::writeTotals(workbook, id, true);
        const Amount each = Amount::fromUnits(int64_t{10000} * 1000 * rows);
        store->writeSheetTotals(static_cast<int16_t>(id), 0, {each, each, each, {}, {}, {}});
    }

    std::string folder;
    std::unique_ptr<Database> db;
    std::unique_ptr<ProjectStore> store;
    Workbook workbook;
};

} // namespace vantor::bench
