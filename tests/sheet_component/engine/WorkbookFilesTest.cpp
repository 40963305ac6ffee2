#include "EngineTestSupport.h"

#include "sheet_component/engine/CllFileError.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace vantor;

namespace {

std::string tempPath(const std::string &name)
{
    return (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()) + ".cll")).string();
}

} // namespace

TEST(WorkbookFiles, SaveAndOpenRoundTripThroughTheWorkbook)
{
    const std::string path = tempPath("engine-open");
    Workbook wb;
    wb.DoAddSheet("b10");
    wb.DoSetCellData(2, 3, 12.5, 1);
    wb.DoSetCellFormula(2, 2, "sum(C4:C50)", 1);
    wb.DoJoinCells(0, 0, 2, 0, 1);
    wb.DoSaveFile(path);
    Workbook other;
    other.DoSetCellData(0, 0, "old");
    other.DoOpenFile(path);
    EXPECT_EQ(test::dumpSheet(other, 1), test::dumpSheet(wb, 1));
    EXPECT_FALSE(other.IsModified());
    EXPECT_FALSE(other.CanUndo());
    other.DoSetCellData(2, 4, 1.0, 1);
    EXPECT_EQ(other.DoGetSheetCellData(2, 2, 1).number(), 13.5);
    std::filesystem::remove(path);
}

TEST(WorkbookFiles, AFailedOpenLeavesTheWorkbookAsItWas)
{
    const std::string path = tempPath("engine-damaged");
    {
        std::ofstream out(path, std::ios::binary);
        out << std::string(2000, 'x');
    }
    Workbook wb;
    wb.DoSetCellData(0, 0, "keep");
    EXPECT_THROW(wb.DoOpenFile(path), CllFileError);
    EXPECT_THROW(wb.DoOpenFile(path + ".missing"), CllFileError);
    EXPECT_EQ(wb.DoGetCellData(0, 0).text(), "keep");
    std::filesystem::remove(path);
}
