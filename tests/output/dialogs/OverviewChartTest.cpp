// The overview's chart: amounts in ten thousands on the axis, the bars keeping the amounts.
#include "output/dialogs/OverviewChart.h"

#include <QAbstractAxis>
#include <QChart>
#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(OverviewChartTest, LargeAmountsReadInTenThousandsAndAnEmptyChartSaysWhatToChoose)
{
    OverviewChart chart;
    chart.setList({}, QString());
    EXPECT_TRUE(chart.chart()->title().contains(QStringLiteral("选择")));
    EXPECT_TRUE(chart.valueLabels().isEmpty()) << "no axis without amounts";

    OverviewRow row;
    row.pmname = "某某有限责任公司第一分公司";
    row.je1 = *Amount::fromDouble(300000000);
    row.je2 = row.je1;
    row.je3 = *Amount::fromDouble(350000000);
    chart.setList({row}, QStringLiteral("总资产一览表"));
    EXPECT_EQ(chart.chart()->axes(Qt::Vertical).value(0)->titleText(), QStringLiteral("万元"));
    EXPECT_TRUE(chart.valueLabels().contains(QStringLiteral("30,000"))) << chart.valueLabels().join(u' ').toStdString();
    EXPECT_EQ(chart.values()[2][0], 350000000) << "the bars keep the amounts";
    EXPECT_LE(chart.projects().value(0).size(), 8) << "long names are shortened under the bars";
}

} // namespace
} // namespace vantor
