#include "sheets/DetailLayouts.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

namespace vantor {
namespace {

// The layouts as the forms list them: ids ("22 … 25, 27, 28"), D, the headings
// ('\r' is a line break inside a heading; "3–5 帐面价值: 3 数量, …" a heading group),
// the book, adjusted and appraised columns (with the 原值 columns), the further
// summed columns and the rate column ("–" for none).
struct LayoutRow {
    const char *ids;
    int dataColumns;
    const char *headings;
    const char *roles;
    const char *further;
    const char *rate;
};

const LayoutRow kLayoutRows[] = {
    {"10", 8, "1 存放部门; 2 币种; 3 外币帐面金额; 4 评估基准日汇率; 5 帐面价值; 6 调整后帐面值; 7 评估价值; 8 增值率%", "5, 6, 7", "–", "8"},
    {"11", 9, "1 开户银行; 2 帐号; 3 币种; 4 外币帐面金额; 5 评估基准日汇率; 6 帐面价值; 7 调整后帐面值; 8 评估价值; 9 增值率%", "6, 7, 8", "–", "9"},
    {"12", 9, "1 名称及内容; 2 用途; 3 币种; 4 外币帐面金额; 5 评估基准日汇率; 6 帐面价值; 7 调整后帐面值; 8 评估价值; 9 增值率%", "6, 7, 8", "–", "9"},
    {"13", 10, "1 被投资单位名称; 2 股票名称; 3 投资日期; 4 持股数量; 5 持股比例; 6 帐面价值; 7 调整后帐面值; 8 基准日收盘价/股; 9 评估价值; 10 增值率%", "6, 7, 9", "–", "10"},
    {"14", 9, "1 被投资单位名称; 2 债券名称; 3 发行日期; 4 投资日期; 5 票面利率%; 6 帐面价值; 7 调整后帐面值; 8 评估价值; 9 增值率%", "6, 7, 8", "–", "9"},
    {"15", 8, "1 户名(结算对象); 2 出票日期; 3 到期日期; 4 票面利率%; 5 帐面价值; 6 调整后帐面值; 7 评估价值; 8 增值率%", "5, 6, 7", "–", "8"},
    {"16", 8, "1 欠款单位名称(结算对象); 2 业务内容; 3 发生日期; 4 帐龄; 5 帐面价值; 6 调整后帐面值; 7 评估价值; 8 增值率%", "5, 6, 7", "–", "8"},
    {"17", 7, "1 户名(结算对象); 2 发生日期; 3 股利所属\r期    间; 4 帐面价值; 5 调整后帐面值; 6 评估价值; 7 增值率%", "4, 5, 6", "–", "7"},
    {"18", 9, "1 欠款单位名称(结算对象); 2 发生日期; 3 本金; 4 利息所属\r期    间; 5 利息率; 6 帐面价值; 7 调整后帐面值; 8 评估价值; 9 增值率%", "6, 7, 8", "3", "9"},
    {"19", 8, "1 收款单位名称(结算对象); 2 业务内容; 3 发生日期; 4 帐龄; 5 帐面价值; 6 调整后帐面值; 7 评估价值; 8 增值率%", "5, 6, 7", "–", "8"},
    {"20", 8, "1 付款单位名称(结算对象); 2 补贴内容; 3 发生日期; 4 帐龄; 5 帐面价值; 6 调整后帐面值; 7 评估价值; 8 增值率%", "5, 6, 7", "–", "8"},
    {"21", 8, "1 欠款对象名称; 2 业务内容; 3 发生日期; 4 帐龄; 5 帐面价值; 6 调整后帐面值; 7 评估价值; 8 增值率%", "5, 6, 7", "–", "8"},
    {"22 … 25, 27, 28", 11, "1 名称及规格型号; 2 计量单位; 3–5 帐面价值: 3 数量, 4 单价, 5 金额; 6 调整值; 7 调整后帐面值; 8 实际数量; 9–10 评估价值: 9 单价, 10 金额; 11 增值率%", "5, 7, 10", "6", "11"},
    {"26", 12, "1 名称及规格型号; 2 加工单位名称; 3 计量单位; 4–6 帐面价值: 4 数量, 5 单价, 6 金额; 7 调整值; 8 调整后帐面值; 9 实际数量; 10–11 评估价值: 10 单价, 11 金额; 12 增值率%", "6, 8, 11", "7", "12"},
    {"29", 12, "1 商品名称; 2 对方单位名称; 3 计量单位; 4–6 帐面价值: 4 数量, 5 单价, 6 金额; 7 调整值; 8 调整后帐面值; 9 实际数量; 10–11 评估价值: 10 单价, 11 金额; 12 增值率%", "6, 8, 11", "7", "12"},
    {"30", 11, "1 名称及规格型号; 2 计量单位; 3–4 帐面价值: 3 数量, 4 金额; 5 调整值; 6 调整后帐面值; 7 实际数量; 8–10 评估价值: 8 单价, 9 成新率%, 10 金额; 11 增值率%", "4, 6, 10", "5", "11"},
    {"31", 12, "1 名称及规格型号; 2 受托代销单位名称; 3 计量单位; 4–6 帐面价值: 4 数量, 5 单价, 6 金额; 7 调整值; 8 调整后帐面值; 9 实际数量; 10–11 评估价值: 10 单价, 11 金额; 12 增值率%", "6, 8, 11", "7", "12"},
    {"32", 12, "1 名称及规格型号; 2 委托代销单位名称; 3 计量单位; 4–6 帐面价值: 4 数量, 5 单价, 6 金额; 7 调整值; 8 调整后帐面值; 9 实际数量; 10–11 评估价值: 10 单价, 11 金额; 12 增值率%", "6, 8, 11", "7", "12"},
    {"33", 9, "1 费用内容; 2 发生日期; 3 预计摊销\r月    数; 4 已摊销\r月  数; 5 帐面价值; 6 调整后帐面值; 7 尚存受益期\r(月数); 8 评估价值; 9 增值率%", "5, 6, 8", "–", "9"},
    {"34", 6, "1 项目; 2 发生日期; 3 帐面价值; 4 调整后帐面值; 5 评估价值; 6 增值率%", "3, 4, 5", "–", "6"},
    {"35", 8, "1 名称及内容; 2 发生日期; 3 到期日; 4 票面利率%; 5 帐面价值; 6 调整后帐面值; 7 评估价值; 8 增值率%", "5, 6, 7", "–", "8"},
    {"36", 5, "1 项目及内容; 2 帐面价值; 3 调整后帐面值; 4 评估价值; 5 增值率%", "2, 3, 4", "–", "5"},
    {"37", 10, "1 被投资单位名称; 2 股票性质; 3 投资日期; 4 持股数量; 5 持股比例; 6 基准日市价; 7 帐面价值; 8 调整后帐面值; 9 评估价值; 10 增值率%", "7, 8, 9", "–", "10"},
    {"38", 9, "1 被投资单位名称; 2 债券种类; 3 发行日期; 4 到期日; 5 票面利率%; 6 帐面价值; 7 调整后帐面值; 8 评估价值; 9 增值率%", "6, 7, 8", "–", "9"},
    {"39", 8, "1 被投资单位名称; 2 投资日期; 3 协议投资期限; 4 投资比例; 5 帐面价值; 6 调整后帐面值; 7 评估价值; 8 增值率%", "5, 6, 7", "–", "8"},
    {"40", 15, "1 权证编号; 2 建筑物名称; 3 结构; 4 建成\r年月; 5 建筑面积\r㎡; 6 成本单价\r(元/㎡); 7–8 帐面价值: 7 原值, 8 净值; 9–10 调整后帐面值: 9 原值, 10 净值; 11–13 评估价值: 11 原值, 12 成新率%, 13 净值; 14 增值率%; 15 评估单价\r(元/㎡)", "8, 10, 13 (cost 7, 9, 11)", "5", "14"},
    {"41", 15, "1 名称; 2 结构; 3 建成\r年月; 4 长度\r(m); 5 宽度\r(m); 6 建筑面积\r(㎡); 7–8 帐面价值: 7 原值, 8 净值; 9–10 调整后帐面值: 9 原值, 10 净值; 11–13 评估价值: 11 原值, 12 成新率%, 13 净值; 14 增值率%; 15 评估单价\r(元/㎡)", "8, 10, 13 (cost 7, 9, 11)", "6", "14"},
    {"42", 15, "1 名称; 2 长度\r(m); 3 槽深\r(m); 4 沟宽*沟厚(㎜*㎜)\r管径*壁厚(㎜*㎜); 5 材质; 6 绝缘\r方式; 7 建成\r年月; 8–9 帐面价值: 8 原值, 9 净值; 10–11 调整后帐面值: 10 原值, 11 净值; 12–14 评估价值: 12 原值, 13 成新率%, 14 净值; 15 增值率%", "9, 11, 14 (cost 8, 10, 12)", "–", "15"},
    {"43, 45, 46", 15, "1 设备编号; 2 设备名称; 3 规格型号; 4 生产厂家; 5 计量\r单位; 6 购置\r日期; 7 启用\r日期; 8–9 帐面价值: 8 原值, 9 净值; 10–11 调整后帐面值: 10 原值, 11 净值; 12–14 评估价值: 12 原值, 13 成新率%, 14 净值; 15 增值率%", "9, 11, 14 (cost 8, 10, 12)", "–", "15"},
    {"44", 15, "1 车辆牌号; 2 车辆名称规格型号; 3 生产厂家; 4 计量\r单位; 5 购置\r日期; 6 启用\r日期; 7 已行驶里程\r公里; 8–9 帐面价值: 8 原值, 9 净值; 10–11 调整后帐面值: 10 原值, 11 净值; 12–14 评估价值: 12 原值, 13 成新率%, 14 净值; 15 增值率%", "9, 11, 14 (cost 8, 10, 12)", "–", "15"},
    {"47", 11, "1 名称; 2 工程项目; 3 计量单位; 4–6 帐面价值: 4 数量, 5 单价, 6 金额; 7 调整后帐面值; 8 实际数量; 9–10 评估价值: 9 单价, 10 金额; 11 增值率%", "6, 7, 10", "–", "11"},
    {"48", 9, "1 项目名称; 2 开工日期; 3 预计完\r工日期; 4 形象进度; 5 付款比例; 6 帐面价值; 7 调整后帐面值; 8 评估价值; 9 增值率%", "6, 7, 8", "–", "9"},
    {"49", 13, "1 项目名称; 2 开工日期; 3 预计完\r工日期; 4–7 帐面已支付金额: 4 设备费, 5 资金成本, 6 安装费\r及其他, 7 合计; 8 调整后帐面值; 9–12 评估价值: 9 设备费, 10 资金成本, 11 安装费\r及其他, 12 合计; 13 增值率%", "7, 8, 12", "4, 5, 6, 9, 10, 11", "13"},
    {"50, 51", 5, "1 资产名称; 2 发生日期; 3 帐面价值; 4 调整后帐面值; 5 评估价值", "3, 4, 5", "–", "–"},
    {"52", 12, "1 土地权证编号; 2 土地位置; 3 取得日期; 4 用地性质; 5 准用年限; 6 开发程度; 7 面积(㎡); 8 原始入帐价值; 9 帐面价值; 10 调整后帐面值; 11 评估价值; 12 增值率%", "9, 10, 11", "7, 8", "12"},
    {"53", 9, "1 内容或名称; 2 取得日期; 3 法定/预计\r使用年限; 4 原始入帐价值; 5 帐面价值; 6 调整后帐面值; 7 尚可使用年限; 8 评估价值; 9 增值率%", "5, 6, 8", "4", "9"},
    {"54", 9, "1 开办费内容; 2 形成日期; 3 原始发生额; 4 预计摊\r销月数; 5 帐面价值; 6 调整后帐面值; 7 尚存受\r益月数; 8 评估价值; 9 增值率%", "5, 6, 8", "3", "9"},
    {"55", 9, "1 费用名称或内容; 2 形成日期; 3 原始发生额; 4 预计摊\r销月数; 5 帐面价值; 6 调整后帐面值; 7 尚存受\r益月数; 8 评估价值; 9 增值率%", "5, 6, 8", "3", "9"},
    {"56", 6, "1 名称或内容; 2 取得日期; 3 帐面价值; 4 调整后帐面值; 5 评估价值; 6 增值率%", "3, 4, 5", "–", "6"},
    {"57", 5, "1 名称或内容; 2 取得日期; 3 帐面价值; 4 调整后帐面值; 5 评估价值", "3, 4, 5", "–", "–"},
    {"58, 72", 10, "1 放款银行或机构名称; 2 发生日期; 3 到期日; 4 月利率%; 5 币种; 6 外币金额; 7 帐面价值; 8 调整后帐面值; 9 外币基准日\r汇率; 10 评估价值", "7, 8, 10", "–", "–"},
    {"59", 7, "1 户名(结算对象); 2 发生日期; 3 到期日; 4 票面利率%; 5 帐面价值; 6 调整后帐面值; 7 评估价值", "5, 6, 7", "–", "–"},
    {"60, 61, 63, 68, 71, 76", 6, "1 户名(结算对象); 2 发生日期; 3 业务内容; 4 帐面价值; 5 调整后帐面值; 6 评估价值", "4, 5, 6", "–", "–"},
    {"62", 6, "1 委托代销单位名称(结算对象); 2 发生日期; 3 代销业务内容; 4 帐面价值; 5 调整后帐面值; 6 评估价值", "4, 5, 6", "–", "–"},
    {"64, 65, 77", 5, "1 部门或内容; 2 发生日期; 3 帐面价值; 4 调整后帐面值; 5 评估价值", "3, 4, 5", "–", "–"},
    {"66", 6, "1 征税机关; 2 发生日期; 3 税种; 4 帐面价值; 5 调整后帐面值; 6 评估价值", "4, 5, 6", "–", "–"},
    {"67", 6, "1 投资单位名称; 2 发生日期; 3 利润所属期间; 4 帐面价值; 5 调整后帐面值; 6 评估价值", "4, 5, 6", "–", "–"},
    {"69", 7, "1 费用项目; 2 已预提月数; 3 费用实际发生月数; 4 预提比例%; 5 帐面价值; 6 调整后帐面值; 7 评估价值", "5, 6, 7", "–", "–"},
    {"70", 7, "1 债券名称; 2 发生日期; 3 到期日; 4 票面月利率%; 5 帐面价值; 6 调整后帐面值; 7 评估价值", "5, 6, 7", "–", "–"},
    {"73", 8, "1 债券发行单位; 2 债券种类; 3 发生日期; 4 到期日; 5 票面利率%; 6 帐面价值; 7 调整后帐面值; 8 评估价值", "6, 7, 8", "–", "–"},
    {"74", 8, "1 户名(结算对象); 2 发生日期; 3 业务内容; 4–6 帐面价值: 4 初始额, 5 利息及汇率净损失, 6 合计; 7 调整后帐面值; 8 评估价值", "6, 7, 8", "4, 5", "–"},
    {"75", 5, "1 户名(结算对象); 2 发生日期; 3 帐面价值; 4 调整后帐面值; 5 评估价值", "3, 4, 5", "–", "–"},
};

std::vector<int> parseIds(const std::string &text)
{
    std::vector<int> ids;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        auto dots = part.find("…");
        if (dots == std::string::npos) {
            ids.push_back(std::stoi(part));
        } else {
            int from = std::stoi(part.substr(0, dots));
            int to = std::stoi(part.substr(dots + std::string("…").size()));
            for (int id = from; id <= to; ++id)
                ids.push_back(id);
        }
    }
    return ids;
}

std::string list(const std::vector<int> &values)
{
    if (values.empty())
        return "–";
    std::string out;
    for (int v : values)
        out += (out.empty() ? "" : ", ") + std::to_string(v);
    return out;
}

// Renders a layout's headings the way the forms list them.
std::string headingText(const DetailLayout &l)
{
    std::string out;
    for (int c = 1; c <= l.dataColumns; ++c) {
        if (!out.empty())
            out += "; ";
        if (const HeadingGroup *g = l.groupOf(c)) {
            out += std::to_string(g->first) + "–" + std::to_string(g->last) + " " + std::string(g->text) + ": ";
            for (int s = g->first; s <= g->last; ++s)
                out += (s == g->first ? "" : ", ") + std::to_string(s) + " " + std::string(l.heading(s));
            c = g->last;
        } else {
            out += std::to_string(c) + " " + std::string(l.heading(c));
        }
    }
    return out;
}

std::string rolesText(const ColumnRoles &r)
{
    std::string out = list({r.book, r.adjusted, r.appraised});
    if (r.hasCost())
        out += " (cost " + list({r.costBook, r.costAdjusted, r.costAppraised}) + ")";
    return out;
}

TEST(DetailLayouts, EveryKindMatchesItsForm)
{
    std::set<int> seen;
    for (const LayoutRow &row : kLayoutRows) {
        for (int id : parseIds(row.ids)) {
            SCOPED_TRACE(id);
            seen.insert(id);
            const DetailLayout *l = DetailLayouts::layout(id);
            ASSERT_NE(l, nullptr);
            EXPECT_EQ(DetailLayouts::dataColumnCount(id), row.dataColumns);
            EXPECT_EQ(l->columnCount(), row.dataColumns + 2);
            EXPECT_EQ(headingText(*l), row.headings);
            EXPECT_EQ(rolesText(DetailLayouts::columnRoles(id)), row.roles);

            std::vector<int> furtherExpected;
            if (std::string(row.further) != "–")
                for (int c : parseIds(row.further))
                    furtherExpected.push_back(c);
            std::set<int> summed(furtherExpected.begin(), furtherExpected.end());
            ColumnRoles r = l->roles;
            for (int c : {r.book, r.adjusted, r.appraised, r.costBook, r.costAdjusted, r.costAppraised})
                if (c > 0)
                    summed.insert(c);
            EXPECT_EQ(l->summedColumns(), std::vector<int>(summed.begin(), summed.end()));
            for (int c = -1; c <= 27; ++c)
                EXPECT_EQ(DetailLayouts::isSummedColumn(id, c), summed.count(c) == 1) << "column " << c;

            std::string rate = row.rate;
            EXPECT_EQ(DetailLayouts::rateColumn(id), rate == "–" ? 0 : std::stoi(rate));
            EXPECT_LE(l->columnCount(), DetailLayouts::MaxColumns);
        }
    }
    // Every detail kind 10 … 77 has exactly one row of the forms.
    EXPECT_EQ(seen.size(), 68u);
    EXPECT_EQ(*seen.begin(), 10);
    EXPECT_EQ(*seen.rbegin(), 77);
}

TEST(DetailLayouts, FrameHeadingsAroundTheDataColumns)
{
    const DetailLayout *l = DetailLayouts::layout(16);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->heading(0), "序号");
    EXPECT_EQ(l->heading(9), "备注");
    EXPECT_EQ(l->remarksColumn(), 9);
    EXPECT_EQ(l->heading(10), "");
    EXPECT_EQ(l->heading(-1), "");
    EXPECT_FALSE(l->isSummed(0));
    EXPECT_FALSE(l->isSummed(9));
}

