#pragma once

// Prints one sheet of a workbook page by page with the cell renderer, following the sheet's print
// settings: print range, paper and orientation, margins (mm), scale, row page breaks, and the
// page header and footer texts ("&P" stands for the page number, "&N" for the page count).
// The same pages go to a printer (the print preview's paint request), to a PDF file, or to
// images, which is how they are checked without a printer.

#include "sheet_component/engine/SheetTypes.h"
#include "sheet_component/render/CellRenderer.h"
#include "sheet_component/render/SheetGeometry.h"

#include <QImage>
#include <QPageLayout>
#include <QString>

#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace vantor {

class Workbook;

class SheetPrinter {
public:
    SheetPrinter(const Workbook &workbook, int sheetIndex);

    int pageCount() const { return static_cast<int>(m_pages.size()); }
    // The cells on each page, in print order.
    const std::vector<CellRange> &pages() const { return m_pages; }
    // Paper and orientation; margins are applied by the printer itself, so the layout has none.
    QPageLayout pageLayout() const;

    // Paints page `index` (0-based) onto a painter whose device is one whole sheet of paper at
    // `dpi` device pixels per inch, top-left at the painter's origin.
    void paintPage(QPainter &painter, int index, double dpi);
    // Pages `from` … `to` (1-based, 0: from the first / to the last) to a paged device (a printer
    // or PDF writer) whose page layout is pageLayout() drawn over the full paper.
    void print(QPagedPaintDevice *device, int from = 0, int to = 0);
    // Writes all pages to a PDF file, replacing it only when the whole file was written.
    // Returns false and a message in *error on failure.
    bool exportPdf(const QString &path, QString *error = nullptr);
    // Every page as an image at `dpi` (white paper).
    std::vector<QImage> renderImages(double dpi = 96);

private:
    const Workbook &m_workbook;
    int m_sheet;
    PrintSettings m_settings;
    std::vector<CellRange> m_pages;
    SheetGeometry m_geometry;
    CellRenderer m_renderer;
};

} // namespace vantor
