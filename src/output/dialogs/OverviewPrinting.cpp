#include "output/dialogs/OverviewPrinting.h"

#include "output/dialogs/OverviewChart.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/PdfFile.h"
#include "sheet_component/render/PrintPagination.h"
#include "sheet_component/render/SheetPrinter.h"

#include "sheet_component/widget/PrintPreview.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace vantor {

namespace {

// The chart inside the sheet's margins on a sheet of paper `paper` device pixels large.
void paintChartPage(QPainter &painter, OverviewChart &chart, const PrintSettings &settings, QSizeF paper, double dpi)
{
    const double mm = dpi / 25.4;
    const auto &m = settings.margins;
    const QRectF area(m[0] * mm, m[1] * mm, paper.width() - (m[0] + m[2]) * mm, paper.height() - (m[1] + m[3]) * mm);
    // Not taller than a landscape half page: a bar chart stretched over portrait paper reads badly.
    const QRectF target(area.topLeft(), QSizeF(area.width(), std::min(area.height(), area.width() * 0.75)));
    chart.paintInto(painter, target);
}

} // namespace

OverviewPrinting::OverviewPrinting(const Workbook &list, int sheet, OverviewChart &chart)
    : m_list(list), m_sheet(sheet), m_chart(chart)
{
}

int OverviewPrinting::pageCount() const
{
    return SheetPrinter(m_list, m_sheet).pageCount() + 1;
}

void OverviewPrinting::print(QPagedPaintDevice *device, int from, int to)
{
    SheetPrinter pages(m_list, m_sheet);
    const int count = pages.pageCount() + 1;
    const int first = from > 0 ? from : 1;
    const int last = to > 0 ? std::min(to, count) : count;
    QPainter painter;
    if (!painter.begin(device))
        return;
    const double dpi = device->logicalDpiX();
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device->newPage();
        if (page <= pages.pageCount())
            pages.paintPage(painter, page - 1, dpi);
        else
            paintChartPage(painter, m_chart, m_list.printSettings(m_sheet),
                           device->pageLayout().fullRectPixels(static_cast<int>(dpi)).size(), dpi);
    }
    painter.end();
}

bool OverviewPrinting::exportPdf(const QString &path, QString *error)
{
    return PdfFile::write(
        path, SheetPrinter(m_list, m_sheet).pageLayout(),
        [this](QPdfWriter &writer) {
            print(&writer);
            return true;
        },
        error);
}

std::vector<QImage> OverviewPrinting::renderImages(double dpi)
{
    SheetPrinter pages(m_list, m_sheet);
    std::vector<QImage> images = pages.renderImages(dpi);
    const PrintSettings &settings = m_list.printSettings(m_sheet);
    const QSizeF paper = PrintPagination::paperSizeMm(settings.paperSize, settings.landscape) / 25.4 * dpi;
    QImage chartPage(paper.toSize(), QImage::Format_RGB32);
    chartPage.fill(Qt::white);
    QPainter painter(&chartPage);
    paintChartPage(painter, m_chart, settings, paper, dpi);
    painter.end();
    images.push_back(std::move(chartPage));
    return images;
}

void OverviewPrinting::preview(QWidget *parent)
{
    PrintPreview::exec(
        SheetPrinter(m_list, m_sheet).pageLayout(),
        [this](QPagedPaintDevice *device, int from, int to) { print(device, from, to); },
        [this](const QString &path, QString *error) { return exportPdf(path, error); }, parent);
}

} // namespace vantor
