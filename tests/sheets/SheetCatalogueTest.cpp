#include "sheets/SheetCatalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vantor {
namespace {

struct CatalogueRow {
    int id;
    const char *code;
    const char *name;
    const char *group; // as the forms list it: category, then the subgroup after " / "
};

// The catalogue of detail sheets as the forms define it.
const CatalogueRow kCatalogue[] = {
    {10, "表3-1-1", "货币资金-现金清查评估明细表", "流动资产 / 货币资金"},
    {11, "表3-1-2", "货币资金-银行存款清查评估明细表", "流动资产 / 货币资金"},
    {12, "表3-1-3", "货币资金-其他货币资金清查评估明细表", "流动资产 / 货币资金"},
    {13, "表3-2-1", "短期投资-股票清查评估明细表", "流动资产 / 短期投资"},
    {14, "表3-2-2", "短期投资-债券清查评估明细表", "流动资产 / 短期投资"},
    {15, "表3-3", "应收票据清查评估明细表", "流动资产"},
    {16, "表3-4", "应收账款清查评估明细表", "流动资产"},
    {17, "表3-5", "应收股利（应收利润）清查评估明细表", "流动资产"},
    {18, "表3-6", "应收利息清查评估明细表", "流动资产"},
    {19, "表3-7", "预付账款清查评估明细表", "流动资产"},
    {20, "表3-8", "应收补贴款清查评估明细表", "流动资产"},
    {21, "表3-9", "其他应收款清查评估明细表", "流动资产"},
    {22, "表3-10-1", "存货-原材料清查评估明细表", "流动资产 / 存货"},
    {23, "表3-10-2", "存货-材料采购（在途物资）清查评估明细表", "流动资产 / 存货"},
    {24, "表3-10-3", "存货-在库低值易耗品清查评估明细表", "流动资产 / 存货"},
    {25, "表3-10-4", "存货-包装物清查评估明细表", "流动资产 / 存货"},
    {26, "表3-10-5", "存货-委托加工材料清查评估明细表", "流动资产 / 存货"},
    {27, "表3-10-6", "存货-产成品（库存商品）清查评估明细表", "流动资产 / 存货"},
    {28, "表3-10-7", "存货-在产品（自制半成品）清查评估明细表", "流动资产 / 存货"},
    {29, "表3-10-8", "存货-分期收款发出商品清查评估明细表", "流动资产 / 存货"},
    {30, "表3-10-9", "存货-在用低值易耗品清查评估明细表", "流动资产 / 存货"},
    {31, "表3-10-10", "存货-委托代销商品清查评估明细表", "流动资产 / 存货"},
    {32, "表3-10-11", "存货-受托代销商品清查评估明细表", "流动资产 / 存货"},
    {33, "表3-11", "待摊费用清查评估明细表", "流动资产"},
    {34, "表3-12", "待处理流动资产净损失清查评估明细表", "流动资产"},
    {35, "表3-13", "一年内到期的长期债券投资清查评估明细表", "流动资产"},
    {36, "表3-14", "其他流动资产清查评估明细表", "流动资产"},
    {37, "表4-1", "长期投资-股票投资清查评估明细表", "长期投资"},
    {38, "表4-2", "长期投资-债券投资清查评估明细表", "长期投资"},
    {39, "表4-3", "长期投资-其他投资清查评估明细表", "长期投资"},
    {40, "表5-1-1", "固定资产-房屋建筑物清查评估明细表", "固定资产"},
    {41, "表5-1-2", "固定资产-构筑物及其他辅助设施清查评估明细表", "固定资产"},
    {42, "表5-1-3", "固定资产-管道和沟漕清查评估明细表", "固定资产"},
    {43, "表5-2-1", "固定资产-机器设备清查评估明细表", "固定资产"},
    {44, "表5-2-2", "固定资产-车辆清查评估明细表", "固定资产"},
    {45, "表5-2-3", "固定资产-电子设备清查评估明细表", "固定资产"},
    {46, "表5-x", "固定资产-其他设备清查评估明细表", "固定资产"},
    {47, "表5-3", "工程物资清查评估明细表", "固定资产"},
    {48, "表5-4-1", "在建工程-土建工程清查评估明细表", "固定资产"},
    {49, "表5-4-2", "在建工程-设备安装工程清查评估明细表", "固定资产"},
    {50, "表5-5", "固定资产清理清查评估明细表", "固定资产"},
    {51, "表5-6", "待处理固定资产净损失清查评估明细表", "固定资产"},
    {52, "表6-1", "无形资产-土地使用权清查评估明细表", "无形资产"},
    {53, "表6-2", "无形资产-其他无形资产清查评估明细表", "无形资产"},
    {54, "表7-1", "开办费清查评估明细表", "递延资产"},
    {55, "表7-2", "长期待摊费用清查评估明细表", "递延资产"},
    {56, "表8-1", "其他长期资产清查评估明细表", "other long-term assets"},
    {57, "表8-2", "递延税款借项清查评估明细表", "other long-term assets"},
    {58, "表9-1", "短期借款清查评估明细表", "流动负债"},
    {59, "表9-2", "应付票据清查评估明细表", "流动负债"},
    {60, "表9-3", "应付账款清查评估明细表", "流动负债"},
    {61, "表9-4", "预收账款清查评估明细表", "流动负债"},
    {62, "表9-5", "代销商品款清查评估明细表", "流动负债"},
    {63, "表9-6", "其他应付款清查评估明细表", "流动负债"},
    {64, "表9-7", "应付工资清查评估明细表", "流动负债"},
    {65, "表9-8", "应付福利费清查评估明细表", "流动负债"},
    {66, "表9-9", "应交税金清查评估明细表", "流动负债"},
    {67, "表9-10", "应付利润（应付股利）清查评估明细表", "流动负债"},
    {68, "表9-11", "其他应交款清查评估明细表", "流动负债"},
    {69, "表9-12", "预提费用清查评估明细表", "流动负债"},
    {70, "表9-13", "一年内到期的长期负债清查评估明细表", "流动负债"},
    {71, "表9-14", "其他流动负债清查评估明细表", "流动负债"},
    {72, "表10-1", "长期借款清查评估明细表", "长期负债"},
    {73, "表10-2", "应付债券清查评估明细表", "长期负债"},
    {74, "表10-3", "长期应付款清查评估明细表", "长期负债"},
    {75, "表10-4", "住房周转金清查评估明细表", "长期负债"},
    {76, "表10-5", "其他长期负债清查评估明细表", "长期负债"},
    {77, "表10-6", "递延税款贷项清查评估明细表", "长期负债"},
    {78, "表11", "备抵科目补充明细表", "contra accounts"},
};

std::string groupText(const CatalogueEntry &e)
{
    std::string text;
    switch (e.category) {
    case SheetCategory::CurrentAssets: text = "流动资产"; break;
    case SheetCategory::LongTermInvestments: text = "长期投资"; break;
    case SheetCategory::FixedAssets: text = "固定资产"; break;
    case SheetCategory::IntangibleAssets: text = "无形资产"; break;
    case SheetCategory::DeferredAssets: text = "递延资产"; break;
    case SheetCategory::OtherLongTermAssets: text = "other long-term assets"; break;
    case SheetCategory::CurrentLiabilities: text = "流动负债"; break;
    case SheetCategory::LongTermLiabilities: text = "长期负债"; break;
    case SheetCategory::ContraAccounts: text = "contra accounts"; break;
    case SheetCategory::Summary: text = "summary"; break;
    }
    switch (e.subgroup) {
    case SheetSubgroup::CashFunds: text += " / 货币资金"; break;
    case SheetSubgroup::ShortTermInvestments: text += " / 短期投资"; break;
    case SheetSubgroup::Inventories: text += " / 存货"; break;
    case SheetSubgroup::None: break;
    }
    return text;
}

TEST(SheetCatalogue, EveryDetailSheetMatchesTheForms)
{
    ASSERT_EQ(std::size(kCatalogue), SheetCatalogue::detailSheets().size());
    for (const CatalogueRow &row : kCatalogue) {
        SCOPED_TRACE(row.id);
        const CatalogueEntry *e = SheetCatalogue::entry(row.id);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->id, row.id);
        EXPECT_EQ(e->code, row.code);
        EXPECT_EQ(e->name, row.name);
        EXPECT_EQ(groupText(*e), row.group);
        auto [code, name] = SheetCatalogue::codeAndName(row.id);
        EXPECT_EQ(code, row.code);
        EXPECT_EQ(name, row.name);
    }
}

