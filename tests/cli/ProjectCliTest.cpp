// vantor-cli's project commands run as users run them: the built program with arguments
// and standard input; the project files it writes are then read with the store and the
// engine. Needs the vantor-cli and vantor-templates targets built.

#include "project/Database.h"
#include "project/ProjectPassword.h"
#include "project/ProjectStore.h"
#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/Workbook.h"

#include "cli/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vantor {
namespace {

namespace fs = std::filesystem;

using test::CliRun;
using test::readFile;

Amount yuan(const char *text)
{
    return *Amount::parse(text);
}

class ProjectCliTest : public test::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        ASSERT_TRUE(fs::exists(std::string(VANTOR_BIN_DIR) + "/template.vtc"))
            << "build the vantor-templates target first";
    }

    // A new data-entry project with sheet `id` added; returns the project path.
    std::string dataProjectWith(int id)
    {
        const std::string path = file("p.mdb");
        EXPECT_EQ(run({"new", "--kind", "data", path}).status, 0);
        if (id != 10) {
            EXPECT_EQ(run({"add-sheet", path, std::to_string(id)}).status, 0);
        }
        return path;
    }

    std::unique_ptr<Workbook> workbookOf(const std::string &project)
    {
        return loadWorkbook(project.substr(0, project.size() - 4) + ".cll");
    }

    std::optional<SheetTotals> stored(const std::string &project, int16_t id)
    {
        Database db(project, Database::Mode::ReadOnly);
        return ProjectStore(db).sheetTotals(id, 0);
    }
};

TEST_F(ProjectCliTest, TextTheDialogWouldRefuseIsRefusedAndNothingChanges)
{
    const std::string path = file("p.mdb");
    ASSERT_EQ(run({"new", "--kind", "data", path, "--name", "旧"}).status, 0);
    const std::string before = readFile(path);
    struct Case {
        std::vector<std::string> options;
        const char *named;
    };
    const std::vector<Case> cases{
        {{"--name", "O'Brien"}, "--name"},
        {{"--name", "一二三四五六七八九十一"}, "--name"},     // 11 characters, the box holds 10
        {{"--representative", "张三😀😀"}, "--representative"}, // an emoji fills two places
        {{"--unit", "甲\n乙"}, "--unit"},
        {{"--leader=\xE5\xBC"}, "--leader"}, // cut-off UTF-8
    };
    for (const Case &c : cases) {
        std::vector<std::string> args{"new", "--kind", "data", path, "--force"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << c.named;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
        EXPECT_EQ(readFile(path), before) << c.named;
    }
}

TEST_F(ProjectCliTest, NewProjectCarriesItsPropertiesAndInfoShowsThem)
{
    const std::string path = file("项目 v1.0/评估.mdb");
    fs::create_directories(file("项目 v1.0"));
    // Name and representative at their limits (an emoji fills two places).
    const CliRun made = run({"new", "--kind", "data", path, "--name", "一二三四五六七八九十", "--unit",
                             "\"; DROP TABLE pmprop; --", "--date", "2026-06-30", "--representative", "张三😀"});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_TRUE(fs::exists(file("项目 v1.0/评估.cll")));

    const CliRun info = run({"info", path});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("类型\t数据录入型"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("项目名称简称\t一二三四五六七八九十\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("资产占有单位\t\"; DROP TABLE pmprop; --\n"), std::string::npos) << "stored exactly";
    EXPECT_NE(info.out.find("单位法人代表\t张三😀\n"), std::string::npos);
    EXPECT_NE(info.out.find("评估基准日期\t2026-06-30"), std::string::npos);
    // No working copies are left anywhere near the project.
    for (const auto &entry : fs::directory_iterator(file("项目 v1.0")))
        EXPECT_EQ(entry.path().filename().string().rfind("_workfile", 0), std::string::npos);
}

TEST_F(ProjectCliTest, NewRefusesBadCommandLinesAndExistingFiles)
{
    EXPECT_EQ(run({"new", "--kind", "data", file("a.mdb"), "--date", "2026-02-30"}).status, 2);
    EXPECT_FALSE(fs::exists(file("a.mdb")));

    ASSERT_EQ(run({"new", "--kind", "summary", file("a.mdb")}).status, 0);
    const std::string before = readFile(file("a.mdb"));
    const CliRun again = run({"new", "--kind", "data", file("a.mdb")});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("已存在"), std::string::npos);
    EXPECT_EQ(readFile(file("a.mdb")), before);
}

