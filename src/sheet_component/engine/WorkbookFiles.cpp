// The workbook's file operations, delegating to the .cll reader and writer.

#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/Workbook.h"

namespace vantor {

void Workbook::DoOpenFile(const std::string &path)
{
    std::unique_ptr<Workbook> loaded = loadWorkbook(path);
    assignFrom(std::move(*loaded));
}

void Workbook::DoSaveFile(const std::string &path) const
{
    saveWorkbook(*this, path);
}

} // namespace vantor
