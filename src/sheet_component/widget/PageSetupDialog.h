#pragma once

// The page set-up dialog of the sheet view: paper, orientation, margins in millimetres and the
// print scale. It edits a copy of a sheet's print settings; the caller stores the result.

#include "sheet_component/engine/SheetTypes.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QRadioButton;
class QSpinBox;

namespace vantor {

class PageSetupDialog : public QDialog {
    Q_OBJECT
public:
    explicit PageSetupDialog(const PrintSettings &settings, QWidget *parent = nullptr);

    // The settings as the dialog shows them (print range, texts and page breaks kept).
    PrintSettings settings() const;

    QComboBox *paperBox() const { return m_paper; }
    QRadioButton *landscapeButton() const { return m_landscape; }
    QDoubleSpinBox *marginBox(int side) const { return m_margins[side]; }
    QSpinBox *scaleBox() const { return m_scale; }

private:
    PrintSettings m_settings;
    QComboBox *m_paper;
    QRadioButton *m_portrait;
    QRadioButton *m_landscape;
    QDoubleSpinBox *m_margins[4];
    QSpinBox *m_scale;
};

} // namespace vantor
