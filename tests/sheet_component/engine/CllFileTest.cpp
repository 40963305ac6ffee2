#include "CllTestSupport.h"

#include "common/AtomicFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace vantor {
namespace {

using test::CllTempDir;

TEST(CllFileRoundTrip, EveryKindOfContentSurvivesSaveAndOpen)
{
    CllTempDir dir;
    const auto original = test::makeRichWorkbook();
    const std::string path = dir.file("job.cll");
    saveWorkbook(*original, path);
    const auto loaded = loadWorkbook(path);
    ASSERT_TRUE(loaded);
    test::expectSameWorkbook(*original, *loaded);
}

TEST(CllFileRoundTrip, SecondSaveOfLoadedWorkbookIsByteIdentical)
{
    // Anything the reader dropped or changed would show up as a different second file.
    const auto original = test::makeRichWorkbook();
    const std::string first = CllFile::toBytes(*original);
    const auto loaded = CllFile::fromBytes(first);
    EXPECT_EQ(CllFile::toBytes(*loaded), first);
}

TEST(CllFileRoundTrip, LoadedWorkbookIsUnmodifiedWithoutUndoHistory)
{
    const auto loaded = CllFile::fromBytes(CllFile::toBytes(*test::makeRichWorkbook()));
    EXPECT_FALSE(loaded->IsModified());
    EXPECT_FALSE(loaded->CanUndo());
    EXPECT_FALSE(loaded->CanRedo());
}

TEST(CllFileRoundTrip, FormulasAreLiveAfterLoading)
{
    const auto loaded = CllFile::fromBytes(CllFile::toBytes(*test::makeRichWorkbook()));
    // Sheet 0 D5 reads sheet 1 B4 through getcell; sheet 1 row 3 sums its column.
    EXPECT_DOUBLE_EQ(loaded->DoGetSheetCellData(3, 4, 0).number(), 9876.5432);
    const double before = loaded->DoGetSheetCellData(1, 2, 1).number();
    loaded->DoSetCellData(1, 3, 9877.5432, 1);
    EXPECT_DOUBLE_EQ(loaded->DoGetSheetCellData(1, 2, 1).number(), before + 1.0);
    EXPECT_DOUBLE_EQ(loaded->DoGetSheetCellData(3, 4, 0).number(), 9877.5432);
}

TEST(CllFileRoundTrip, UnparsableFormulaKeepsItsTextAndShowsAnError)
{
    const auto loaded = CllFile::fromBytes(CllFile::toBytes(*test::makeRichWorkbook()));
    EXPECT_TRUE(loaded->sheet(0).hasFormula(3, 5));
    EXPECT_EQ(loaded->sheet(0).formulaText(3, 5), "sum(");
    EXPECT_TRUE(loaded->DoGetSheetCellData(3, 5, 0).isError());
}

TEST(CllFileRoundTrip, ErrorValueWithoutFormulaIsKept)
{
    const auto loaded = CllFile::fromBytes(CllFile::toBytes(*test::makeRichWorkbook()));
    EXPECT_FALSE(loaded->sheet(0).hasFormula(3, 6));
    const CellValue value = loaded->DoGetSheetCellData(3, 6, 0);
    ASSERT_TRUE(value.isError());
    EXPECT_EQ(value.error(), CellError::Div0);
}

TEST(CllFileRoundTrip, NumbersComeBackBitForBit)
{
    const double cases[] = {0.0,
                            -0.0,
                            0.1,
                            0.1 + 0.2,
                            1.0 / 3.0,
                            12345.6789,
                            -12345.6789,
                            0.00005,
                            0.0001,
                            899999999999.9999,
                            900000000000.0,
                            9007199254740993.0,
                            1e-300,
                            5e-324,
                            1.7976931348623157e308,
                            -1e15};
    Workbook wb;
    wb.SetRows(static_cast<int>(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        wb.DoSetCellData(0, static_cast<int>(i), cases[i]);
    const auto loaded = CllFile::fromBytes(CllFile::toBytes(wb));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const CellValue value = loaded->DoGetSheetCellData(0, static_cast<int>(i), 0);
        ASSERT_TRUE(value.isNumber()) << cases[i];
        EXPECT_TRUE(test::sameNumber(value.number(), cases[i])) << cases[i] << " came back as " << value.number();
    }
}

TEST(CllFileRoundTrip, HostileTextsAndLabelsSurvive)
{
    Workbook wb;
    wb.setSheetLabel(0, test::hostileText());
    wb.DoAddSheet("");
    wb.DoSetCellData(0, 0, test::hostileText(), 0);
    wb.DoSetCellData(1, 0, std::string(200000, '\''), 0);
    wb.DoSetPageHeader(test::hostileText(), "'", "\"", 0);
    const auto loaded = CllFile::fromBytes(CllFile::toBytes(wb));
    test::expectSameWorkbook(wb, *loaded);
    EXPECT_EQ(loaded->findSheet(test::hostileText()), 0);
}

TEST(CllFileRoundTrip, DuplicateLabelsKeepTheirOrder)
{
    Workbook wb;
    wb.setSheetLabel(0, "b10");
    wb.DoAddSheet("b10");
    wb.DoSetCellData(0, 0, "second", 1);
    const auto loaded = CllFile::fromBytes(CllFile::toBytes(wb));
    ASSERT_EQ(loaded->SheetCount(), 2);
    EXPECT_EQ(loaded->findSheet("b10"), 0);
    EXPECT_EQ(loaded->DoGetSheetCellData(0, 0, 1).text(), "second");
}

TEST(CllFileRoundTrip, ManySheetsKeepLabelsAndOrder)
{
    Workbook wb;
    wb.setSheetLabel(0, "b0");
    for (int id = 1; id <= 78; ++id)
        wb.DoAddSheet("b" + std::to_string(id));
    wb.DoSetCurrentSheet(77);
    const auto loaded = CllFile::fromBytes(CllFile::toBytes(wb));
    ASSERT_EQ(loaded->SheetCount(), 79);
    for (int i = 0; i < 79; ++i)
        EXPECT_EQ(loaded->DoGetSheetLabel(i), "b" + std::to_string(i));
    EXPECT_EQ(loaded->CurrentSheet(), 77);
}

TEST(CllFileRoundTrip, UnusedFormatsAreNotCarriedAlong)
{
    Workbook wb;
    for (int size = 6; size < 60; ++size)
        wb.DoSetCellFont(0, 0, size, 0, "黑体");
    const auto loaded = CllFile::fromBytes(CllFile::toBytes(wb));
    // The default format and the one the cell has at the end.
    EXPECT_LE(loaded->styles().size(), 2u);
    EXPECT_EQ(loaded->DoGetCellFont(0, 0, 0).size, 59);
}

TEST(CllFileRoundTrip, SheetShrunkUnderMergeStillSavesAndOpens)
{
    Workbook wb;
    wb.DoJoinCells(1, 40, 3, 45);
    wb.DoJoinCells(0, 0, 1, 1);
    wb.SetRows(42);
    wb.SetCols(3);
    const auto loaded = CllFile::fromBytes(CllFile::toBytes(wb));
    for (const CellRange &m : loaded->sheet(0).merges()) {
        EXPECT_LT(m.row2, 42);
        EXPECT_LT(m.col2, 3);
    }
}

// --- size -------------------------------------------------------------------------------

TEST(CllFileSize, EmptyWorkbookIsPaddedToExactly1024Bytes)
{
    Workbook wb;
    const std::string bytes = CllFile::toBytes(wb);
    EXPECT_EQ(bytes.size(), 1024u);
    EXPECT_NO_THROW(CllFile::fromBytes(bytes));
}

TEST(CllFileSize, FilesOnDiskAreNeverShorterThan1024Bytes)
{
    CllTempDir dir;
    Workbook wb;
    saveWorkbook(wb, dir.file("empty.cll"));
    EXPECT_GE(std::filesystem::file_size(dir.file("empty.cll")), 1024u);
    saveWorkbook(*test::makeRichWorkbook(), dir.file("rich.cll"));
    EXPECT_GE(std::filesystem::file_size(dir.file("rich.cll")), 1024u);
}

TEST(CllFileSize, LargeWorkbookIsNotPadded)
{
    Workbook wb;
    wb.SetRows(200);
    wb.SetCols(20);
    for (int row = 0; row < 200; ++row)
        for (int col = 0; col < 20; ++col)
            wb.DoSetCellData(col, row, row * 1234.25 + col);
    const std::string bytes = CllFile::toBytes(wb);
    ASSERT_GT(bytes.size(), 1024u);
    std::uint64_t contentLength = 0;
    for (int i = 0; i < 8; ++i)
        contentLength |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[16 + i])) << (8 * i);
    EXPECT_EQ(bytes.size(), CllFile::HeaderSize + contentLength + CllFile::TrailerSize);
    // Amounts are stored compactly: a double alone would take eight bytes per cell.
    EXPECT_LT(bytes.size(), 4000u * 7u + 1024u);
}

