#pragma once

// The printed overview list: the pages of the list sheet, then the chart on a page of its own
// with the same paper. Every way of printing the list (preview, printer, images for checking)
// goes through here.

#include <QImage>

#include <vector>

class QPrinter;
class QWidget;

namespace vantor {

class OverviewChart;
class Workbook;

class OverviewPrinting {
public:
    // Sheet `sheet` of `list` (its print range) and the chart.
    OverviewPrinting(const Workbook &list, int sheet, OverviewChart &chart);

    int pageCount() const;
    void print(QPrinter *printer);
    std::vector<QImage> renderImages(double dpi = 96);
    // The print preview, from which the user prints. Modal.
    void preview(QWidget *parent);

private:
    const Workbook &m_list;
    int m_sheet;
    OverviewChart &m_chart;
};

} // namespace vantor
