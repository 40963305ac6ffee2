#include "output/dialogs/frmProgres.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vantor {

// No parent widget: disabling the main window would disable its child windows too and draw this
// window's texts greyed.
frmProgres::frmProgres(QWidget *mainWindow)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint), m_mainWindow(mainWindow)
{
    setWindowTitle(QStringLiteral("请稍候..."));
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto *layout = new QVBoxLayout(this);
    auto *frame = new QFrame;
    frame->setFrameShape(QFrame::Box);
    frame->setFixedSize(BarWidth + 4, 20);
    m_bar = new QFrame(frame);
    m_bar->setGeometry(2, 2, 0, 16);
    m_bar->setAutoFillBackground(true);
    QPalette palette = m_bar->palette();
    palette.setColor(QPalette::Window, QColor(0, 0, 160));
    m_bar->setPalette(palette);
    layout->addWidget(frame);
    m_info0 = new QLabel;
    layout->addWidget(m_info0);
    auto *line = new QHBoxLayout;
    line->addWidget(new QLabel(QStringLiteral("大约花费约3分钟，已完成")));
    m_info1 = new QLabel;
    line->addWidget(m_info1);
    line->addStretch();
    layout->addLayout(line);
}

frmProgres::~frmProgres()
{
    finished();
}

void frmProgres::ShowProgress(double step, const std::string &text)
{
    if (!isVisible()) {
        if (m_mainWindow) {
            m_mainWindow->setEnabled(false);
            adjustSize();
            move(m_mainWindow->window()->geometry().center() - rect().center());
        }
        show();
    }
    const double clamped = std::clamp(step, 0.0, 10.0);
    m_bar->setFixedWidth(static_cast<int>(std::lround(clamped * BarWidth / 10.0)));
    m_info0->setText(QString::fromStdString(text));
    m_info1->setText(QString::fromStdString(PrintProgress::percentText(step)));
    // The layout runs on this thread: let the window repaint now.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmProgres::finished()
{
    hide();
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
}

int frmProgres::barWidth() const
{
    return m_bar->width();
}

QString frmProgres::stepText() const
{
    return m_info0->text();
}

QString frmProgres::percentText() const
{
    return m_info1->text();
}

} // namespace vantor
