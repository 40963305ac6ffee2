#include "project/ProjectPaths.h"

#include "project/ProjectTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {
namespace {

TEST(ProjectPaths, WorkbookPairsByTheFileNameOnly)
{
    struct Case {
        const char *project, *workbook;
    };
    const Case cases[]{
        {"/home/a.b/job", "/home/a.b/job.cll"},
        {"/home/u/job.v2.mdb", "/home/u/job.v2.cll"},
        {"/x.y/z.w/项目.MDB", "/x.y/z.w/项目.cll"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ProjectPaths::pairedWorkbook(c.project), c.workbook) << c.project;
}

TEST(ProjectPaths, DialogResultGetsTheProjectExtension)
{
    EXPECT_EQ(ProjectPaths::projectFileFromDialog("/d/job.txt"), "/d/job.mdb");
    EXPECT_EQ(ProjectPaths::projectFileFromDialog("  /d.e/job  "), "/d.e/job.mdb");
    // A project file from another system keeps its upper-case name: it is the file that exists.
    EXPECT_EQ(ProjectPaths::projectFileFromDialog("/d/JOB.MDB"), "/d/JOB.MDB");
    EXPECT_EQ(ProjectPaths::projectFileFromDialog("   "), "");
}

TEST(ProjectPaths, SameFileSeesThroughDotsAndLinks)
{
    test::TempDir dir;
    test::writeBytes(dir.file("a.mdb"), 10);
    ASSERT_EQ(::symlink(dir.file("a.mdb").c_str(), dir.file("link.mdb").c_str()), 0);
    std::filesystem::create_directories(dir.file("sub"));
    EXPECT_TRUE(ProjectPaths::sameFile(dir.file("a.mdb"), dir.path().string() + "/sub/../a.mdb"));
    EXPECT_TRUE(ProjectPaths::sameFile(dir.file("a.mdb"), dir.file("link.mdb")));
    EXPECT_FALSE(ProjectPaths::sameFile(dir.file("a.mdb"), dir.file("b.mdb")));
}

TEST(ProjectPaths, WorkFolderFallsBackWhenTheProgramFolderIsReadOnly)
{
    test::TempDir dir;
    std::string program = dir.file("program");
    std::string user = dir.file("user/data");
    std::filesystem::create_directories(program);
    EXPECT_EQ(ProjectPaths::chooseWorkFolder(program, user), program);
    EXPECT_TRUE(std::filesystem::is_empty(program)); // the probe leaves nothing behind
    // A program "folder" that cannot hold files (here: a plain file) falls back too.
    test::writeBytes(dir.file("notafolder"), 1);
    EXPECT_EQ(ProjectPaths::chooseWorkFolder(dir.file("notafolder"), user), user);
    EXPECT_TRUE(std::filesystem::is_directory(user));
    if (::geteuid() == 0)
        GTEST_SKIP() << "root can write everywhere";
    ::chmod(program.c_str(), 0555);
    EXPECT_EQ(ProjectPaths::chooseWorkFolder(program, user), user);
    EXPECT_TRUE(std::filesystem::is_directory(user));
    ::chmod(program.c_str(), 0755);
}

} // namespace
} // namespace vantor
