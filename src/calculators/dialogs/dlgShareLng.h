#pragma once

// The small number-entry dialog: a caption, a prompt, a text box taking only digits with an
// up-down pair bounded by the caller's minimum and maximum, and OK and Cancel. The rules of
// the box are NumberEntryRules; OK hands back the number, Cancel 0.

#include "sheets/DetailEditCommands.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vantor {

class dlgShareLng : public QDialog {
    Q_OBJECT
public:
    explicit dlgShareLng(const NumberRequest &request, QWidget *parent = nullptr);

    // The number entered after OK, 0 after Cancel (or before the dialog closed).
    int value() const { return m_value; }
    // Shows the dialog modally: the number entered, 0 when cancelled. Fits NumberEntry.
    static int ask(const NumberRequest &request, QWidget *parent);

    QLabel *lblNote;
    QLabel *Label1;
    QLineEdit *txtBox;
    QToolButton *UpDown1Up;
    QToolButton *UpDown1Down;
    QPushButton *cmdSele[2];

public slots:
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void textChanged();
    void step(int delta);

    int m_minimum;
    int m_maximum;
    int m_value = 0;
    bool m_adjusting = false;
};

} // namespace vantor
