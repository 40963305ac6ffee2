#include "app/PlaceholderSheetView.h"

#include "sheet_component/engine/Workbook.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QPainter>

namespace vantor {

namespace {

constexpr int kRowHeaderWidth = 40;
constexpr int kColHeaderHeight = 20;

QString headerName(int col)
{
    QString name;
    for (int c = col; c >= 0; c = c / 26 - 1)
        name.prepend(QChar('A' + c % 26));
    return name;
}

} // namespace

PlaceholderSheetView::PlaceholderSheetView(Workbook &workbook, QWidget *parent)
    : QWidget(parent), m_workbook(workbook)
{
    setObjectName("Cell1");
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    m_workbook.setChangeListener([this](const WorkbookChange &) { update(); });
}

PlaceholderSheetView::~PlaceholderSheetView() { m_workbook.setChangeListener(nullptr); }

void PlaceholderSheetView::DoCut()
{
    DoCopy();
    m_workbook.DoCut();
}

void PlaceholderSheetView::DoCopy()
{
    const CellRange r = m_workbook.DoGetSelection();
    m_workbook.DoCopy();
    if (!r.isEmpty())
        QApplication::clipboard()->setText(
            QString::fromStdString(m_workbook.copyRangeAsText(r.col1, r.row1, r.col2, r.row2)));
}

void PlaceholderSheetView::DoPaste(int col, int row, bool whole)
{
    const QString text = QApplication::clipboard()->text();
    if (m_workbook.hasClipboard())
        m_workbook.DoPaste(col, row, whole);
    else if (!text.isEmpty())
        m_workbook.pasteText(col, row, text.toStdString());
}

bool PlaceholderSheetView::cellAt(const QPoint &pos, int *col, int *row) const
{
    int x = kRowHeaderWidth;
    *col = -1;
    for (int c = 0; c < m_workbook.Cols() && x <= pos.x(); ++c) {
        x += m_workbook.DoGetColWidth(c);
        if (pos.x() < x)
            *col = c;
    }
    int y = kColHeaderHeight;
    *row = -1;
    for (int r = 0; r < m_workbook.Rows() && y <= pos.y(); ++r) {
        y += m_workbook.DoGetRowHeight(r);
        if (pos.y() < y)
            *row = r;
    }
    return *col >= 0 && *row >= 0;
}

void PlaceholderSheetView::mousePressEvent(QMouseEvent *event)
{
    int col = 0;
    int row = 0;
    if (!cellAt(event->position().toPoint(), &col, &row))
        return;
    if (event->button() == Qt::RightButton) {
        if (m_events.rightClick)
            m_events.rightClick(col, row, event->globalPosition().toPoint());
        return;
    }
    if (m_events.mayAct && !m_events.mayAct(col, row))
        return;
    const int oldCol = m_workbook.CurrentCol();
    const int oldRow = m_workbook.CurrentRow();
    m_workbook.DoGotoCell(col, row);
    m_workbook.DoSelectRange(col, row, col, row);
    if (m_events.activeCellChanged && (oldCol != col || oldRow != row))
        m_events.activeCellChanged(oldCol, oldRow, col, row);
    update();
}

void PlaceholderSheetView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor grid(0xd0, 0xd0, 0xd0);
    const QColor header(0xf0, 0xf0, 0xf0);
    p.fillRect(rect(), Qt::white);
    p.fillRect(QRect(0, 0, width(), kColHeaderHeight), header);
    p.fillRect(QRect(0, 0, kRowHeaderWidth, height()), header);

    QFont headerFont = font();
    headerFont.setPointSize(9);
    const int sheet = m_workbook.CurrentSheet();

    // Column headers.
    p.setFont(headerFont);
    int x = kRowHeaderWidth;
    for (int c = 0; c < m_workbook.Cols() && x < width(); ++c) {
        const int w = m_workbook.DoGetColWidth(c);
        QRect cell(x, 0, w, kColHeaderHeight);
        p.setPen(grid);
        p.drawRect(cell.adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        p.drawText(cell, Qt::AlignCenter, headerName(c));
        x += w;
    }

    int y = kColHeaderHeight;
    for (int r = 0; r < m_workbook.Rows() && y < height(); ++r) {
        const int h = m_workbook.DoGetRowHeight(r);
        QRect head(0, y, kRowHeaderWidth, h);
        p.setFont(headerFont);
        p.setPen(grid);
        p.drawRect(head.adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        p.drawText(head, Qt::AlignCenter, QString::number(r + 1));

        x = kRowHeaderWidth;
        for (int c = 0; c < m_workbook.Cols() && x < width(); ++c) {
            const int w = m_workbook.DoGetColWidth(c);
            const QRect cell(x, y, w, h);
            p.setPen(grid);
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            const std::string text = m_workbook.displayText(sheet, c, r);
            if (!text.empty()) {
                const FontSpec spec = m_workbook.DoGetCellFont(c, r);
                const CellFormat &fmt = m_workbook.cellFormat(c, r);
                QFont f(QString::fromStdString(spec.name));
                f.setPointSize(spec.size > 0 ? spec.size : 9);
                f.setBold(fontStyleBold(spec.style));
                f.setItalic(fontStyleItalic(spec.style));
                f.setUnderline(fontStyleUnderline(spec.style));
                p.setFont(f);
                p.setPen(Qt::black);
                int flags = Qt::AlignVCenter;
                if (fmt.alignment == AlignCenter)
                    flags |= Qt::AlignHCenter;
                else if (fmt.alignment == AlignRight || fmt.alignment == AlignRight2)
                    flags |= Qt::AlignRight;
                else
                    flags |= Qt::AlignLeft;
                if (fmt.textStyle == 1)
                    flags |= Qt::TextWordWrap;
                p.drawText(cell.adjusted(3, 1, -3, -1), flags, QString::fromStdString(text));
            }
            x += w;
        }
        y += h;
    }

    // The active cell.
    if (m_workbook.CurrentCol() >= 0 && m_workbook.CurrentRow() >= 0) {
        int cx = kRowHeaderWidth;
        for (int c = 0; c < m_workbook.CurrentCol(); ++c)
            cx += m_workbook.DoGetColWidth(c);
        int cy = kColHeaderHeight;
        for (int r = 0; r < m_workbook.CurrentRow(); ++r)
            cy += m_workbook.DoGetRowHeight(r);
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(cx, cy, m_workbook.DoGetColWidth(m_workbook.CurrentCol()),
                         m_workbook.DoGetRowHeight(m_workbook.CurrentRow())));
    }
}

} // namespace vantor
