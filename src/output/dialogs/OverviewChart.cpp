#include "output/dialogs/OverviewChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsScene>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vantor {

namespace {

// Project names longer than this are cut with "…" under the bars, so that the labels stay
// level and readable; the list beside the chart has the whole names.
constexpr int NameLength = 8;

// A round step (1, 2 or 5 times a power of ten) that divides `span` into about five parts.
double niceStep(double span)
{
    const double raw = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * power)
            return m * power;
    return 10 * power;
}

} // namespace

OverviewChart::OverviewChart(QWidget *parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    setMinimumSize(320, 240);
}

QString OverviewChart::axisText(double value)
{
    // Whole units with thousands separators, as the amounts read in the list.
    return QLocale(QLocale::Chinese, QLocale::China).toString(value, 'f', 0);
}

void OverviewChart::setList(const std::vector<OverviewRow> &rows, const QString &title)
{
    // A fresh chart per list: axes and series of the last one go with it.
    auto *chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);

    double low = 0, high = 0;
    for (const OverviewRow &row : rows)
        for (const Amount &a : {row.je1, row.je2, row.je3}) {
            low = std::min(low, a.toDouble());
            high = std::max(high, a.toDouble());
        }
    if (rows.empty() || (low == 0 && high == 0)) {
        // Nothing to draw: say what to choose instead of an axis without amounts.
        chart->setTitle(title.isEmpty() ? QStringLiteral("请在左边选择一个一览表，这里将按项目显示其金额。")
                                        : title + QStringLiteral("：各项目都没有金额，请选择其他一览表。"));
        m_factor = 1;
        QChart *old = this->chart();
        setChart(chart);
        delete old;
        return;
    }
    chart->setTitle(title);
    // Large amounts read in ten thousand yuan.
    m_factor = std::max(std::abs(low), std::abs(high)) >= 1e6 ? 10000.0 : 1.0;

    static const char *const names[] = {"帐面价值", "调整后帐面值", "评估价值"};
    QBarSet *sets[3];
    auto *series = new QBarSeries;
    for (int i = 0; i < 3; ++i) {
        sets[i] = new QBarSet(QString::fromUtf8(names[i]));
        series->append(sets[i]);
    }
    QStringList categories;
    for (const OverviewRow &row : rows) {
        *sets[0] << row.je1.toDouble() / m_factor;
        *sets[1] << row.je2.toDouble() / m_factor;
        *sets[2] << row.je3.toDouble() / m_factor;
        QString name = QString::fromStdString(row.pmname);
        if (name.size() > NameLength)
            name = name.left(NameLength - 1) + QChar(0x2026);
        // Equal names would fall onto one category.
        while (categories.contains(name))
            name += u' ';
        categories << name;
    }
    chart->addSeries(series);
    auto *axisX = new QBarCategoryAxis;
    axisX->append(categories);
    if (categories.size() > 4)
        axisX->setLabelsAngle(-45);
    chart->addAxis(axisX, Qt::AlignBottom);
    series->attachAxis(axisX);

    // The value axis at round steps, each labelled with thousands separators.
    low /= m_factor;
    high /= m_factor;
    const double step = niceStep(high - low);
    const double first = std::floor(low / step) * step;
    const double last = std::ceil(high / step) * step;
    auto *axisY = new QCategoryAxis;
    axisY->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axisY->setStartValue(first);
    for (double v = first; v <= last + step / 2; v += step)
        axisY->append(axisText(std::abs(v) < step / 2 ? 0.0 : v), v);
    axisY->setRange(first, last);
    axisY->setTitleText(m_factor > 1 ? QStringLiteral("万元") : QStringLiteral("元"));
    chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisY);

    QChart *old = this->chart();
    setChart(chart);
    delete old;
}

std::vector<std::vector<double>> OverviewChart::values() const
{
    std::vector<std::vector<double>> out;
    for (QAbstractSeries *s : chart()->series())
        if (auto *bars = qobject_cast<QBarSeries *>(s))
            for (QBarSet *set : bars->barSets()) {
                std::vector<double> column;
                for (int i = 0; i < set->count(); ++i)
                    column.push_back(std::round(set->at(i) * m_factor * 10000) / 10000);
                out.push_back(column);
            }
    return out;
}

QStringList OverviewChart::projects() const
{
    const auto axes = chart()->axes(Qt::Horizontal);
    if (auto *axis = axes.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis *>(axes.first()))
        return axis->categories();
    return {};
}

QStringList OverviewChart::valueLabels() const
{
    const auto axes = chart()->axes(Qt::Vertical);
    if (auto *axis = axes.isEmpty() ? nullptr : qobject_cast<QCategoryAxis *>(axes.first()))
        return axis->categoriesLabels();
    return {};
}

void OverviewChart::paintInto(QPainter &painter, const QRectF &target)
{
    // Laid out at a screen size that suits the page's shape, then scaled onto the page, so
    // that fonts keep their proportions.
    const QSizeF layout = target.size().scaled(QSizeF(1000, 1000), Qt::KeepAspectRatio);
    QChart *shown = chart();
    const QRectF oldGeometry = shown->geometry();
    shown->setGeometry(QRectF(QPointF(0, 0), layout));
    scene()->render(&painter, target, QRectF(QPointF(0, 0), layout));
    shown->setGeometry(oldGeometry);
}

} // namespace vantor
