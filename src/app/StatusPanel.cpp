#include "app/StatusPanel.h"

#include <QFontMetrics>

namespace vantor {

StatusPanel::StatusPanel(QWidget *parent) : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void StatusPanel::setFullText(const QString &text)
{
    m_full = text;
    setToolTip(text);
    elide();
}

QSize StatusPanel::minimumSizeHint() const
{
    return QSize(40, QLabel::minimumSizeHint().height());
}

void StatusPanel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void StatusPanel::elide()
{
    const int room = contentsRect().width() - 2 * margin() - 4;
    setText(fontMetrics().elidedText(m_full, Qt::ElideRight, std::max(room, 0)));
}

} // namespace vantor
