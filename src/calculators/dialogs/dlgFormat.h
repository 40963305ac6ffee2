#pragma once

// 单元格式: protection, number type, zero display, appearance and text style for the selected
// cells, on three tabs. Only the groups the user picked are applied (CellFormatChoice).

#include "calculators/CellFormatChoice.h"
#include "sheet_component/engine/SheetTypes.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace vantor {

class Workbook;

class dlgFormat : public QDialog {
    Q_OBJECT
public:
    // Applies to `selection` of the workbook's current sheet on OK.
    dlgFormat(Workbook &workbook, const CellRange &selection, QWidget *parent = nullptr);

    // The groups picked so far.
    CellFormatChoice choice() const;

    QTabWidget *SSTab1;
    QRadioButton *optLock;
    QRadioButton *optUnlock;
    QRadioButton *optNormal;
    QRadioButton *optNumber;
    QCheckBox *chkPercent;
    QRadioButton *optShowZero;
    QRadioButton *optNullZero;
    QRadioButton *opt3DState[3];
    QRadioButton *optTxtStyle[3];
    QPushButton *OKButton;
    QPushButton *CancelButton;

public slots:
    void accept() override;

private:
    void numberTypeClicked();

    Workbook &m_workbook;
    CellRange m_selection;
};

} // namespace vantor
