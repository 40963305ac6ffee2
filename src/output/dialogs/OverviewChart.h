#pragma once

// The bar chart beside an overview list: book, adjusted and appraised value of every project
// of the list, grouped by project. It follows the list shown and is printed after it.

// moc cannot read the standard library's concepts header that Amount pulls in.
#ifndef Q_MOC_RUN
#include "output/OverviewList.h"
#endif

#include <QChartView>

class QPainter;

namespace vantor {

class OverviewChart : public QChartView {
    Q_OBJECT
public:
    explicit OverviewChart(QWidget *parent = nullptr);

    void setList(const std::vector<OverviewRow> &rows, const QString &title);

    // The values shown in yuan, one list per series (book, adjusted, appraised), in project
    // order; the project labels under the bars; the labels of the value axis.
    std::vector<std::vector<double>> values() const;
    QStringList projects() const;
    QStringList valueLabels() const;
    // An axis value as labelled: whole units with thousands separators.
    static QString axisText(double value);

    // Draws the chart into `target` of a painter (a printed page).
    void paintInto(QPainter &painter, const QRectF &target);

private:
    double m_factor = 1; // yuan per unit of the value axis: 1 or 10,000 (万元)
};

} // namespace vantor
