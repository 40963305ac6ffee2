// Opening a workbook in the import window through its temporary copy, and a failure that
// leaves the open file as it was.

#include "import/ExternalWorkbook.h"

#include "import/ImportError.h"
#include "import/ImportTestFiles.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/TemplateWorkbook.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(ExternalWorkbook, OpensAWorkbookThroughATemporaryCopy)
{
    test::TempDir dir;
    const auto temp = dir.path() / "temp";
    std::filesystem::create_directory(temp);
    {
        Workbook other;
        TemplateWorkbook::build(other);
        other.DoAddSheet("notes");
        other.DoSaveFile(dir.file("other.cll"));
    }
    Workbook view;
    ExternalWorkbook file;
    file.open(dir.file("other.cll"), temp.string(), view);
    ASSERT_EQ(file.entries().size(), 2u); // b10 and b78
    EXPECT_TRUE(std::filesystem::is_empty(temp));

    // A damaged file: a message, and the open file stays.
    test::writeFile(dir.file("bad.cll"), "not a workbook");
    try {
        file.open(dir.file("bad.cll"), temp.string(), view);
        ADD_FAILURE();
    } catch (const ImportError &e) { // named as the user knows it, not as the temporary copy
        EXPECT_NE(std::string(e.what()).find(dir.file("bad.cll")), std::string::npos) << e.what();
        EXPECT_EQ(std::string(e.what()).find(ExternalWorkbook::TempFileName), std::string::npos) << e.what();
    }
    EXPECT_EQ(file.entries().size(), 2u);
    EXPECT_GE(view.findSheet("b78"), 0);
    EXPECT_TRUE(std::filesystem::is_empty(temp));
    for (const char *name : {"missing.cll", "old.xls", "picture.png"}) {
        test::writeFile(dir.file(name), "\xD0\xCF\x11\xE0");
        EXPECT_THROW(file.open(dir.file(std::string("x") + name), temp.string(), view), ImportError) << name;
        EXPECT_THROW(file.open(dir.file(name), temp.string(), view), ImportError) << name;
    }
    EXPECT_EQ(file.kind(), ExternalWorkbook::Kind::Workbook);
}

} // namespace
} // namespace vantor