TEST(SheetCatalogue, OutsideTheDetailRangeGivesEmptyCodeAndName)
{
    for (int id : {-1, 0, 3, 9, 79, 100, 32767, -32768}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(SheetCatalogue::entry(id), nullptr);
        auto [code, name] = SheetCatalogue::codeAndName(id);
        EXPECT_EQ(code, "");
        EXPECT_EQ(name, "");
    }
}

TEST(SheetCatalogue, OtherEquipmentKeepsItsLetterCode)
{
    EXPECT_EQ(SheetCatalogue::codeAndName(46).first, "表5-x");
}

TEST(SheetCatalogue, SummaryCaptionsPadTheCodeToSixCharacters)
{
    const char *expected[] = {
        "表1    资产评估结果汇总表",   "表2-1  资产评估结果分类汇总表", "表2-2  资产评估结果分类汇总表",
        "表3    流动资产清查评估汇总表", "表3-2  短期投资清查评估汇总表", "表3-10 存货清查评估汇总表",
        "表4    长期投资清查评估汇总表", "表5    固定资产清查评估汇总表", "表9    流动负债清查评估汇总表",
        "表10   长期负债清查评估汇总表",
    };
    const int rows[] = {16, 40, 28, 19, 16, 19, 16, 25, 19, 19};
    const int cols[] = {7, 8, 8, 7, 7, 7, 7, 12, 7, 7};
    ASSERT_EQ(SheetCatalogue::summarySheets().size(), 10u);
    for (int id = 0; id < 10; ++id) {
        SCOPED_TRACE(id);
        EXPECT_EQ(SheetCatalogue::defaultCaption(id), expected[id]);
        const SummarySheetEntry *s = SheetCatalogue::summaryEntry(id);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->rows, rows[id]);
        EXPECT_EQ(s->cols, cols[id]);
    }
    EXPECT_EQ(SheetCatalogue::summaryEntry(10), nullptr);
}

