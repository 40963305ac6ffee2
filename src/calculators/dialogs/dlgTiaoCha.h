#pragma once

// 材料调差计算: asks for the total material cost variance and spreads it over the selected
// rows of an inventory detail sheet (MaterialAdjustment). The box takes digits and the
// decimal point only. OK runs the adjustment and closes; when the text is not a number the
// user is told so and the dialog stays open for a correction.

// Qt's header first: moc cannot read <compare> (through Amount.h) before Qt's own headers.
#include <QDialog>

#include "calculators/MaterialAdjustment.h"
#include "sheet_component/engine/SheetTypes.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vantor {

class Prompter;
class Workbook;

class dlgTiaoCha : public QDialog {
    Q_OBJECT
public:
    // Works on the workbook's current sheet, the detail sheet of kind `id`.
    dlgTiaoCha(Workbook &workbook, int id, const CellRange &selection, Prompter &prompter, bool freezeHeadings,
               QWidget *parent = nullptr);

    // What the last OK did; NothingSelected until then.
    MaterialAdjustment::Outcome outcome() const { return m_outcome; }

    QLineEdit *Text1;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Workbook &m_workbook;
    int m_id;
    CellRange m_selection;
    Prompter &m_prompter;
    bool m_freeze;
    MaterialAdjustment::Outcome m_outcome = MaterialAdjustment::Outcome::NothingSelected;
};

} // namespace vantor
