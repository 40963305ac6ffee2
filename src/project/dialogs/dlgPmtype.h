#pragma once

// The kind of a new project: data entry (one appraisal) or summary (a roll-up
// of data-entry projects). kind() is None until OK is pressed with an option
// chosen; the main window passes it to ProjectSession::newProject().

#include <QDialog>

// moc cannot parse the C++20 library headers these pull in; it needs none of them.
#ifndef Q_MOC_RUN
#include "project/ProjectRecords.h"
#endif

class QPushButton;
class QRadioButton;

namespace vantor {

class dlgPmtype : public QDialog {
    Q_OBJECT
public:
    explicit dlgPmtype(QWidget *parent = nullptr);

    ProjectKind kind() const { return m_kind; }

    QRadioButton *optData;
    QRadioButton *optSummary;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;

public slots:
    void accept() override;
    void reject() override;

private:
    ProjectKind m_kind = ProjectKind::None;
};

} // namespace vantor