TEST(SheetCatalogue, DetailCaptionsPadTheCodeToTenCharacters)
{
    EXPECT_EQ(SheetCatalogue::defaultCaption(16), "表3-4      应收账款清查评估明细表");
    EXPECT_EQ(SheetCatalogue::defaultCaption(31), "表3-10-10  存货-委托代销商品清查评估明细表");
    EXPECT_EQ(SheetCatalogue::defaultCaption(78), "表11       备抵科目补充明细表");
    EXPECT_EQ(SheetCatalogue::defaultCaption(79), "");
    // A user's code longer than the field is cut so that the name stays in place.
    EXPECT_EQ(SheetCatalogue::caption("表3-10-10-1X", "名", 10), "表3-10-10-1名");
}

TEST(SheetCatalogue, CaptionSplitsBackIntoCodeAndName)
{
    for (const CatalogueRow &row : kCatalogue) {
        SCOPED_TRACE(row.id);
        auto [code, name] = SheetCatalogue::splitDetailCaption(SheetCatalogue::defaultCaption(row.id));
        EXPECT_EQ(code, row.code);
        EXPECT_EQ(name, row.name);
    }
    // A name that starts with spaces keeps them; only the code field is trimmed.
    auto [code, name] = SheetCatalogue::splitDetailCaption(SheetCatalogue::caption("表X", " 名 ", 10));
    EXPECT_EQ(code, "表X");
    EXPECT_EQ(name, " 名 ");
    auto [c2, n2] = SheetCatalogue::splitDetailCaption("表1");
    EXPECT_EQ(c2, "表1");
    EXPECT_EQ(n2, "");
}