TEST_F(ProjectCliTest, FillRefusesWhatDoesNotFitAndChangesNothing)
{
    const std::string path = dataProjectWith(16);
    const std::string mdb = readFile(path);
    const std::string cll = readFile(file("p.cll"));
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--sheet", "b16", "--row", "12400"}, "a\nb\nc\nd\ne\n"}, // beyond 12403 rows
        {{"--sheet", "b22"}, "a\n"},                               // not in the project
        {{"--sheet", "b16"},
         "x\t\t\t\t\t900000000000000\t900000000000000\n"
         "y\t\t\t\t\t900000000000000\t900000000000000\n"}, // totals overflow
    };
    for (const auto &[options, input] : cases) {
        std::vector<std::string> args{"fill", path};
        args.insert(args.end(), options.begin(), options.end());
        const CliRun r = run(args, input);
        EXPECT_EQ(r.status, 1) << options[1] << " " << input << r.err;
        EXPECT_FALSE(r.err.empty());
        EXPECT_EQ(readFile(path), mdb);
        EXPECT_EQ(readFile(file("p.cll")), cll);
    }
}

TEST_F(ProjectCliTest, ImportTypesATextTableAndTakesOver表11FromAWorkbook)
{
    const std::string path = dataProjectWith(22);
    std::ofstream(file("台账.csv"))
        << "序号,名称,单位,数量,,帐面价值\n1,\"钢材, 热轧\",吨,3,,100\n2,铜材,千克,8,,1000\n";
    const CliRun imported = run({"import", path, "--sheet", "b22", file("台账.csv"), "--first-row", "2"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    auto wb = workbookOf(path);
    const int s = wb->findSheet("b22");
    EXPECT_EQ(wb->DoGetSheetCellData(1, 3, s).text(), "钢材, 热轧");
    EXPECT_EQ(stored(path, 22), (SheetTotals{yuan("1100"), yuan("1100"), {}, {}, {}, {}}));
    EXPECT_NE(imported.out.find("帐面价值/金额 ← F 帐面价值\n"), std::string::npos) << imported.out;

    // A client's order, a title row and amounts as written; one that reads as no number.
    std::ofstream(file("客户.csv")) << "存货明细\n账面余额,备注,存货名称\n\"¥1,000.00\",,铝材\n壹佰,x,锌\n";
    const CliRun refused = run({"import", path, "--sheet", "b22", file("客户.csv")});
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.err.find("第4行 A列（帐面价值/金额）：“壹佰”"), std::string::npos) << refused.err;
    EXPECT_EQ(stored(path, 22), (SheetTotals{yuan("1100"), yuan("1100"), {}, {}, {}, {}}));
    const CliRun skipped = run({"import", path, "--sheet", "b22", file("客户.csv"), "--skip-unreadable"});
    ASSERT_EQ(skipped.status, 0) << skipped.err;
    EXPECT_EQ(workbookOf(path)->DoGetSheetCellData(1, 4, s).text(), "锌");
    // The skipped cell keeps what the row held before (铜材's 1000).
    EXPECT_EQ(stored(path, 22), (SheetTotals{yuan("2000"), yuan("2000"), {}, {}, {}, {}}));

    // 表11 of another project's workbook, its contra rows included.
    {
        auto other = workbookOf(path);
        other->DoSetCellData(2, 1, 70.0, other->findSheet("b78"));
        other->DoSaveFile(file("other.cll"));
    }
    const CliRun contra = run({"import", path, "--sheet", "b78", file("other.cll")});
    ASSERT_EQ(contra.status, 0) << contra.err;
    wb = workbookOf(path);
    EXPECT_DOUBLE_EQ(wb->DoGetSheetCellData(2, 1, wb->findSheet("b78")).number(), 70);
}

TEST_F(ProjectCliTest, PasswordProtectedProjectsNeedThePassword)
{
    const std::string path = dataProjectWith(10);
    {
        Database db(path);
        ProjectStore(db).setPasswordHash(ProjectPassword::hash("abc", PasswordCost::minimal()));
    }
    EXPECT_EQ(run({"info", path}).status, 1);
    const CliRun ok = run({"info", path, "--password", "abc"});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_NE(ok.out.find("密码\t有"), std::string::npos);
}

} // namespace
} // namespace vantor
