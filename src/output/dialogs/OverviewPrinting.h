#pragma once

// The printed overview list: the pages of the list sheet, then the chart on a page of its own
// with the same paper. Every way of printing the list (preview, printer, images for checking)
// goes through here.

#include <QImage>

#include <vector>

class QPagedPaintDevice;
class QString;
class QWidget;

namespace vantor {

class OverviewChart;
class Workbook;

class OverviewPrinting {
public:
    // Sheet `sheet` of `list` (its print range) and the chart.
    OverviewPrinting(const Workbook &list, int sheet, OverviewChart &chart);

    int pageCount() const;
    // Pages `from` … `to` (1-based, 0: first / last) to a printer or PDF writer.
    void print(QPagedPaintDevice *device, int from = 0, int to = 0);
    // Every page to a PDF file, replaced only when the whole file was written.
    bool exportPdf(const QString &path, QString *error);
    std::vector<QImage> renderImages(double dpi = 96);
    // The print preview, from which the user prints. Modal.
    void preview(QWidget *parent);

private:
    const Workbook &m_list;
    int m_sheet;
    OverviewChart &m_chart;
};

} // namespace vantor