TEST(DetailLayouts, HeadingsKeepInnerSpacesAndLineBreaks)
{
    EXPECT_EQ(DetailLayouts::layout(17)->heading(3), "股利所属\r期    间");
    EXPECT_EQ(DetailLayouts::layout(18)->heading(4), "利息所属\r期    间");
    EXPECT_EQ(DetailLayouts::layout(33)->heading(3), "预计摊销\r月    数");
    EXPECT_EQ(DetailLayouts::layout(33)->heading(4), "已摊销\r月  数");
}

TEST(DetailLayouts, SharedFormsShareOneEntry)
{
    EXPECT_EQ(DetailLayouts::layout(46), DetailLayouts::layout(43));
    EXPECT_EQ(DetailLayouts::layout(45), DetailLayouts::layout(43));
    EXPECT_NE(DetailLayouts::layout(44), DetailLayouts::layout(43));
    EXPECT_EQ(DetailLayouts::layout(58), DetailLayouts::layout(72));
    EXPECT_EQ(DetailLayouts::layout(50), DetailLayouts::layout(51));
}

TEST(DetailLayouts, SummedColumnsOfTheSpecialKinds)
{
    EXPECT_EQ(DetailLayouts::layout(49)->summedColumns(), (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(DetailLayouts::layout(52)->summedColumns(), (std::vector<int>{7, 8, 9, 10, 11}));
    EXPECT_TRUE(DetailLayouts::isSummedColumn(40, 5));
    EXPECT_FALSE(DetailLayouts::isSummedColumn(40, 6));
    EXPECT_TRUE(DetailLayouts::isSummedColumn(41, 6));
    EXPECT_FALSE(DetailLayouts::isSummedColumn(41, 5));
    // 工程物资 has no 原值 columns although it sits among the fixed assets.
    EXPECT_FALSE(DetailLayouts::columnRoles(47).hasCost());
    for (int id = 40; id <= 46; ++id)
        EXPECT_TRUE(DetailLayouts::columnRoles(id).hasCost()) << id;
}

TEST(DetailLayouts, KindsWithoutRateColumn)
{
    for (int id : {50, 51, 57})
        EXPECT_EQ(DetailLayouts::rateColumn(id), 0) << id;
    for (int id = 58; id <= 77; ++id)
        EXPECT_EQ(DetailLayouts::rateColumn(id), 0) << id;
    for (int id = 10; id <= 49; ++id)
        EXPECT_GT(DetailLayouts::rateColumn(id), 0) << id;
}

TEST(DetailLayouts, OnlyKind54HasPrefilledCaptions)
{
    for (const DetailLayout &l : DetailLayouts::layouts()) {
        if (l.ids.front() == 54)
            EXPECT_EQ(l.prefilled, (std::vector<std::string_view>{"人员工资", "办公费", "培训费", "差旅费", "印刷费",
                                                                   "注册登记费", "不记入固定资产的利息", "其他"}));
        else
            EXPECT_TRUE(l.prefilled.empty()) << l.ids.front();
    }
}

TEST(DetailLayouts, ContraSheetAndUnknownIds)
{
    EXPECT_EQ(DetailLayouts::dataColumnCount(78), 4);
    EXPECT_EQ(DetailLayouts::layout(78), nullptr);
    EXPECT_EQ(DetailLayouts::columnRoles(78), ColumnRoles{});
    for (int id : {-1, 0, 5, 9, 79, 1000}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(DetailLayouts::dataColumnCount(id), 0);
        EXPECT_EQ(DetailLayouts::layout(id), nullptr);
        EXPECT_EQ(DetailLayouts::columnRoles(id), ColumnRoles{});
        EXPECT_FALSE(DetailLayouts::isSummedColumn(id, 5));
        EXPECT_EQ(DetailLayouts::rateColumn(id), 0);
    }
}

} // namespace
} // namespace vantor
