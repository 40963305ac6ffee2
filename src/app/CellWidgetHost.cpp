#include "app/CellWidgetHost.h"

#include "sheet_component/engine/Selection.h"
#include "sheet_component/widget/CellWidget.h"
#include "sheets/DetailDisplay.h"

namespace vantor {

CellWidgetHost::CellWidgetHost(Selection &selection, QWidget *parent)
    : m_workbook(selection.workbook()), m_widget(std::make_unique<CellWidget>(selection, parent)),
      m_events(std::make_shared<SheetEvents>())
{
    CellWidget *w = m_widget.get();
    w->setColumnStyleRule(&DetailDisplay::columnStyles);
    auto ev = m_events;
    // Direct connections: the refusable signals read the flag as soon as the
    // handlers return.
    QObject::connect(
        w, &CellWidget::mayEdit, w,
        [ev](int col, int row, bool *allowed) {
            if (ev->mayEdit && allowed)
                *allowed = ev->mayEdit(col, row);
        },
        Qt::DirectConnection);
    QObject::connect(
        w, &CellWidget::mayAct, w,
        [ev](int col, int row, bool *allowed) {
            if (ev->mayAct && allowed)
                *allowed = ev->mayAct(col, row);
        },
        Qt::DirectConnection);
    QObject::connect(
        w, &CellWidget::permission, w,
        [ev](bool *allowed) {
            if (ev->permission && allowed)
                *allowed = ev->permission();
        },
        Qt::DirectConnection);
    QObject::connect(w, &CellWidget::textChanged, w, [ev](int col, int row, const QString &text) {
        if (ev->textChanged)
            ev->textChanged(col, row, text.toStdString());
    });
    QObject::connect(w, &CellWidget::activeCellChanged, w, [ev](int oc, int orow, int nc, int nr) {
        if (ev->activeCellChanged)
            ev->activeCellChanged(oc, orow, nc, nr);
    });
    QObject::connect(w, &CellWidget::rightClick, w, [ev](int col, int row, const QPoint &pos) {
        if (ev->rightClick)
            ev->rightClick(col, row, pos);
    });
    QObject::connect(w, &CellWidget::repaintRequest, w, [ev] {
        if (ev->repainted)
            ev->repainted();
    });
    QObject::connect(
        w, &CellWidget::inputToStore, w,
        [ev](int col, int row, QString *text, bool *allowed) {
            if (!ev->inputToStore || !text || !allowed)
                return;
            std::string input = text->toStdString();
            *allowed = ev->inputToStore(col, row, input);
            *text = QString::fromStdString(input);
        },
        Qt::DirectConnection);
    QObject::connect(
        w, &CellWidget::editCommitted, w,
        [ev](int col, int row) {
            if (ev->editCommitted)
                ev->editCommitted(col, row);
        },
        Qt::DirectConnection);
    QObject::connect(
        w, &CellWidget::writeLimit, w,
        [ev](int *lastCol, int *lastRow) {
            if (ev->writeLimit)
                ev->writeLimit(lastCol, lastRow);
        },
        Qt::DirectConnection);
    QObject::connect(
        w, &CellWidget::cellsWritten, w,
        [ev](int c1, int r1, int c2, int r2, int leftOut) {
            if (ev->cellsWritten)
                ev->cellsWritten(c1, r1, c2, r2, leftOut);
        },
        Qt::DirectConnection);
    // The window's menu shortcuts, with their enabling rules, handle the clipboard and undo keys.
    w->setHostShortcuts(true);
}

CellWidgetHost::~CellWidgetHost() = default;

QWidget *CellWidgetHost::widget()
{
    return m_widget.get();
}

void CellWidgetHost::setEvents(SheetEvents events)
{
    *m_events = std::move(events);
}

bool CellWidgetHost::isEditing() const
{
    return m_widget->isEditing();
}
bool CellWidgetHost::endEditing()
{
    return m_widget->endEditing();
}
void CellWidgetHost::cancelEditing()
{
    m_widget->cancelEditing();
}
void CellWidgetHost::DoRedraw()
{
    m_widget->DoRedraw();
}
void CellWidgetHost::DoRefreshLayout()
{
    m_widget->DoRefreshLayout();
}
void CellWidgetHost::DoUndo()
{
    m_widget->DoUndo();
}
void CellWidgetHost::DoRedo()
{
    m_widget->DoRedo();
}
void CellWidgetHost::DoCut()
{
    m_widget->DoCut();
}
void CellWidgetHost::DoCopy()
{
    m_widget->DoCopy();
}
void CellWidgetHost::DoPaste(int col, int row, bool whole)
{
    m_widget->DoPaste(col, row, whole);
}
void CellWidgetHost::DoFind(bool matchCase)
{
    m_widget->DoFind(matchCase);
}
void CellWidgetHost::DoPageSetup()
{
    m_widget->DoPageSetup();
}
void CellWidgetHost::DoPrintPreview(bool modal)
{
    m_widget->DoPrintPreview(modal);
}

} // namespace vantor
