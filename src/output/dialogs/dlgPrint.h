#pragma once

// 打印: asks for the number of data rows per printed page of a detail sheet before it is laid out.
// It starts with the value remembered for the sheet (Rows1, or Rows2 for sheets 40 … 46); 继续
// accepts a value from 25 to 50, remembers it and closes; any other value keeps the dialog open
// (the label under the box names the range). Cancelling or closing leaves the rows at 0.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vantor {

class dlgPrint : public QDialog {
    Q_OBJECT
public:
    explicit dlgPrint(int sheetId, QWidget *parent = nullptr);

    // Rows per page: the confirmed value, 0 until one was confirmed.
    int rowsPerPage() const { return m_rows; }
    QLineEdit *txtRows() const { return m_txtRows; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // Shows the dialog modally; the rows per page, 0 when the user cancelled.
    static int ask(int sheetId, QWidget *parent);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onContinue();

    int m_sheetId;
    int m_rows = 0;
    QLineEdit *m_txtRows;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

} // namespace vantor
