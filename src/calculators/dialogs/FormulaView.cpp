#include "calculators/dialogs/FormulaView.h"

#include <QFontMetrics>
#include <QPainter>

namespace vantor {

namespace {

constexpr int kMargin = 8;
constexpr int kBarPadding = 4;

} // namespace

FormulaView::FormulaView(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void FormulaView::setTerms(std::vector<FormulaTerm> terms)
{
    m_terms = std::move(terms);
    updateGeometry();
    update();
}

int FormulaView::termWidth(const FormulaTerm &term) const
{
    const QFontMetrics fm(font());
    const int top = fm.horizontalAdvance(QString::fromStdString(term.text));
    if (term.denominator.empty())
        return top;
    return std::max(top, fm.horizontalAdvance(QString::fromStdString(term.denominator))) + 2 * kBarPadding;
}

QSize FormulaView::sizeHint() const
{
    const QFontMetrics fm(font());
    int width = 2 * kMargin;
    for (const FormulaTerm &term : m_terms)
        width += termWidth(term);
    // Two text lines and the bar between them.
    return {width, 2 * fm.height() + 6 + 2 * kMargin};
}

void FormulaView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics fm(font());
    const int middle = height() / 2;
    int x = kMargin;
    for (const FormulaTerm &term : m_terms) {
        const int w = termWidth(term);
        const QString top = QString::fromStdString(term.text);
        if (term.denominator.empty()) {
            painter.drawText(QRect(x, middle - fm.height() / 2, w, fm.height()), Qt::AlignCenter, top);
        } else {
            painter.drawText(QRect(x, middle - 2 - fm.height(), w, fm.height()), Qt::AlignCenter, top);
            painter.drawLine(x + 1, middle, x + w - 2, middle);
            painter.drawText(QRect(x, middle + 2, w, fm.height()), Qt::AlignCenter,
                             QString::fromStdString(term.denominator));
        }
        x += w;
    }
}

} // namespace vantor
