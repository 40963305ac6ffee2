#pragma once

// Reading and writing workbook files (.cll). A file holds everything a Workbook holds: sheets
// with labels and order, sizes, cells (values, formulas, formats), merges, column widths, row
// heights, frozen rows, print settings, the default font and the current sheet, and where the
// user was in each sheet (selection and current cell) when the caller keeps that. The layout, how damage is detected
// and the versioning rules are described in docs/cll-format.md.
//
// Saving is atomic: the previous file survives any failure. Loading never returns a workbook
// built from a damaged file: it throws CllFileError with a message that can be shown as it is.

#include "sheet_component/engine/CllFileError.h"
#include "sheet_component/engine/Selection.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

class Workbook;

class CllFile {
public:
    // Every file written is at least this long; shorter files are refused.
    static constexpr std::size_t MinFileSize = 1024;
    static constexpr std::uint32_t FormatVersion = 1;
    static constexpr std::size_t HeaderSize = 32;
    static constexpr std::size_t TrailerSize = 8;

    // Limits a file must stay within; they keep a crafted file from exhausting memory.
    static constexpr int MaxCols = 16384;
    static constexpr int MaxRows = 1048576;
    static constexpr int MaxSheets = 10000;
    static constexpr std::int64_t MaxTotalRows = 4194304;
    static constexpr std::int64_t MaxTotalCols = 1048576;
    // Cells the engine materialises: per stored row, every column up to its last used one.
    static constexpr std::int64_t MaxMaterialisedCells = 16777216;

    // Writes the workbook to path atomically, with the view's selections when given. Throws
    // CllFileError (SaveFailed).
    static void save(const Workbook &workbook, const std::string &path, const Selection *view = nullptr);
    // Reads a workbook; each sheet's saved selection goes to `views` when given. Throws
    // CllFileError; the message names the file.
    static std::unique_ptr<Workbook> load(const std::string &path, std::vector<SheetViewState> *views = nullptr);

    // The complete file content, and its inverse; used by save/load and by tests that damage
    // files in memory. fromBytes throws CllFileError whose message does not name a file.
    static std::string toBytes(const Workbook &workbook, const Selection *view = nullptr);
    static std::unique_ptr<Workbook> fromBytes(std::string_view bytes, std::vector<SheetViewState> *views = nullptr);
};

// The engine's entry points for files (Workbook::DoOpenFile / DoSaveFile delegate here).
inline void saveWorkbook(const Workbook &workbook, const std::string &path)
{
    CllFile::save(workbook, path);
}

inline std::unique_ptr<Workbook> loadWorkbook(const std::string &path)
{
    return CllFile::load(path);
}

// The same under the names some callers use.
inline void saveWorkbookFile(const Workbook &workbook, const std::string &path)
{
    CllFile::save(workbook, path);
}

inline std::unique_ptr<Workbook> loadWorkbookFile(const std::string &path)
{
    return CllFile::load(path);
}

} // namespace vantor
