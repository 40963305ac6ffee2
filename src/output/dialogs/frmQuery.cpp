#include "output/dialogs/frmQuery.h"

#include "output/dialogs/OverviewChart.h"
#include "output/dialogs/OverviewPrinting.h"
#include "sheet_component/widget/CellWidget.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <map>

namespace vantor {

namespace {

// Clears a flag when a dialog of the window closes, however it closes.
class DialogScope {
public:
    explicit DialogScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~DialogScope() { m_flag = false; }
    DialogScope(const DialogScope &) = delete;
    DialogScope &operator=(const DialogScope &) = delete;

private:
    bool &m_flag;
};

} // namespace

frmQuery::frmQuery(OverviewSnapshot snapshot, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(std::move(snapshot))
{
    setWindowTitle(QString::fromUtf8(Caption));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *menu = new QMenuBar(this);
    menu->addAction(QStringLiteral("打印预览"), this, &frmQuery::printPreview);
    QAction *printer = menu->addAction(QStringLiteral("打印设置"));
    // The printer is chosen in the preview, from which the list is printed.
    printer->setEnabled(false);
    printer->setToolTip(QStringLiteral("在打印预览中选择打印机"));
    menu->addAction(QStringLiteral("页面设置"), this, &frmQuery::pageSetup);
    menu->addAction(QStringLiteral(">>关闭<<"), this, &QWidget::close);

    m_tree = new QTreeWidget;
    m_tree->setHeaderHidden(true);
    m_tree->setObjectName(QStringLiteral("tvwSht"));
    m_title = new QLabel;
    m_title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = m_title->font();
    titleFont.setPointSize(titleFont.pointSize() + 3);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_title->setAlignment(Qt::AlignCenter);

    m_list.setSheetLabel(0, "list");
    OverviewList::BuildOverview(m_list, m_data.nodeCount, m_data.unit);
    m_list.SetReadOnly(true);
    m_cell = new CellWidget(m_list);
    m_chart = new OverviewChart;
    m_chart->setList({}, QString());

    auto *listPane = new QWidget;
    auto *listLayout = new QVBoxLayout(listPane);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(m_title);
    listLayout->addWidget(m_cell, 1);

    auto *split = new QSplitter(Qt::Horizontal);
    split->addWidget(m_tree);
    split->addWidget(listPane);
    split->addWidget(m_chart);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 3);
    split->setStretchFactor(2, 2);
    split->setSizes({220, 620, 440});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menu);
    layout->addWidget(split);

    buildTree();
    connect(m_tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { choose(item->data(0, keyRole).toString()); });

    if (QScreen *screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size() * 0.9);
}

frmQuery::~frmQuery() = default;

void frmQuery::buildTree()
{
    std::map<std::string, QTreeWidgetItem *> items;
    for (const OverviewTreeEntry &entry : m_data.tree) {
        const QString text = QString::fromStdString(entry.text);
        const auto parent = items.find(entry.parent);
        auto *item = parent != items.end() ? new QTreeWidgetItem(parent->second, QStringList{text})
                                           : new QTreeWidgetItem(m_tree, QStringList{text});
        item->setData(0, keyRole, QString::fromStdString(entry.key));
        items[entry.key] = item;
    }
    m_tree->expandToDepth(1);
}

void frmQuery::choose(const QString &key)
{
    const std::string k = key.toStdString();
    const auto list = m_data.lists.find(k);
    if (list == m_data.lists.end())
        return;
    QString text;
    for (const OverviewTreeEntry &entry : m_data.tree)
        if (entry.key == k)
            text = QString::fromStdString(entry.text);
    m_title->setText(text);
    OverviewList::FillOverview(m_list, list->second, text.toStdString());
    m_chart->setList(list->second, text);
}

QAction *frmQuery::action(const QString &text) const
{
    for (QAction *a : findChild<QMenuBar *>()->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

void frmQuery::printPreview()
{
    DialogScope scope(m_dialogOpen);
    // The print range is the whole list; it changes with the node count only.
    m_list.DoSetPrintRange(0, OverviewList::Cols - 1, 0, m_list.Rows() - 1);
    OverviewPrinting(m_list, m_list.CurrentSheet(), *m_chart).preview(this);
}

void frmQuery::pageSetup()
{
    DialogScope scope(m_dialogOpen);
    m_cell->DoPageSetup();
}

void frmQuery::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isVisible() || isActiveWindow() || m_dialogOpen)
        return;
    // Another window of the program took over (not another program: then no window of ours
    // has the focus). Closed from the event loop, as the deactivating event may still use it.
    if (!QApplication::activeWindow())
        return;
    QTimer::singleShot(0, this, [this] {
        if (!isActiveWindow() && !m_dialogOpen && QApplication::activeWindow())
            close();
    });
}

} // namespace vantor
