#pragma once

// The signatories of every sheet of the current node (评估表基本信息): one grid
// row per sheet with its preparer, appraiser and date. The grid's content and
// rules live in SignatoryTable; the dialog shows it, checks a date cell when
// it is left, fills down, and on OK hands the rows to `store` (the main window
// passes ProjectStore::replaceSignatories for the current node). OK is refused
// while a date cell holds text that is not a date.

#include <QDialog>
#include <QFont>

// moc cannot parse the C++20 library headers these pull in; it needs none of them.
#ifndef Q_MOC_RUN
#include "project/ProjectRecords.h"
#include "project/dialogs/SignatoryTable.h"
#include <chrono>
#include <functional>
#include <vector>
#endif

class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace vantor {

class Prompter;

class dlgSheetProp : public QDialog {
    Q_OBJECT
public:
    using StoreFunction = std::function<void(const std::vector<SheetSignatories> &)>;

    // sheets: ProjectStore::signatorySheets() of the current node.
    dlgSheetProp(const std::vector<SignatorySheet> &sheets, std::chrono::year_month_day today, StoreFunction store,
                 Prompter &prompter, QWidget *parent = nullptr);

    const SignatoryTable &table() const { return m_table; }

    QTableWidget *Cell1;
    QPushButton *cmdFill;
    QPushButton *cmdCopy;
    QPushButton *cmdPaste;
    QPushButton *cmdRight;
    QPushButton *cmdCancel;

public slots:
    void accept() override;
    void fillSelection();

private:
    void cellEdited(QTableWidgetItem *item);
    void showRow(int row);

    SignatoryTable m_table;
    StoreFunction m_store;
    Prompter &m_prompter;
    bool m_showing = false;
    QFont m_captionFont;
};

} // namespace vantor
