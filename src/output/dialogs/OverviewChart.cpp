#include "output/dialogs/OverviewChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>

#include <algorithm>
#include <QPainter>
#include <QValueAxis>

namespace vantor {

OverviewChart::OverviewChart(QWidget *parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    setMinimumSize(320, 240);
}

void OverviewChart::setList(const std::vector<OverviewRow> &rows, const QString &title)
{
    // A fresh chart per list: axes and series of the last one go with it.
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);

    static const char *const names[] = {"帐面价值", "调整后帐面值", "评估价值"};
    QBarSet *sets[3];
    auto *series = new QBarSeries;
    for (int i = 0; i < 3; ++i) {
        sets[i] = new QBarSet(QString::fromUtf8(names[i]));
        series->append(sets[i]);
    }
    QStringList categories;
    double low = 0, high = 0;
    for (const OverviewRow &row : rows) {
        const double v[3] = {row.je1.toDouble(), row.je2.toDouble(), row.je3.toDouble()};
        for (int i = 0; i < 3; ++i) {
            *sets[i] << v[i];
            low = std::min(low, v[i]);
            high = std::max(high, v[i]);
        }
        categories << QString::fromStdString(row.pmname);
    }
    chart->addSeries(series);
    auto *axisX = new QBarCategoryAxis;
    axisX->append(categories);
    chart->addAxis(axisX, Qt::AlignBottom);
    series->attachAxis(axisX);
    auto *axisY = new QValueAxis;
    axisY->setRange(low, high > low ? high : low + 1);
    axisY->setLabelFormat(QStringLiteral("%.0f"));
    axisY->applyNiceNumbers();
    axisY->setTitleText(QStringLiteral("元"));
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
                    column.push_back(set->at(i));
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
