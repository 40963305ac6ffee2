#include "CllTestSupport.h"

#include "sheet_component/engine/Selection.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vantor {
namespace {

using test::TempDir;

TEST(CllFileRoundTrip, EveryKindOfContentSurvivesAndStaysLive)
{
    TempDir dir;
    const auto original = test::makeRichWorkbook();
    Selection view(*original);
    view.DoGotoCell(2, 5);
    view.DoSelectRange(1, 4, 3, 9);
    CllFile::save(*original, dir.file("job.cll"), &view);
    std::vector<SheetViewState> views;
    const auto loaded = CllFile::load(dir.file("job.cll"), &views);
    test::expectSameWorkbook(*original, *loaded);
    Selection loadedView(*loaded);
    loadedView.restore(views);
    for (int s = 0; s < original->SheetCount(); ++s)
        EXPECT_EQ(loadedView.state(s), view.state(s)) << "sheet " << s;
    EXPECT_EQ(CllFile::toBytes(Workbook()).size(), 1024u); // small files are padded
    // Anything the reader dropped or changed would show up as a different second file.
    EXPECT_EQ(CllFile::toBytes(*loaded, &loadedView), CllFile::toBytes(*original, &view));
    EXPECT_FALSE(loaded->IsModified());
    EXPECT_FALSE(loaded->CanUndo());
    // Sheet 0 D5 reads sheet 1 B4 through getcell; sheet 1 row 3 sums its column.
    const double before = loaded->DoGetSheetCellData(1, 2, 1).number();
    loaded->DoSetCellData(1, 3, 9877.5432, 1);
    EXPECT_DOUBLE_EQ(loaded->DoGetSheetCellData(1, 2, 1).number(), before + 1.0);
    EXPECT_DOUBLE_EQ(loaded->DoGetSheetCellData(3, 4, 0).number(), 9877.5432);
}

TEST(CllFileRoundTrip, NumbersHostileTextsAndManySheetsComeBackExactly)
{
    const double numbers[] = {
        -0.0, 0.1 + 0.2, 1.0 / 3.0, 0.00005, 899999999999.9999, 9007199254740993.0, 5e-324, 1.7976931348623157e308,
        -1e15};
    Workbook wb;
    wb.setSheetLabel(0, test::hostileText());
    wb.SetRows(static_cast<int>(std::size(numbers)));
    for (std::size_t i = 0; i < std::size(numbers); ++i)
        wb.DoSetCellData(0, static_cast<int>(i), numbers[i]);
    wb.DoSetCellData(1, 0, test::hostileText(), 0);
    wb.DoSetCellData(1, 1, std::string(200000, '\''), 0);
    wb.DoSetPageHeader(test::hostileText(), "'", "\"", 0);
    for (int id = 1; id <= 78; ++id)
        wb.DoAddSheet(id == 5 ? "b4" : "b" + std::to_string(id)); // a duplicate label keeps its place
    wb.DoSetCurrentSheet(77);
    const auto loaded = CllFile::fromBytes(CllFile::toBytes(wb));
    test::expectSameWorkbook(wb, *loaded);
    EXPECT_EQ(loaded->findSheet("b4"), 4);
    EXPECT_EQ(loaded->DoGetSheetLabel(5), "b4");
}

TEST(CllFileRoundTrip, UnusedFormatsAndMergesBeyondAShrunkSheetAreNotCarriedAlong)
{
    Workbook wb;
    for (int size = 6; size < 60; ++size)
        wb.DoSetCellFont(0, 0, size, 0, "黑体");
    wb.DoJoinCells(1, 40, 3, 45);
    wb.SetRows(42);
    wb.SetCols(3);
    const auto loaded = CllFile::fromBytes(CllFile::toBytes(wb));
    EXPECT_LE(loaded->styles().size(), 2u);
    EXPECT_EQ(loaded->DoGetCellFont(0, 0, 0).size, 59);
    for (const CellRange &m : loaded->sheet(0).merges())
        EXPECT_TRUE(m.row2 < 42 && m.col2 < 3);
}

TEST(CllFileOpenAndSave, FileSystemFaultsAreTypedErrorsNamingTheFile)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("folder.cll"));
    std::string sqlite = "SQLite format 3";
    sqlite.resize(4096, '\x01');
    test::writeFile(dir.file("job.mdb"), sqlite);
    const struct {
        std::function<void()> action;
        CllFileError::Kind kind;
        const char *inMessage;
    } cases[] = {
        {[&] { saveWorkbook(Workbook(), dir.file("folder.cll")); }, CllFileError::Kind::SaveFailed, "folder.cll"},
        {[&] { saveWorkbook(Workbook(), dir.file("missing/job.cll")); }, CllFileError::Kind::SaveFailed, "job.cll"},
        {[&] { loadWorkbook(dir.file("nowhere.cll")); }, CllFileError::Kind::Io, "文件不存在"},
        {[&] { loadWorkbook(dir.path().string()); }, CllFileError::Kind::Io, ""},
        {[&] { loadWorkbook(dir.file("job.mdb")); }, CllFileError::Kind::NotWorkbook, "不是工作簿文件"},
    };
    for (const auto &c : cases) {
        try {
            c.action();
            ADD_FAILURE() << "no error for " << c.inMessage;
        } catch (const CllFileError &error) {
            EXPECT_EQ(error.kind(), c.kind) << error.what();
            EXPECT_NE(std::string(error.what()).find(c.inMessage), std::string::npos) << error.what();
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.cll")));
}

TEST(CllFileOpen, AFailedOpenLeavesTheWorkbookAsItWas)
{
    TempDir dir;
    test::writeFile(dir.file("bad.cll"), std::string(2000, 'x'));
    Workbook wb;
    wb.DoSetCellData(0, 0, "keep");
    EXPECT_THROW(wb.DoOpenFile(dir.file("bad.cll")), CllFileError);
    EXPECT_EQ(wb.DoGetCellData(0, 0).text(), "keep");
}

} // namespace
} // namespace vantor
