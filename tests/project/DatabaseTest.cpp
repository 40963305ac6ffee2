#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/Statement.h"

#include "project/ProjectTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantor {
namespace {

using test::TempDir;

TEST(Database, ReadingAnIdOutsideSixteenBitsThrows)
{
    Database db(":memory:", Database::Mode::ReadWriteCreate);
    db.exec("CREATE TABLE t (v)");
    for (int64_t v : {-32768LL, 32768LL, -32769LL})
        db.prepare("INSERT INTO t VALUES (?)").bindAll(v).run();
    Statement st = db.prepare("SELECT v FROM t ORDER BY rowid");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.columnInt16(0), -32768);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(st.step());
        EXPECT_THROW(st.columnInt16(0), DatabaseError);
    }
}

TEST(Database, MissingFileIsNotCreatedInReadWriteMode)
{
    TempDir dir;
    EXPECT_THROW(Database(dir.file("none.mdb")), DatabaseError);
    EXPECT_FALSE(test::exists(dir.file("none.mdb")));
}

TEST(ProjectSchemaCheck, RefusesFilesThatAreNotProjectsOfOurVersion)
{
    TempDir dir;
    // Each damage is applied to a file of ours; anything the file carries beyond our schema is refused.
    const char *damages[] = {
        "PRAGMA user_version = 99",
        "DROP TABLE sheetprop",
        "DELETE FROM pmprop",
        "DROP TABLE sheetdata; CREATE TABLE sheetdata (pmid, id, v1, v2, v3, z1, z2, z3)", // columns moved
        "CREATE TRIGGER t AFTER INSERT ON sheetdata BEGIN DELETE FROM pmprop; END",
        "CREATE VIEW pmview AS SELECT * FROM pmprop",
        "CREATE TABLE extra (a)",
        "DROP INDEX sheetdata_node",
        "ALTER TABLE sheetprop DROP COLUMN tbrq",
        "DROP TABLE sheetlist; CREATE TABLE sheetlist (id INTEGER, code TEXT, name TEXT)", // another default
    };
    int n = 0;
    for (const char *damage : damages) {
        const std::string path = dir.file("case" + std::to_string(n++) + ".mdb");
        {
            Database db(path, Database::Mode::ReadWriteCreate);
            ProjectSchema::create(db);
            db.exec(damage);
        }
        Database db(path);
        EXPECT_THROW(ProjectSchema::check(db), DatabaseError) << damage;
    }
    Database other(dir.file("other.mdb"), Database::Mode::ReadWriteCreate);
    other.exec("CREATE TABLE x (a)");
    EXPECT_THROW(ProjectSchema::check(other), DatabaseError);
    test::writeBytes(dir.file("junk.mdb"), 4096, 'J'); // not a database at all
    Database junk(dir.file("junk.mdb"));
    EXPECT_THROW(ProjectSchema::check(junk), DatabaseError);
}

TEST(ProjectSchemaCheck, TriggersAFileCarriesNeverRun)
{
    // Even unchecked, a connection of ours does not fire a trigger in the file.
    test::MemoryProject project;
    Database &db = project.db;
    db.exec("CREATE TRIGGER t AFTER INSERT ON sheetdata BEGIN DELETE FROM pmprop; END");
    db.exec("INSERT INTO sheetdata (id, pmid) VALUES (1, 0)");
    Statement st = db.prepare("SELECT count(*) FROM pmprop");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.columnInt64(0), 1);
    EXPECT_THROW(db.exec("SELECT load_extension('x')"), DatabaseError);
}

} // namespace
} // namespace vantor
