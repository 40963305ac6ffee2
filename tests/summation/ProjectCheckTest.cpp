// The consistency check: a clean project passes, each kind of planted inconsistency is found
// at its cell, and the check changes nothing.

#include "summation/ProjectCheck.h"

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"
#include "summation/SheetTotals.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vantor {
namespace {

using namespace std::chrono;

// A data-entry project with two filled sheets whose totals are stored: clean until a case plants a fault.
struct CheckProject {
    CheckProject() : m_db(":memory:", Database::Mode::ReadWriteCreate), m_store(m_db)
    {
        ProjectSchema::create(m_db, 1);
        NodeProperties p;
        p.pmname = "甲";
        p.zczydw = "甲公司";
        p.pgjzr = year_month_day{year(2026), month(6), day(30)};
        m_store.updateNodeProperties(0, p);
        std::vector<SheetSignatories> signatories;
        for (int16_t id : {0, 1, 2, 3, 5, 16, 22})
            signatories.push_back({id, "张三", "李四", std::nullopt});
        m_store.replaceSignatories(0, signatories);

        // 表3-4 (b16): two receivables; 表3-6-1 (b22): one inventory row with its derived cells.
        m_wb.setSheetLabel(0, "b16");
        DetailSheetBuilder::build(m_wb, 16);
        fill(0, 16,
             {{1, 3, "甲"},
              {5, 3, "1000"},
              {6, 3, "1000"},
              {7, 3, "900"},
              {1, 4, "乙"},
              {5, 4, "200"},
              {6, 4, "200"},
              {7, 4, "200"}});
        m_wb.DoAddSheet("b22");
        m_wb.DoSetCurrentSheet(1);
        DetailSheetBuilder::build(m_wb, 22);
        fill(1, 22, {{1, 3, "钢材"}, {3, 3, "10"}, {5, 3, "1000"}, {8, 3, "10"}, {9, 3, "105"}});
    }

    void fill(int index, int id, const std::vector<std::tuple<int, int, const char *>> &cells)
    {
        m_wb.DoSetCurrentSheet(index);
        for (const auto &[col, row, text] : cells)
            m_wb.setCellInput(col, row, text);
        RowFormulas::recomputeRows(m_wb, id, 3, m_wb.Rows() - 1, true);
        store(index, id);
    }
    void store(int index, int id) { writeSheetTotals(m_wb, m_store, id, m_prompter, index); }
    // Types over a cell without the row formulas, as a pasted or imported value would.
    void typeOver(int index, int col, int row, const char *text) { m_wb.setCellInput(col, row, text, index); }

    CheckReport check(CheckLimits limits = {}) { return ProjectCheck::run(m_wb, m_store, limits); }

    Database m_db;
    ProjectStore m_store;
    Workbook m_wb;
    test::ScriptedPrompter m_prompter;
};

TEST(ProjectCheckTest, CleanProjectPassesAndEachPlantedFaultIsFoundAtItsCell)
{
    const CheckReport clean = CheckProject().check();
    for (const CheckFinding &f : clean.findings)
        ADD_FAILURE() << ProjectCheck::line(f);
    EXPECT_EQ(clean.summary(), "检查完毕：未发现错误和提示。");

    const struct {
        const char *name;
        std::function<void(CheckProject &)> plant;
        CheckSeverity severity;
        int sheet;
        std::string cell;
        std::string words;
    } cases[] = {
        {"stale stored totals",
         [](auto &t) {
             t.m_store.writeSheetTotals(16, 0, {Amount::fromUnits(1), {}, {}, {}, {}, {}});
         },
         CheckSeverity::Error, 16, "F3", "保存的合计数"},
        {"total row typed over", [](auto &t) { t.typeOver(0, 7, 2, "1000"); }, CheckSeverity::Error, 16, "H3",
         "各数据行之和 1100.00"},
        {"derived amount typed over", [](auto &t) { t.typeOver(1, 10, 3, "1000"); }, CheckSeverity::Error, 22, "K4",
         "实际数量×单价 = 1050.00"},
        {"row rate typed over", [](auto &t) { t.typeOver(0, 8, 4, "3"); }, CheckSeverity::Error, 16, "I5", "0.00%"},
        {"text in a summed column", [](auto &t) { t.typeOver(0, 5, 5, "一千"); }, CheckSeverity::Error, 16, "F6",
         "是文字"},
        {"three decimals", [](auto &t) { t.typeOver(0, 7, 5, "0.125"); }, CheckSeverity::Error, 16, "H6",
         "两位以上小数"},
        {"book without appraised",
         [](auto &t) {
             t.typeOver(0, 5, 6, "5");
             t.typeOver(0, 6, 6, "5");
         },
         CheckSeverity::Hint, 16, "B7", "有帐面价值而没有评估价值"},
        {"name without amounts", [](auto &t) { t.typeOver(0, 1, 6, "丙"); }, CheckSeverity::Hint, 16, "B7",
         "有名称而没有金额"},
        {"row rate beyond the limit",
         [](auto &t) {
             t.fill(0, 16, {{5, 4, "100"}, {6, 4, "100"}, {7, 4, "300"}});
         },
         CheckSeverity::Hint, 16, "I5", "200.00% 超出 ±100.00%"},
        {"sheet rate beyond the limit",
         [](auto &t) {
             t.fill(1, 22, {{9, 3, "200"}});
         },
         CheckSeverity::Hint, 22, "L3", "全表增值率 100.00%"},
        {"no unit",
         [](auto &t) {
             NodeProperties p = t.m_store.node(0)->properties;
             p.zczydw = "";
             t.m_store.updateNodeProperties(0, p);
         },
         CheckSeverity::Hint, -1, "", "资产占有单位"},
        {"no appraiser for a sheet with data",
         [](auto &t) {
             t.m_store.replaceSignatories(0, {{16, "张三", "", std::nullopt}});
         },
         CheckSeverity::Hint, 16, "", "没有填写评估人员"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CheckProject t;
        c.plant(t);
        const auto storedBefore = t.m_store.sheetData();
        const bool modifiedBefore = t.m_wb.IsModified();
        const CheckReport report = t.check();
        bool found = false;
        for (const CheckFinding &f : report.findings)
            found = found || (f.severity == c.severity && f.sheetId == c.sheet && f.cellName() == c.cell &&
                              f.message.find(c.words) != std::string::npos);
        EXPECT_TRUE(found) << "not among:\n" << ProjectCheck::csv(report);
        // The check reads only.
        EXPECT_EQ(t.m_store.sheetData().size(), storedBefore.size());
        EXPECT_EQ(t.m_wb.IsModified(), modifiedBefore);
    }
}

TEST(ProjectCheckTest, RaisedLimitsSilenceOutliersAndCsvQuotesHostileText)
{
    CheckProject p;
    p.fill(0, 16, {{5, 4, "100"}, {6, 4, "100"}, {7, 4, "300"}});
    EXPECT_EQ(
        p.check({Amount::fromUnits(500 * Amount::kScale), Amount::fromUnits(500 * Amount::kScale)}).findings.size(),
        0u);

    CheckReport report;
    report.findings.push_back({CheckSeverity::Error, 3, "a,\"b\"", 16, "表3-4", "名\n称", 5, 11, "x"});
    EXPECT_EQ(ProjectCheck::csv(report),
              "级别,结点,表号,表名,单元格,说明\r\n错误,\"a,\"\"b\"\"\",表3-4,\"名\n称\",F12,x\r\n");
}

} // namespace
} // namespace vantor
