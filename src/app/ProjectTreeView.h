#pragma once

// The project tree widget (tvTreeView) as a view of the document's tree entries: it
// rebuilds, inserts, removes and renames its items as the document announces, and
// shows the document's current entry. The user's choice of an entry — a click, or
// the keyboard moving the current entry — is reported by activated(); the entry
// becomes the document's current one as soon as the widget makes it current.

#include <QObject>

#include <map>
#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace vantor {

class ProjectDocument;

class ProjectTreeView : public QObject {
    Q_OBJECT
public:
    ProjectTreeView(ProjectDocument &document, QTreeWidget *tree);

    QTreeWidget *widget() const { return m_tree; }
    QTreeWidgetItem *item(const std::string &key) const;
    // While the program handles an entry the user chose, the keyboard chooses none.
    void setHandling(bool handling) { m_handling = handling; }

signals:
    void activated(const std::string &key);

private:
    QTreeWidgetItem *makeItem(const std::string &key);
    void rebuild();
    void insert(const std::string &key);
    void remove(const std::string &key);
    void rename(const std::string &key);
    void showCurrent(const std::string &key);
    void onWidgetCurrentChanged(QTreeWidgetItem *item);
    std::string keyOf(const QTreeWidgetItem *item) const;

    ProjectDocument &m_document;
    QTreeWidget *m_tree;
    std::map<std::string, QTreeWidgetItem *> m_items;
    bool m_syncing = false; // the widget changes because the document did
    bool m_handling = false;
};

} // namespace vantor
