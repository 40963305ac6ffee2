#include "import/XlsReader.h"

#include "import/ImportError.h"

#include <freexl.h>

#include <charconv>
#include <filesystem>
#include <memory>

namespace vantor {

namespace {

struct Closer {
    void operator()(const void *handle) const { freexl_close(handle); }
};
using Handle = std::unique_ptr<const void, Closer>;

Handle openHandle(const std::string &path, bool infoOnly, const std::string &shown)
{
    const void *raw = nullptr;
    const int rc = infoOnly ? freexl_open_info(path.c_str(), &raw) : freexl_open(path.c_str(), &raw);
    Handle handle(raw);
    if (rc != FREEXL_OK)
        throw ImportError("“" + shown + "”不是可以读取的旧版 Excel 文件（.xls），可能已经损坏。");
    return handle;
}

std::string numberInput(double value)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::string tooBig(const std::string &sheet)
{
    return "工作表“" + sheet + "”超过 " + std::to_string(ForeignSheet::MaxRows) + " 行或 " +
           std::to_string(ForeignSheet::MaxCols) + " 列，不能打开。";
}

} // namespace

std::vector<ForeignSheet> XlsReader::read(const std::string &path)
{
    const std::string shown = std::filesystem::path(path).filename().string();
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        throw ImportError("无法读取文件：" + path);
    if (size > MaxBytes)
        throw ImportError("“" + shown + "”超过 200 MB，不能打开。");

    // The sizes first, from a parse that keeps no cells: a hostile file must not make the
    // full read allocate its declared dimensions.
    unsigned int count = 0;
    {
        Handle info = openHandle(path, true, shown);
        unsigned int protection = 0;
        if (freexl_get_info(info.get(), FREEXL_BIFF_PASSWORD, &protection) == FREEXL_OK &&
            protection == FREEXL_BIFF_OBFUSCATED)
            throw ImportError("“" + shown + "”设有密码，不能打开。请在 Excel 中取消密码后再试。");
        if (freexl_get_info(info.get(), FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
            throw ImportError("“" + shown + "”中找不到工作表，可能已经损坏。");
        std::uint64_t declared = 0;
        for (unsigned short i = 0; i < count && i < 256; ++i) {
            unsigned int rows = 0;
            unsigned short cols = 0;
            if (freexl_select_active_worksheet(info.get(), i) == FREEXL_OK &&
                freexl_worksheet_dimensions(info.get(), &rows, &cols) == FREEXL_OK)
                declared += static_cast<std::uint64_t>(rows) * cols;
        }
        if (declared > MaxDeclaredCells)
            throw ImportError("“" + shown + "”的工作表太大（超过 " + std::to_string(ForeignSheet::MaxRows) + " 行或 " +
                              std::to_string(ForeignSheet::MaxCols) + " 列），不能打开。");
    }
    Handle xls = openHandle(path, false, shown);
    std::vector<ForeignSheet> sheets;
    for (unsigned short i = 0; i < count && i < 256; ++i) {
        ForeignSheet sheet;
        const char *name = nullptr;
        if (freexl_get_worksheet_name(xls.get(), i, &name) == FREEXL_OK && name)
            sheet.name = name;
        if (sheet.name.empty())
            sheet.name = "Sheet" + std::to_string(i + 1);
        unsigned int rows = 0;
        unsigned short cols = 0;
        if (freexl_select_active_worksheet(xls.get(), i) != FREEXL_OK ||
            freexl_worksheet_dimensions(xls.get(), &rows, &cols) != FREEXL_OK)
            throw ImportError("“" + shown + "”中的工作表“" + sheet.name + "”已经损坏。");
        for (unsigned int r = 0; r < rows; ++r)
            for (unsigned short c = 0; c < cols; ++c) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(xls.get(), r, c, &value) != FREEXL_OK)
                    throw ImportError("“" + shown + "”中的工作表“" + sheet.name + "”已经损坏。");
                ForeignCell cell;
                switch (value.type) {
                case FREEXL_CELL_INT:
                    cell.value = CellValue::number(value.value.int_value);
                    cell.input = std::to_string(value.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    cell.value = CellValue::number(value.value.double_value);
                    cell.input = numberInput(value.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    cell.input = value.value.text_value ? value.value.text_value : "";
                    cell.value = CellValue::text(cell.input);
                    break;
                default:
                    break;
                }
                if (cell.input.empty())
                    continue;
                if (r >= static_cast<unsigned>(ForeignSheet::MaxRows) || c >= ForeignSheet::MaxCols)
                    throw ImportError(tooBig(sheet.name));
                cell.row = static_cast<int>(r);
                cell.col = c;
                sheet.rows = std::max(sheet.rows, cell.row + 1);
                sheet.cols = std::max(sheet.cols, cell.col + 1);
                sheet.cells.push_back(std::move(cell));
            }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

} // namespace vantor
