// A client's ledger into a detail sheet: headings found, columns matched by name and
// synonym, amounts read as written, unreadable cells listed, the same from the old Excel
// file, and a mapping written on the command line parsed.

#include "import/LedgerImport.h"
#include "import/XlsReader.h"
#include "import/XlsxReader.h"

#include "LedgerFixture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

constexpr int kBuildings = 40;

ForeignSheet ledger(bool oldExcel, test::TempDir &dir)
{
    if (oldExcel)
        return XlsReader::read(VANTOR_TEST_DATA_DIR "/import/ledger.xls").at(0);
    test::writeLedgerXlsx(dir.file("ledger.xlsx"));
    return XlsxReader::read(dir.file("ledger.xlsx")).at(0);
}

TEST(LedgerImport, MapsByNameAndReadsAmountsAsWrittenFromXlsxAndXls)
{
    for (const bool oldExcel : {false, true}) {
        SCOPED_TRACE(oldExcel ? ".xls" : ".xlsx");
        test::TempDir dir;
        const ForeignSheet sheet = ledger(oldExcel, dir);
        const LedgerHeadings h = LedgerMapping::detect(sheet, kBuildings);
        EXPECT_EQ(h.first, 1);
        EXPECT_EQ(h.last, 2);
        EXPECT_EQ(h.firstDataRow, 3);
        // 序号 and 权证编号 find nothing: the card number is not a sequence number.
        const LedgerMapping::Columns expected{-1, -1, 1, 2, 5, 6, -1, 3, 4, -1, -1, -1, -1, -1, -1, -1, 7};
        const LedgerMapping::Columns proposed = LedgerMapping::propose(kBuildings, h);
        EXPECT_EQ(proposed, expected);

        const LedgerLines lines = LedgerImport::lines(sheet, kBuildings, proposed, h.firstDataRow, sheet.rows - 1);
        ASSERT_EQ(lines.rows.size(), 4u);
        const std::vector<std::vector<std::string>> amounts{{"12000.00", "-1500.00", "1200", "2001-05-01"},
                                                            {"1234.5", "-1234.50", "300", "2003-01-01"},
                                                            {"1234.50", "88", "10", "2005-01-01"},
                                                            {"", "5", "12.5", "2006-01-01"}};
        for (std::size_t i = 0; i < 4; ++i) {
            const auto &f = lines.rows[i];
            EXPECT_EQ((std::vector<std::string>{f[7], f[8], f[5], f[4]}), amounts[i]) << i;
        }
        ASSERT_EQ(lines.unreadable.size(), 1u);
        EXPECT_EQ(LedgerImport::describe(lines.unreadable), "第7行 D列（帐面价值/原值）：“壹万”\n");
    }
}

TEST(LedgerImport, ParsesWrittenMappings)
{
    std::string error;
    const auto parsed = LedgerMapping::parse(kBuildings, "序号=A,建筑物名称=c,帐面价值/原值=AB", error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ((*parsed)[0], 0);
    EXPECT_EQ((*parsed)[2], 2);
    EXPECT_EQ((*parsed)[7], 27);
    for (const char *bad : {"原值=D", "面积=D", "序号=4", "名称"})
        EXPECT_FALSE(LedgerMapping::parse(kBuildings, bad, error)) << bad;
}

} // namespace
} // namespace vantor
