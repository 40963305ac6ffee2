#pragma once

// The overview window (按资产类别查询): the tree of lists on the left, the chosen list as a
// sheet and its bar chart beside it. All figures come from a snapshot read when the window
// opens; the window is modeless, rebuilt each time it opens, and closes itself when the user
// turns to another window (not while its own preview or page set-up is up).

// moc cannot read the standard library's concepts header that Amount pulls in.
#ifndef Q_MOC_RUN
#include "output/OverviewList.h"
#endif
#include "sheet_component/engine/Workbook.h"

#include <QWidget>

class QAction;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace vantor {

class CellWidget;
class OverviewChart;

class frmQuery : public QWidget {
    Q_OBJECT
public:
    static constexpr const char *Caption = "按资产类别查询";
    static constexpr int keyRole = Qt::UserRole + 1;

    explicit frmQuery(OverviewSnapshot snapshot, QWidget *parent = nullptr);
    ~frmQuery() override;

    // As a click on the entry with this key: fills the list and the chart.
    void choose(const QString &key);

    void printPreview();
    void pageSetup();

    QTreeWidget *tree() const { return m_tree; }
    QLabel *titleLabel() const { return m_title; }
    const Workbook &list() const { return m_list; }
    OverviewChart *chart() const { return m_chart; }
    QAction *action(const QString &text) const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildTree();

    OverviewSnapshot m_data;
    Workbook m_list;
    QTreeWidget *m_tree = nullptr;
    QLabel *m_title = nullptr;
    CellWidget *m_cell = nullptr;
    OverviewChart *m_chart = nullptr;
    bool m_dialogOpen = false;
};

} // namespace vantor
