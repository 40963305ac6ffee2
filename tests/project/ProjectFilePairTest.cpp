#include "project/ProjectFilePair.h"

#include "project/ProjectFileError.h"
#include "project/ProjectTestSupport.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::readFile;
using test::TempDir;

ProjectFilePair::Writer writes(const std::string &content)
{
    return [content](const std::string &path) { std::ofstream(path, std::ios::binary) << content; };
}

ProjectFilePair::Writer throws()
{
    return [](const std::string &) -> void { throw std::runtime_error("disk full"); };
}

class FilePairTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ofstream(db) << "old db";
        std::ofstream(cll) << "old cll";
    }
    void expectOnlyTheTwoFiles()
    {
        int n = 0;
        for (auto &e : std::filesystem::directory_iterator(dir.path()))
            n += e.is_regular_file() ? 1 : 0;
        EXPECT_EQ(n, 2) << "temporary or backup files left behind";
    }
    TempDir dir;
    std::string db = dir.file("job.mdb");
    std::string cll = dir.file("job.cll");
};

TEST_F(FilePairTest, FailingWriterLeavesThePreviousPair)
{
    EXPECT_THROW(ProjectFilePair::write(db, writes("new db"), cll, throws()), std::runtime_error);
    EXPECT_EQ(readFile(db), "old db");
    EXPECT_EQ(readFile(cll), "old cll");
    expectOnlyTheTwoFiles();
    EXPECT_THROW(ProjectFilePair::write(db, throws(), cll, writes("x")), std::runtime_error);
    EXPECT_EQ(readFile(db), "old db");
    expectOnlyTheTwoFiles();
}

TEST_F(FilePairTest, FailureOfTheSecondRenamePutsTheFirstFileBack)
{
    // A folder where the workbook should go: the database is renamed into
    // place first, then the workbook rename fails.
    std::filesystem::remove(cll);
    std::filesystem::create_directories(cll);
    std::ofstream(cll + "/inside") << "x";
    EXPECT_THROW(ProjectFilePair::write(db, writes("new db"), cll, writes("new cll")), ProjectFileError);
    EXPECT_EQ(readFile(db), "old db");
    EXPECT_TRUE(std::filesystem::is_directory(cll));
}

TEST_F(FilePairTest, FailureWithoutPreviousFilesLeavesNoHalfPair)
{
    std::filesystem::remove(db);
    std::filesystem::remove(cll);
    std::filesystem::create_directories(cll);
    std::ofstream(cll + "/inside") << "x";
    EXPECT_THROW(ProjectFilePair::write(db, writes("new db"), cll, writes("new cll")), ProjectFileError);
    EXPECT_FALSE(test::exists(db));
}

TEST_F(FilePairTest, CopyOfAReadOnlyFileCanBeWritten)
{
    std::filesystem::permissions(db, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    ProjectFilePair::copyFile(db, dir.file("work.mdb"));
    auto perms = std::filesystem::status(dir.file("work.mdb")).permissions();
    EXPECT_NE(perms & std::filesystem::perms::owner_write, std::filesystem::perms::none);
    EXPECT_EQ(readFile(dir.file("work.mdb")), "old db");
}

} // namespace
} // namespace vantor
