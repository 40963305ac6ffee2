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

} // namespace
} // namespace vantor
