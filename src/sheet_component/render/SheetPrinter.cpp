#include "sheet_component/render/SheetPrinter.h"

#include "sheet_component/engine/PaperSizes.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/CellFonts.h"
#include "sheet_component/render/PdfFile.h"
#include "sheet_component/render/PrintPagination.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace vantor {

namespace {

constexpr double kPixelsPerMm = PaperSizes::PixelsPerMm;

QString pageText(const std::string &text, int page, int count)
{
    QString s = QString::fromStdString(text);
    s.replace(QLatin1String("&P"), QString::number(page));
    s.replace(QLatin1String("&N"), QString::number(count));
    return s;
}

} // namespace

SheetPrinter::SheetPrinter(const Workbook &workbook, int sheetIndex)
    : m_workbook(workbook), m_sheet(sheetIndex), m_settings(workbook.printSettings(sheetIndex)), m_renderer(workbook)
{
    const Sheet &sheet = workbook.sheet(sheetIndex);
    m_geometry.rebuild(sheet);
    m_pages = PrintPagination::pages(sheet, m_settings);
}

QPageLayout SheetPrinter::pageLayout() const
{
    const QSizeF mm = PrintPagination::paperSizeMm(m_settings.paperSize, false);
    const QPageSize size(mm, QPageSize::Millimeter);
    return QPageLayout(size, m_settings.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void SheetPrinter::paintPage(QPainter &p, int index, double dpi)
{
    if (index < 0 || index >= pageCount())
        return;
    const CellRange &cells = m_pages[static_cast<std::size_t>(index)];
    const auto &margins = m_settings.margins; // left, top, right, bottom
    const QSizeF paper = PrintPagination::paperSizeMm(m_settings.paperSize, m_settings.landscape) * kPixelsPerMm;
    const double scale = std::clamp(m_settings.scale, 10, 400) / 100.0;

    p.save();
    p.scale(dpi / 96.0, dpi / 96.0);

    // Header and footer sit in the middle of the top and bottom margins.
    const double left = margins[0] * kPixelsPerMm;
    const double width = paper.width() - (margins[0] + margins[2]) * kPixelsPerMm;
    p.setFont(CellFonts::makeFont(FontSpec{"宋体", 9, 0}));
    p.setPen(Qt::black);
    auto band = [&](const PageTexts &texts, double centreY) {
        const QRectF rect(left, centreY - 10, width, 20);
        p.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, pageText(texts.left, index + 1, pageCount()));
        p.drawText(rect, Qt::AlignHCenter | Qt::AlignVCenter, pageText(texts.centre, index + 1, pageCount()));
        p.drawText(rect, Qt::AlignRight | Qt::AlignVCenter, pageText(texts.right, index + 1, pageCount()));
    };
    band(m_settings.header, margins[1] * kPixelsPerMm / 2);
    band(m_settings.footer, paper.height() - margins[3] * kPixelsPerMm / 2);

    RenderOptions options;
    options.showGrid = false;
    options.showHeaders = false;
    options.lockedBackground = false;
    options.fillBackground = false;
    options.shrinkNumbers = true;
    // The print preview records pages as pictures and shows them scaled down.
    options.smoothLines = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Picture;
    options.zoom = scale;
    // The table sits in the middle of the paper across, never left of the left margin.
    const double tableWidth = (m_geometry.colX(cells.col2 + 1) - m_geometry.colX(cells.col1)) * scale;
    const double x = std::max(left, (paper.width() - tableWidth) / 2);
    // Two pixels of slack round the cells keep the outer border lines, which lie on the cell
    // boundaries and may round outwards at low resolutions.
    const QRectF clip(x - 2, margins[1] * kPixelsPerMm - 2, tableWidth + 4,
                      (m_geometry.rowY(cells.row2 + 1) - m_geometry.rowY(cells.row1)) * scale + 4);
    p.setClipRect(clip);
    m_renderer.paintCells(p, m_sheet, m_geometry, cells, QPointF(x, margins[1] * kPixelsPerMm), options);
    p.restore();
}

void SheetPrinter::print(QPagedPaintDevice *device, int from, int to)
{
    QPainter painter;
    if (!painter.begin(device))
        return;
    const int first = from > 0 ? from - 1 : 0;
    const int last = to > 0 ? std::min(to, pageCount()) - 1 : pageCount() - 1;
    for (int i = first; i <= last; ++i) {
        if (i > first)
            device->newPage();
        paintPage(painter, i, device->logicalDpiX());
    }
    painter.end();
}

bool SheetPrinter::exportPdf(const QString &path, QString *error)
{
    return PdfFile::write(
        path, pageLayout(),
        [this](QPdfWriter &writer) {
            QPainter painter;
            if (!painter.begin(&writer))
                return false;
            for (int i = 0; i < std::max(pageCount(), 1); ++i) {
                if (i > 0)
                    writer.newPage();
                paintPage(painter, i, writer.resolution());
            }
            return painter.end();
        },
        error);
}

std::vector<QImage> SheetPrinter::renderImages(double dpi)
{
    std::vector<QImage> images;
    const QSizeF paper = PrintPagination::paperSizeMm(m_settings.paperSize, m_settings.landscape) / 25.4 * dpi;
    for (int i = 0; i < pageCount(); ++i) {
        QImage image(paper.toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        paintPage(painter, i, dpi);
        painter.end();
        images.push_back(std::move(image));
    }
    return images;
}

} // namespace vantor