TEST(SheetCatalogue, LabelsAndIdsConvertBothWays)
{
    EXPECT_EQ(SheetCatalogue::label(0), "b0");
    EXPECT_EQ(SheetCatalogue::label(10), "b10");
    EXPECT_EQ(SheetCatalogue::label(78), "b78");
    for (int id = 0; id <= 78; ++id)
        EXPECT_EQ(SheetCatalogue::idOfLabel(SheetCatalogue::label(id)), id);
    EXPECT_EQ(SheetCatalogue::idOfLabel("p12"), 12);
    EXPECT_EQ(SheetCatalogue::idOfLabel("b16x"), 16);
    EXPECT_EQ(SheetCatalogue::idOfLabel("b"), std::nullopt);
    EXPECT_EQ(SheetCatalogue::idOfLabel(""), std::nullopt);
    EXPECT_EQ(SheetCatalogue::idOfLabel("print"), std::nullopt);
    EXPECT_EQ(SheetCatalogue::idOfLabel("b99999999999"), std::nullopt);
}

struct GroupRow {
    SheetGroup group;
    std::set<int> ids;
};

std::set<int> range(int from, int to, std::set<int> extra = {})
{
    for (int id = from; id <= to; ++id)
        extra.insert(id);
    return extra;
}

TEST(SheetCatalogue, GroupsHoldExactlyTheirIds)
{
    const GroupRow rows[] = {
        {SheetGroup::CashFunds, range(10, 12)},
        {SheetGroup::ShortTermInvestments, {13, 14, 4}},
        {SheetGroup::Inventories, range(22, 32, {5})},
        {SheetGroup::CurrentAssets, range(10, 36, {3, 4, 5})},
        {SheetGroup::LongTermInvestments, range(37, 39, {6})},
        {SheetGroup::FixedAssets, range(40, 51)},
        {SheetGroup::IntangibleAssets, {52, 53}},
        {SheetGroup::DeferredAssets, {54, 55}},
        {SheetGroup::AllAssets, range(3, 57)},
        {SheetGroup::CurrentLiabilities, range(58, 71)},
        {SheetGroup::LongTermLiabilities, range(72, 77)},
        {SheetGroup::AllLiabilities, range(58, 77)},
    };
    for (const GroupRow &row : rows) {
        SCOPED_TRACE(static_cast<int>(row.group));
        auto ids = SheetCatalogue::groupIds(row.group);
        EXPECT_EQ(std::set<int>(ids.begin(), ids.end()), row.ids);
        EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
        for (int id = -1; id <= 80; ++id)
            EXPECT_EQ(SheetCatalogue::inGroup(row.group, id), row.ids.count(id) == 1) << id;
    }
}

TEST(SheetCatalogue, SignAndContraRows)
{
    EXPECT_FALSE(SheetCatalogue::isStoredNegated(57));
    EXPECT_TRUE(SheetCatalogue::isStoredNegated(58));
    EXPECT_TRUE(SheetCatalogue::isStoredNegated(77));
    EXPECT_FALSE(SheetCatalogue::isStoredNegated(78));
    EXPECT_TRUE(SheetCatalogue::isStoredNegated(3));
    EXPECT_TRUE(SheetCatalogue::isStoredNegated(6));
    EXPECT_FALSE(SheetCatalogue::isStoredNegated(2));
    EXPECT_FALSE(SheetCatalogue::isStoredNegated(7));
    EXPECT_EQ(SheetCatalogue::contraRowId(0), 0);
    EXPECT_EQ(SheetCatalogue::contraRowId(1), 3);
    EXPECT_EQ(SheetCatalogue::contraRowId(3), 5);
    EXPECT_EQ(SheetCatalogue::contraRowId(4), 6);
    EXPECT_EQ(SheetCatalogue::contraRowId(5), 0);
}

} // namespace
} // namespace vantor