// --- saving ---------------------------------------------------------------------------------

TEST(CllFileSave, ReplacesPreviousFile)
{
    CllTempDir dir;
    const std::string path = dir.file("job.cll");
    Workbook first;
    first.DoSetCellData(0, 0, "first");
    saveWorkbook(first, path);
    Workbook second;
    second.DoSetCellData(0, 0, "second");
    saveWorkbook(second, path);
    EXPECT_EQ(loadWorkbook(path)->DoGetCellData(0, 0).text(), "second");
}

TEST(CllFileSave, TargetThatIsAFolderFailsWithTypedError)
{
    CllTempDir dir;
    std::filesystem::create_directory(dir.file("folder.cll"));
    try {
        saveWorkbook(Workbook(), dir.file("folder.cll"));
        FAIL() << "no error";
    } catch (const CllFileError &error) {
        EXPECT_EQ(error.kind(), CllFileError::Kind::SaveFailed);
        EXPECT_NE(std::string(error.what()).find("folder.cll"), std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.cll")));
}

TEST(CllFileSave, MissingFolderFailsWithTypedError)
{
    CllTempDir dir;
    EXPECT_THROW(saveWorkbook(Workbook(), dir.file("missing/job.cll")), CllFileError);
}

TEST(CllFileSave, FailedSaveLeavesPreviousFileIntact)
{
    CllTempDir dir;
    const std::string path = dir.file("job.cll");
    const auto original = test::makeRichWorkbook();
    saveWorkbook(*original, path);
    const std::string before = test::readFileBytes(path);

    Workbook bigger;
    bigger.SetRows(5000);
    for (int row = 0; row < 5000; ++row)
        bigger.DoSetCellData(0, row, "一段较长的文字，让文件超过限制 " + std::to_string(row));

    // The file-size limit makes the write fail half-way, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = before.size() + 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool threw = false;
    try {
        saveWorkbook(bigger, path);
    } catch (const CllFileError &error) {
        threw = error.kind() == CllFileError::Kind::SaveFailed;
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    EXPECT_TRUE(threw);
    EXPECT_EQ(test::readFileBytes(path), before);
    test::expectSameWorkbook(*original, *loadWorkbook(path));
    int entries = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1) << "temporary file left behind";
}

// --- opening: file system errors ------------------------------------------------------------

TEST(CllFileOpen, MissingFileIsAnIoErrorNamingTheFile)
{
    CllTempDir dir;
    try {
        loadWorkbook(dir.file("nowhere.cll"));
        FAIL() << "no error";
    } catch (const CllFileError &error) {
        EXPECT_EQ(error.kind(), CllFileError::Kind::Io);
        const std::string message = error.what();
        EXPECT_NE(message.find("nowhere.cll"), std::string::npos) << message;
        EXPECT_NE(message.find("文件不存在"), std::string::npos) << message;
    }
}

TEST(CllFileOpen, FolderIsRefused)
{
    CllTempDir dir;
    try {
        loadWorkbook(dir.path().string());
        FAIL() << "no error";
    } catch (const CllFileError &error) {
        EXPECT_EQ(error.kind(), CllFileError::Kind::Io);
    }
}

TEST(CllFileOpen, ProjectDatabaseGivenByMistakeIsNotAWorkbook)
{
    CllTempDir dir;
    std::string sqlite = "SQLite format 3";
    sqlite.push_back('\0');
    sqlite.resize(4096, '\x01');
    test::writeFileBytes(dir.file("job.mdb"), sqlite);
    try {
        loadWorkbook(dir.file("job.mdb"));
        FAIL() << "no error";
    } catch (const CllFileError &error) {
        EXPECT_EQ(error.kind(), CllFileError::Kind::NotWorkbook);
        EXPECT_NE(std::string(error.what()).find("不是工作簿文件"), std::string::npos);
    }
}

} // namespace
} // namespace vantor
