#include "output/dialogs/OverviewPrinting.h"

#include "output/dialogs/OverviewChart.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/PrintPagination.h"
#include "sheet_component/render/SheetPrinter.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace vantor {

namespace {

// The chart inside the sheet's margins on a sheet of paper `paper` device pixels large.
void paintChartPage(QPainter &painter, OverviewChart &chart, const PrintSettings &settings, QSizeF paper,
                    double dpi)
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

void OverviewPrinting::print(QPrinter *printer)
{
    SheetPrinter pages(m_list, m_sheet);
    QPainter painter;
    if (!painter.begin(printer))
        return;
    const double dpi = printer->resolution();
    for (int i = 0; i < pages.pageCount(); ++i) {
        if (i > 0)
            printer->newPage();
        pages.paintPage(painter, i, dpi);
    }
    if (pages.pageCount() > 0)
        printer->newPage();
    paintChartPage(painter, m_chart, m_list.printSettings(m_sheet),
                   printer->pageLayout().fullRectPixels(printer->resolution()).size(), dpi);
    painter.end();
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
    SheetPrinter layout(m_list, m_sheet);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(layout.pageLayout());
    printer.setFullPage(true);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this](QPrinter *p) { print(p); });
    dialog.resize(900, 700);
    dialog.exec();
}

} // namespace vantor
