#include "app/PaneFocusMark.h"

#include <QEvent>
#include <QPalette>
#include <QRegion>

namespace vantor {

PaneFocusMark::PaneFocusMark(QWidget *parent) : QWidget(parent)
{
    setObjectName("paneFocusMark");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Active, QPalette::Highlight));
    setPalette(pal);
    hide();
}

void PaneFocusMark::follow(QWidget *pane)
{
    if (pane == m_pane)
        return place();
    if (m_pane)
        m_pane->removeEventFilter(this);
    m_pane = pane;
    if (m_pane)
        m_pane->installEventFilter(this);
    place();
}

void PaneFocusMark::place()
{
    if (!m_pane || !m_pane->isVisible()) {
        hide();
        return;
    }
    const QRect area = m_pane->geometry();
    setGeometry(area);
    // Only the ring is part of the mark, so the pane shows through and keeps its clicks.
    const QRect whole(QPoint(0, 0), area.size());
    setMask(QRegion(whole).subtracted(QRegion(whole.adjusted(thickness, thickness, -thickness, -thickness))));
    show();
    raise();
}

bool PaneFocusMark::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pane) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            place();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vantor
