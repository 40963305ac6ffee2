#include "common/AtomicFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace vantor {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    std::string path(const std::string &name) const { return m_tmp.file(name); }
    static std::string readAll(const std::string &file) { return test::readFile(file); }
    static void writePlain(const std::string &file, const std::string &content) { test::writeFile(file, content); }
    // Every entry of the folder: a leftover temporary file shows up here.
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDir m_tmp;
    const fs::path &m_dir = m_tmp.path();
};

TEST_F(AtomicFileTest, TargetUnchangedUntilCommitAndReplacedCompletely)
{
    writePlain(path("a.cll"), std::string(5000, 'x'));
    {
        AtomicFile file(path("a.cll"));
        file.write(std::string(100000, 'z'));
    } // destroyed without commit: the temporary goes, the target stays
    EXPECT_EQ(readAll(path("a.cll")), std::string(5000, 'x'));
    EXPECT_EQ(entries(), std::vector<std::string>{"a.cll"});
    AtomicFile file(path("a.cll"));
    file.write(std::string("short"));
    EXPECT_EQ(fs::path(file.tempPath()).parent_path(), m_dir) << "temporary file must lie beside the target";
    EXPECT_EQ(readAll(path("a.cll")).size(), 5000u);
    file.commit();
    EXPECT_EQ(readAll(path("a.cll")), "short");
    EXPECT_EQ(entries(), std::vector<std::string>{"a.cll"});
}

TEST_F(AtomicFileTest, KeepsPermissionsOfReplacedFile)
{
    writePlain(path("a.cll"), "old");
    fs::permissions(path("a.cll"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    AtomicFile::writeFile(path("a.cll"), "new");
    EXPECT_EQ(fs::status(path("a.cll")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// --- failures: the typed error, the target intact, no leftovers -------------------

TEST_F(AtomicFileTest, TargetThatIsAFolderIsRefusedWithItsContentIntact)
{
    fs::create_directory(path("folder"));
    writePlain(path("folder/inside"), "keep");
    try {
        AtomicFile::writeFile(path("folder"), "data");
        FAIL() << "no error";
    } catch (const AtomicFileError &error) {
        EXPECT_EQ(error.errorNumber(), EISDIR);
        EXPECT_EQ(error.path(), path("folder"));
        EXPECT_NE(std::string(error.what()).find("文件夹"), std::string::npos) << error.what();
    }
    EXPECT_EQ(readAll(path("folder/inside")), "keep");
    EXPECT_EQ(entries(), std::vector<std::string>{"folder"});
}

TEST_F(AtomicFileTest, MissingFolderOrNoFileNameIsRefused)
{
    EXPECT_THROW(AtomicFile::writeFile(m_dir.string() + "/", "data"), AtomicFileError);
    EXPECT_THROW(AtomicFile::writeFile(path("no/such/folder/a.cll"), "data"), AtomicFileError);
}

} // namespace
} // namespace vantor
