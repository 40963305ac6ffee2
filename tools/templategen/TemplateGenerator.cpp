#include "TemplateGenerator.h"

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"
#include "project/Savepoint.h"
#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/SheetCatalogue.h"
#include "sheets/SummaryLayout.h"
#include "sheets/TemplateWorkbook.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace vantor {

namespace {

// The program refuses templates shorter than this.
constexpr std::uintmax_t MinimumTemplateSize = 1024;

std::pair<std::string, std::string> codeAndName(int id)
{
    if (const SummarySheetEntry *s = SheetCatalogue::summaryEntry(id))
        return {std::string(s->code), std::string(s->name)};
    return SheetCatalogue::codeAndName(id);
}

void checkSize(const std::string &path)
{
    std::error_code ec;
    std::uintmax_t size = fs::file_size(path, ec);
    if (ec)
        throw std::runtime_error(path + ": " + ec.message());
    if (size < MinimumTemplateSize)
        throw std::runtime_error(path + " is only " + std::to_string(size) + " bytes long");
}

// Removes a half-written file when generation fails before the rename.
class TempFile {
public:
    explicit TempFile(std::string path) : m_path(std::move(path)) { fs::remove(m_path); }
    ~TempFile()
    {
        std::error_code ec;
        if (!m_kept)
            fs::remove(m_path, ec);
    }
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;

    const std::string &path() const { return m_path; }
    void renameTo(const std::string &target)
    {
        fs::rename(m_path, target);
        m_kept = true;
    }

private:
    std::string m_path;
    bool m_kept = false;
};

} // namespace

void TemplateGenerator::generate(const std::string &folder)
{
    fs::create_directories(folder);
    const std::string workbook = (fs::path(folder) / WorkbookFile).string();
    const std::string database = (fs::path(folder) / DatabaseFile).string();
    writeWorkbook(workbook);
    verifyWorkbook(workbook);
    writeDatabase(database);
    verifyDatabase(database);
}

void TemplateGenerator::writeWorkbook(const std::string &path)
{
    Workbook workbook;
    TemplateWorkbook::build(workbook);
    saveWorkbook(workbook, path);
}

void TemplateGenerator::writeDatabase(const std::string &path)
{
    TempFile temp(path + ".tmp");
    {
        Database db(temp.path(), Database::Mode::ReadWriteCreate);
        ProjectSchema::create(db, 1);
        {
            Savepoint sp(db);
            ProjectStore store(db);
            NodeProperties root;
            root.frdb = LegalRepresentativePlaceholder;
            store.updateNodeProperties(0, root);
            for (int id : TemplateWorkbook::sheetIdsByNumber()) {
                auto [code, name] = codeAndName(id);
                store.insertSheet({static_cast<int16_t>(id), code, name});
            }
            sp.commit();
        }
        // A compact file without free pages; the connection closes before the rename.
        db.compact();
    }
    temp.renameTo(path);
}

void TemplateGenerator::verifyWorkbook(const std::string &path)
{
    checkSize(path);
    std::unique_ptr<Workbook> workbook = loadWorkbook(path);
    const auto ids = TemplateWorkbook::sheetIds();
    if (workbook->SheetCount() != static_cast<int>(ids.size()))
        throw std::runtime_error(path + ": " + std::to_string(workbook->SheetCount()) + " sheets instead of " +
                                 std::to_string(ids.size()));
    for (int i = 0; i < workbook->SheetCount(); ++i) {
        if (workbook->DoGetSheetLabel(i) != SheetCatalogue::label(ids[static_cast<std::size_t>(i)]))
            throw std::runtime_error(path + ": sheet " + std::to_string(i) + " is labelled \"" +
                                     workbook->DoGetSheetLabel(i) + "\"");
    }
    // The checks a new project makes on the copied template.
    if (workbook->DoGetSheetLabel(TemplateWorkbook::SummaryProbeIndex) != "b1" ||
        workbook->DoGetSheetLabel(TemplateWorkbook::DetailProbeIndex) != "b10")
        throw std::runtime_error(path + ": b1 or b10 is not where a new project looks for it");
    // The summation writes into fixed rows next to these captions.
    for (const SummarySheetLayout &layout : SummaryLayout::layouts()) {
        const int index = workbook->findSheet(SheetCatalogue::label(layout.id));
        if (index < 0 || workbook->Rows(index) != layout.rows || workbook->Cols(index) != layout.cols)
            throw std::runtime_error(path + ": " + SheetCatalogue::label(layout.id) + " has the wrong size");
        for (const SummaryRow &row : layout.captions) {
            if (workbook->DoGetSheetCellData(layout.captionColumn, row.row, index).text() != row.caption)
                throw std::runtime_error(path + ": " + SheetCatalogue::label(layout.id) + " lost the caption of row " +
                                         std::to_string(row.row));
        }
    }
}

void TemplateGenerator::verifyDatabase(const std::string &path)
{
    checkSize(path);
    Database db(path, Database::Mode::ReadOnly);
    ProjectSchema::check(db);

    const ProjectStore store(db);
    const auto root = store.node(0);
    if (!root || root->properties.frdb != LegalRepresentativePlaceholder)
        throw std::runtime_error(path + ": row 0 of pmprop is missing or incomplete");
    if (store.nodes().size() != 1)
        throw std::runtime_error(path + ": pmprop holds more than the project row");

    const auto ids = TemplateWorkbook::sheetIdsByNumber();
    const std::vector<SheetListRow> list = store.sheets();
    if (list.size() != ids.size())
        throw std::runtime_error(path + ": sheetlist has " + std::to_string(list.size()) + " rows instead of " +
                                 std::to_string(ids.size()));
    for (std::size_t n = 0; n < list.size(); ++n)
        if (list[n].id != ids[n] || list[n].code.empty() || list[n].name.empty())
            throw std::runtime_error(path + ": sheetlist does not match the template workbook");
    if (!store.signatories(0).empty() || !store.sheetData().empty())
        throw std::runtime_error(path + ": sheetprop or sheetdata is not empty");
}

} // namespace vantor
