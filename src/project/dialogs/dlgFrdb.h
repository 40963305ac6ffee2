#pragma once

// The default legal representative (设置法人代表) kept in the settings store,
// offered by dlgPmprop for nodes that have none yet. Needs no open project.
// OK with an empty name does nothing.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vantor {

class dlgFrdb : public QDialog {
    Q_OBJECT
public:
    explicit dlgFrdb(QWidget *parent = nullptr);

    QLineEdit *txtName;
    QPushButton *OKButton;
    QPushButton *CancelButton;

public slots:
    void accept() override;
};

} // namespace vantor
