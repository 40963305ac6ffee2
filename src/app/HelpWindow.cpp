#include "app/HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>

namespace vantor {

HelpWindow::HelpWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName("HelpWindow");
    setWindowTitle(QStringLiteral("Vantor 帮助"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto *splitter = new QSplitter(this);
    m_contents = new QListWidget(splitter);
    m_contents->setObjectName("helpContents");
    m_browser = new QTextBrowser(splitter);
    m_browser->setObjectName("helpBrowser");
    m_browser->setOpenLinks(true);
    // Links to other sites are not followed inside the program.
    m_browser->setOpenExternalLinks(false);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 640});
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
    connect(m_contents, &QListWidget::currentRowChanged, this, [this](int row) {
        if (QListWidgetItem *item = m_contents->item(row))
            m_browser->scrollToAnchor(item->data(Qt::UserRole).toString());
    });
    resize(880, 640);
}

bool HelpWindow::showDocument(const QUrl &url)
{
    QFile file(url.toLocalFile());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    m_browser->setSearchPaths({QFileInfo(file).absolutePath()});
    m_browser->setSource(url);
    fillContents();
    return true;
}

void HelpWindow::fillContents()
{
    m_contents->clear();
    // The chapters are the document's second-level headings that carry an id.
    static const QRegularExpression heading(QStringLiteral("<h2[^>]*id=\"([^\"]+)\"[^>]*>([^<]*)<"));
    QFile file(m_browser->source().toLocalFile());
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = QString::fromUtf8(file.readAll());
    for (auto it = heading.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        auto *item = new QListWidgetItem(m.captured(2).trimmed(), m_contents);
        item->setData(Qt::UserRole, m.captured(1));
    }
}

} // namespace vantor
