#pragma once

// Asking for the project password while a project is opened (要求输入密码).
// OK checks the typed text with the given PasswordCheck (the session compares
// it with the stored hash); a wrong password is reported and asked again,
// without limit. LoginSucceeded tells the caller the outcome.

#include <QDialog>

// moc cannot parse the C++20 library headers these pull in; it needs none of them.
#ifndef Q_MOC_RUN
#include "project/ProjectSession.h"
#endif

class QLabel;
class QLineEdit;
class QPushButton;

namespace vantor {

class Prompter;

class dlgLogin : public QDialog {
    Q_OBJECT
public:
    dlgLogin(PasswordCheck check, Prompter &prompter, QWidget *parent = nullptr);

    // The LoginFunction ProjectSession::openProject() takes: shows the dialog
    // and returns LoginSucceeded.
    static LoginFunction loginFunction(QWidget *parent, Prompter &prompter);

    bool LoginSucceeded = false;

    QLabel *lblLabels;
    QLineEdit *txtPassword;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;

public slots:
    void accept() override;
    void reject() override;

private:
    PasswordCheck m_check;
    Prompter &m_prompter;
};

} // namespace vantor
