#pragma once

// The find dialog of the sheet view: a text, a match-case box and "find next". It asks the
// workbook for the next cell whose shown text contains the text, starting after the current cell
// and wrapping round, and hands the hit to the view, which makes it current.

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace vantor {

class Selection;

class FindDialog : public QDialog {
    Q_OBJECT
public:
    FindDialog(Selection &selection, QWidget *parent = nullptr);

    void setMatchCase(bool matchCase);
    QLineEdit *textEdit() const { return m_text; }
    QLabel *statusLabel() const { return m_status; }

    // Finds the next match; true when one was found and shown.
    bool findNext();

signals:
    void found(int col, int row);

private:
    Selection &m_selection;
    QLineEdit *m_text;
    QCheckBox *m_matchCase;
    QLabel *m_status;
};

} // namespace vantor
