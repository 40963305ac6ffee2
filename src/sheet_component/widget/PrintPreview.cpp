#include "sheet_component/widget/PrintPreview.h"

#include "sheet_component/render/SheetPrinter.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

namespace vantor {

void PrintPreview::exec(const QPageLayout &layout, const Paint &paint, const SavePdf &savePdf, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    // Full page after the layout: setting a layout resets it. Margins are drawn by the painter.
    printer.setPageLayout(layout);
    printer.setFullPage(true);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter *p) { paint(p, p->fromPage(), p->toPage()); });
    if (auto *bar = dialog.findChild<QToolBar *>(); bar && savePdf) {
        QAction *pdf = bar->addAction(QStringLiteral("存为PDF"));
        pdf->setObjectName(QStringLiteral("savePdf"));
        pdf->setToolTip(QStringLiteral("将打印页面保存为PDF文件"));
        QObject::connect(pdf, &QAction::triggered, &dialog, [&dialog, &savePdf] {
            const QString path = QFileDialog::getSaveFileName(&dialog, QStringLiteral("存为PDF"), QString(),
                                                              QStringLiteral("PDF文件 (*.pdf)"));
            if (path.isEmpty())
                return;
            QString error;
            if (!savePdf(path, &error))
                QMessageBox::critical(&dialog, QStringLiteral("存为PDF"), error);
        });
    }
    dialog.resize(900, 700);
    dialog.exec();
}

void PrintPreview::exec(const Workbook &workbook, int sheet, QWidget *parent)
{
    SheetPrinter pages(workbook, sheet);
    exec(
        pages.pageLayout(), [&pages](QPagedPaintDevice *device, int from, int to) { pages.print(device, from, to); },
        [&pages](const QString &path, QString *error) { return pages.exportPdf(path, error); }, parent);
}

} // namespace vantor
