#include "app/ProjectTreeView.h"

#include "app/ProjectDocument.h"

#include <QApplication>
#include <QTreeWidget>

namespace vantor {

namespace {

// Sheet captions pad their code to ten characters; a fixed-pitch CJK face lines
// the names up as in the add-sheet dialog.
QFont captionFont(const QTreeWidget *tree)
{
    QFont fixed(QStringLiteral("Noto Sans Mono CJK SC"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSizeF(tree->font().pointSizeF());
    return fixed;
}

// Detail sheets ("b" keys) form a flat list; project nodes ("p" keys) a tree.
bool isSheetKey(const std::string &key)
{
    return !key.empty() && key.front() == 'b';
}

} // namespace

ProjectTreeView::ProjectTreeView(ProjectDocument &document, QTreeWidget *tree)
    : QObject(tree), m_document(document), m_tree(tree)
{
    connect(&document, &ProjectDocument::treeReset, this, [this] { rebuild(); });
    connect(&document, &ProjectDocument::entryInserted, this, [this](const std::string &key) { insert(key); });
    connect(&document, &ProjectDocument::entryRemoved, this, [this](const std::string &key) { remove(key); });
    connect(&document, &ProjectDocument::entryRenamed, this, [this](const std::string &key) { rename(key); });
    connect(&document, &ProjectDocument::currentEntryChanged, this,
            [this](const std::string &key) { showCurrent(key); });
    connect(tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (item)
            emit activated(keyOf(item));
    });
    connect(tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *item) { onWidgetCurrentChanged(item); });
}

std::string ProjectTreeView::keyOf(const QTreeWidgetItem *item) const
{
    for (const auto &[key, it] : m_items)
        if (it == item)
            return key;
    return {};
}

QTreeWidgetItem *ProjectTreeView::item(const std::string &key) const
{
    auto it = m_items.find(key);
    return it == m_items.end() ? nullptr : it->second;
}

QTreeWidgetItem *ProjectTreeView::makeItem(const std::string &key)
{
    const TreeEntry *e = m_document.entry(key);
    auto *made = new QTreeWidgetItem(QStringList{QString::fromStdString(e->text)});
    if (isSheetKey(key))
        made->setFont(0, captionFont(m_tree));
    m_items[key] = made;
    return made;
}

void ProjectTreeView::rebuild()
{
    m_syncing = true;
    m_tree->setUpdatesEnabled(false);
    m_tree->clear();
    m_items.clear();
    bool flat = true;
    for (const TreeEntry &e : m_document.treeEntries()) {
        flat = flat && isSheetKey(e.key);
        QTreeWidgetItem *made = makeItem(e.key);
        if (QTreeWidgetItem *parent = item(e.parentKey))
            parent->addChild(made);
        else
            m_tree->addTopLevelItem(made);
    }
    // A flat list needs no room for branch marks; project nodes open fully.
    if (!m_document.treeEntries().empty())
        m_tree->setRootIsDecorated(!flat);
    if (!flat)
        m_tree->expandAll();
    m_tree->setUpdatesEnabled(true);
    m_syncing = false;
}

void ProjectTreeView::insert(const std::string &key)
{
    m_syncing = true;
    const TreeEntry *e = m_document.entry(key);
    QTreeWidgetItem *parent = item(e->parentKey);
    // The position among its siblings, as the document keeps them.
    int at = 0;
    for (const TreeEntry &other : m_document.treeEntries()) {
        if (other.key == key)
            break;
        if (other.parentKey == e->parentKey && item(other.key))
            ++at;
    }
    QTreeWidgetItem *made = makeItem(key);
    if (parent) {
        parent->insertChild(at, made);
        parent->setExpanded(true);
    } else {
        m_tree->insertTopLevelItem(at, made);
    }
    m_syncing = false;
}

void ProjectTreeView::remove(const std::string &key)
{
    QTreeWidgetItem *gone = item(key);
    if (!gone)
        return;
    m_syncing = true;
    for (auto it = m_items.begin(); it != m_items.end();) {
        bool under = false;
        for (QTreeWidgetItem *p = it->second; p && !under; p = p->parent())
            under = p == gone;
        it = under ? m_items.erase(it) : std::next(it);
    }
    delete gone; // takes its children along
    m_syncing = false;
}

void ProjectTreeView::rename(const std::string &key)
{
    if (QTreeWidgetItem *it = item(key))
        it->setText(0, QString::fromStdString(m_document.entry(key)->text));
}

void ProjectTreeView::showCurrent(const std::string &key)
{
    m_syncing = true;
    m_tree->setCurrentItem(item(key));
    m_syncing = false;
}

void ProjectTreeView::onWidgetCurrentChanged(QTreeWidgetItem *current)
{
    if (m_syncing)
        return;
    const std::string key = keyOf(current);
    m_document.setCurrentEntry(key);
    // The keyboard moves the current entry as a click does; a mouse press does so
    // before its click arrives.
    if (current && !m_handling && m_tree->hasFocus() && QApplication::mouseButtons() == Qt::NoButton)
        emit activated(key);
}

} // namespace vantor
