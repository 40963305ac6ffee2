#pragma once

// The print preview window: the pages of a printed form at the printer's resolution, printed from
// here, with 存为PDF to write the same pages to a PDF file. The sheet view, the print command
// (its form lives in a scratch workbook) and the overview window all preview through it.

#include <QPageLayout>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace vantor {

class Workbook;

class PrintPreview {
public:
    // Paints pages `from` … `to` (1-based, 0: first / last) onto the device.
    using Paint = std::function<void(QPagedPaintDevice *device, int from, int to)>;
    // Writes every page to the PDF file; false and a message on failure.
    using SavePdf = std::function<bool(const QString &path, QString *error)>;

    // Modal.
    static void exec(const QPageLayout &layout, const Paint &paint, const SavePdf &savePdf, QWidget *parent);
    // The pages of sheet `sheet` of `workbook` as its print settings lay them out.
    static void exec(const Workbook &workbook, int sheet, QWidget *parent);
};

} // namespace vantor
