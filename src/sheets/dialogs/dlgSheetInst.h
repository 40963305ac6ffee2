#pragma once

// The add-sheet dialog: lists the detail-sheet kinds 11 … 77 the project does not hold
// yet, each under its caption (code in a ten-character field, then the name), and
// returns the one the user picks. OK does nothing until a kind is picked. The main
// window writes the totals of the sheet it shows before opening the dialog, and after
// OK runs AddSheetCommand with selectedId(), selectedCode() and selectedName().

#include <QDialog>

#include <string>
#include <vector>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vantor {

class dlgSheetInst : public QDialog {
    Q_OBJECT
public:
    // existingKeys: the keys ("b" + id) of the entries of the main window's sheet tree.
    explicit dlgSheetInst(const std::vector<std::string> &existingKeys, QWidget *parent = nullptr);

    // 0 while nothing is picked.
    int selectedId() const { return m_id; }
    const std::string &selectedCode() const { return m_code; }
    const std::string &selectedName() const { return m_name; }

    QTreeWidget *tvw_Sheets;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;

public slots:
    void accept() override;

private slots:
    void pick(QTreeWidgetItem *item);

private:
    int m_id = 0;
    std::string m_code;
    std::string m_name;
};

} // namespace vantor
