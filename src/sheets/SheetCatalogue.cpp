#include "sheets/SheetCatalogue.h"

#include "common/Utf8Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace vantor {

namespace {

using C = SheetCategory;
using S = SheetSubgroup;

constexpr std::array<CatalogueEntry, 69> kDetailSheets{{
    {10, "表3-1-1", "货币资金-现金清查评估明细表", C::CurrentAssets, S::CashFunds},
    {11, "表3-1-2", "货币资金-银行存款清查评估明细表", C::CurrentAssets, S::CashFunds},
    {12, "表3-1-3", "货币资金-其他货币资金清查评估明细表", C::CurrentAssets, S::CashFunds},
    {13, "表3-2-1", "短期投资-股票清查评估明细表", C::CurrentAssets, S::ShortTermInvestments},
    {14, "表3-2-2", "短期投资-债券清查评估明细表", C::CurrentAssets, S::ShortTermInvestments},
    {15, "表3-3", "应收票据清查评估明细表", C::CurrentAssets, S::None},
    {16, "表3-4", "应收账款清查评估明细表", C::CurrentAssets, S::None},
    {17, "表3-5", "应收股利（应收利润）清查评估明细表", C::CurrentAssets, S::None},
    {18, "表3-6", "应收利息清查评估明细表", C::CurrentAssets, S::None},
    {19, "表3-7", "预付账款清查评估明细表", C::CurrentAssets, S::None},
    {20, "表3-8", "应收补贴款清查评估明细表", C::CurrentAssets, S::None},
    {21, "表3-9", "其他应收款清查评估明细表", C::CurrentAssets, S::None},
    {22, "表3-10-1", "存货-原材料清查评估明细表", C::CurrentAssets, S::Inventories},
    {23, "表3-10-2", "存货-材料采购（在途物资）清查评估明细表", C::CurrentAssets, S::Inventories},
    {24, "表3-10-3", "存货-在库低值易耗品清查评估明细表", C::CurrentAssets, S::Inventories},
    {25, "表3-10-4", "存货-包装物清查评估明细表", C::CurrentAssets, S::Inventories},
    {26, "表3-10-5", "存货-委托加工材料清查评估明细表", C::CurrentAssets, S::Inventories},
    {27, "表3-10-6", "存货-产成品（库存商品）清查评估明细表", C::CurrentAssets, S::Inventories},
    {28, "表3-10-7", "存货-在产品（自制半成品）清查评估明细表", C::CurrentAssets, S::Inventories},
    {29, "表3-10-8", "存货-分期收款发出商品清查评估明细表", C::CurrentAssets, S::Inventories},
    {30, "表3-10-9", "存货-在用低值易耗品清查评估明细表", C::CurrentAssets, S::Inventories},
    {31, "表3-10-10", "存货-委托代销商品清查评估明细表", C::CurrentAssets, S::Inventories},
    {32, "表3-10-11", "存货-受托代销商品清查评估明细表", C::CurrentAssets, S::Inventories},
    {33, "表3-11", "待摊费用清查评估明细表", C::CurrentAssets, S::None},
    {34, "表3-12", "待处理流动资产净损失清查评估明细表", C::CurrentAssets, S::None},
    {35, "表3-13", "一年内到期的长期债券投资清查评估明细表", C::CurrentAssets, S::None},
    {36, "表3-14", "其他流动资产清查评估明细表", C::CurrentAssets, S::None},
    {37, "表4-1", "长期投资-股票投资清查评估明细表", C::LongTermInvestments, S::None},
    {38, "表4-2", "长期投资-债券投资清查评估明细表", C::LongTermInvestments, S::None},
    {39, "表4-3", "长期投资-其他投资清查评估明细表", C::LongTermInvestments, S::None},
    {40, "表5-1-1", "固定资产-房屋建筑物清查评估明细表", C::FixedAssets, S::None},
    {41, "表5-1-2", "固定资产-构筑物及其他辅助设施清查评估明细表", C::FixedAssets, S::None},
    {42, "表5-1-3", "固定资产-管道和沟漕清查评估明细表", C::FixedAssets, S::None},
    {43, "表5-2-1", "固定资产-机器设备清查评估明细表", C::FixedAssets, S::None},
    {44, "表5-2-2", "固定资产-车辆清查评估明细表", C::FixedAssets, S::None},
    {45, "表5-2-3", "固定资产-电子设备清查评估明细表", C::FixedAssets, S::None},
    {46, "表5-x", "固定资产-其他设备清查评估明细表", C::FixedAssets, S::None},
    {47, "表5-3", "工程物资清查评估明细表", C::FixedAssets, S::None},
    {48, "表5-4-1", "在建工程-土建工程清查评估明细表", C::FixedAssets, S::None},
    {49, "表5-4-2", "在建工程-设备安装工程清查评估明细表", C::FixedAssets, S::None},
    {50, "表5-5", "固定资产清理清查评估明细表", C::FixedAssets, S::None},
    {51, "表5-6", "待处理固定资产净损失清查评估明细表", C::FixedAssets, S::None},
    {52, "表6-1", "无形资产-土地使用权清查评估明细表", C::IntangibleAssets, S::None},
    {53, "表6-2", "无形资产-其他无形资产清查评估明细表", C::IntangibleAssets, S::None},
    {54, "表7-1", "开办费清查评估明细表", C::DeferredAssets, S::None},
    {55, "表7-2", "长期待摊费用清查评估明细表", C::DeferredAssets, S::None},
    {56, "表8-1", "其他长期资产清查评估明细表", C::OtherLongTermAssets, S::None},
    {57, "表8-2", "递延税款借项清查评估明细表", C::OtherLongTermAssets, S::None},
    {58, "表9-1", "短期借款清查评估明细表", C::CurrentLiabilities, S::None},
    {59, "表9-2", "应付票据清查评估明细表", C::CurrentLiabilities, S::None},
    {60, "表9-3", "应付账款清查评估明细表", C::CurrentLiabilities, S::None},
    {61, "表9-4", "预收账款清查评估明细表", C::CurrentLiabilities, S::None},
    {62, "表9-5", "代销商品款清查评估明细表", C::CurrentLiabilities, S::None},
    {63, "表9-6", "其他应付款清查评估明细表", C::CurrentLiabilities, S::None},
    {64, "表9-7", "应付工资清查评估明细表", C::CurrentLiabilities, S::None},
    {65, "表9-8", "应付福利费清查评估明细表", C::CurrentLiabilities, S::None},
    {66, "表9-9", "应交税金清查评估明细表", C::CurrentLiabilities, S::None},
    {67, "表9-10", "应付利润（应付股利）清查评估明细表", C::CurrentLiabilities, S::None},
    {68, "表9-11", "其他应交款清查评估明细表", C::CurrentLiabilities, S::None},
    {69, "表9-12", "预提费用清查评估明细表", C::CurrentLiabilities, S::None},
    {70, "表9-13", "一年内到期的长期负债清查评估明细表", C::CurrentLiabilities, S::None},
    {71, "表9-14", "其他流动负债清查评估明细表", C::CurrentLiabilities, S::None},
    {72, "表10-1", "长期借款清查评估明细表", C::LongTermLiabilities, S::None},
    {73, "表10-2", "应付债券清查评估明细表", C::LongTermLiabilities, S::None},
    {74, "表10-3", "长期应付款清查评估明细表", C::LongTermLiabilities, S::None},
    {75, "表10-4", "住房周转金清查评估明细表", C::LongTermLiabilities, S::None},
    {76, "表10-5", "其他长期负债清查评估明细表", C::LongTermLiabilities, S::None},
    {77, "表10-6", "递延税款贷项清查评估明细表", C::LongTermLiabilities, S::None},
    {78, "表11", "备抵科目补充明细表", C::ContraAccounts, S::None},
}};

constexpr std::array<SummarySheetEntry, 10> kSummarySheets{{
    {0, "表1", "资产评估结果汇总表", 16, 7},
    {1, "表2-1", "资产评估结果分类汇总表", 40, 8},
    {2, "表2-2", "资产评估结果分类汇总表", 28, 8},
    {3, "表3", "流动资产清查评估汇总表", 19, 7},
    {4, "表3-2", "短期投资清查评估汇总表", 16, 7},
    {5, "表3-10", "存货清查评估汇总表", 19, 7},
    {6, "表4", "长期投资清查评估汇总表", 16, 7},
    {7, "表5", "固定资产清查评估汇总表", 25, 12},
    {8, "表9", "流动负债清查评估汇总表", 19, 7},
    {9, "表10", "长期负债清查评估汇总表", 19, 7},
}};

std::vector<int> idRange(int from, int to, std::initializer_list<int> extra = {})
{
    std::vector<int> ids(extra);
    for (int id = from; id <= to; ++id)
        ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

const std::vector<int> kCashFunds = idRange(10, 12);
const std::vector<int> kShortTermInvestments = idRange(13, 14, {4});
const std::vector<int> kInventories = idRange(22, 32, {5});
const std::vector<int> kCurrentAssets = idRange(10, 36, {3, 4, 5});
const std::vector<int> kLongTermInvestments = idRange(37, 39, {6});
const std::vector<int> kFixedAssets = idRange(40, 51);
const std::vector<int> kIntangibleAssets = idRange(52, 53);
const std::vector<int> kDeferredAssets = idRange(54, 55);
const std::vector<int> kAllAssets = idRange(3, 57);
const std::vector<int> kCurrentLiabilities = idRange(58, 71);
const std::vector<int> kLongTermLiabilities = idRange(72, 77);
const std::vector<int> kAllLiabilities = idRange(58, 77);

} // namespace

std::span<const CatalogueEntry> SheetCatalogue::detailSheets()
{
    return kDetailSheets;
}

std::span<const SummarySheetEntry> SheetCatalogue::summarySheets()
{
    return kSummarySheets;
}

const CatalogueEntry *SheetCatalogue::entry(int id)
{
    if (!isDetail(id))
        return nullptr;
    return &kDetailSheets[static_cast<std::size_t>(id - FirstDetailId)];
}

const SummarySheetEntry *SheetCatalogue::summaryEntry(int id)
{
    if (!isSummary(id))
        return nullptr;
    return &kSummarySheets[static_cast<std::size_t>(id)];
}

std::pair<std::string, std::string> SheetCatalogue::codeAndName(int id)
{
    const CatalogueEntry *e = entry(id);
    if (!e)
        return {};
    return {std::string(e->code), std::string(e->name)};
}

int SheetCatalogue::contraRowId(int contraSheetRow)
{
    if (contraSheetRow < 1 || contraSheetRow > 4)
        return 0;
    return contraSheetRow + 2;
}

std::span<const int> SheetCatalogue::groupIds(SheetGroup group)
{
    switch (group) {
    case SheetGroup::CashFunds:
        return kCashFunds;
    case SheetGroup::ShortTermInvestments:
        return kShortTermInvestments;
    case SheetGroup::Inventories:
        return kInventories;
    case SheetGroup::CurrentAssets:
        return kCurrentAssets;
    case SheetGroup::LongTermInvestments:
        return kLongTermInvestments;
    case SheetGroup::FixedAssets:
        return kFixedAssets;
    case SheetGroup::IntangibleAssets:
        return kIntangibleAssets;
    case SheetGroup::DeferredAssets:
        return kDeferredAssets;
    case SheetGroup::AllAssets:
        return kAllAssets;
    case SheetGroup::CurrentLiabilities:
        return kCurrentLiabilities;
    case SheetGroup::LongTermLiabilities:
        return kLongTermLiabilities;
    case SheetGroup::AllLiabilities:
        return kAllLiabilities;
    }
    return {};
}

bool SheetCatalogue::inGroup(SheetGroup group, int sheetdataId)
{
    auto ids = groupIds(group);
    return std::binary_search(ids.begin(), ids.end(), sheetdataId);
}

std::string SheetCatalogue::label(int id)
{
    return "b" + std::to_string(id);
}

std::optional<int> SheetCatalogue::idOfLabel(std::string_view label)
{
    if (label.size() < 2)
        return std::nullopt;
    std::string_view digits = label.substr(1);
    int value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end == digits.data())
        return std::nullopt;
    return value;
}

std::string SheetCatalogue::caption(std::string_view code, std::string_view name, int codeWidth)
{
    return Utf8Text::padRight(Utf8Text::left(code, codeWidth), codeWidth) + std::string(name);
}

std::string SheetCatalogue::defaultCaption(int id)
{
    if (const SummarySheetEntry *s = summaryEntry(id))
        return caption(s->code, s->name, SummaryCodeWidth);
    if (const CatalogueEntry *e = entry(id))
        return caption(e->code, e->name, DetailCodeWidth);
    return {};
}

std::pair<std::string, std::string> SheetCatalogue::splitDetailCaption(std::string_view caption)
{
    std::string code = Utf8Text::trim(Utf8Text::left(caption, DetailCodeWidth));
    std::string name(Utf8Text::mid(caption, DetailCodeWidth));
    return {code, name};
}

} // namespace vantor
