#pragma once

// Setting, changing or removing the project's password (更改密码). The old
// password cannot be shown (only its hash is stored): when the project has one,
// both boxes start with a masked placeholder that means "unchanged", and the
// first edit of a box replaces the placeholder with what is typed. OK is
// refused, with the focus back in the first box, while the boxes differ.
// After exec() == Accepted the caller applies box1() and box2() with
// ProjectPassword::apply(); change() tells what that will do.

#include <QDialog>

// moc cannot parse the C++20 library headers these pull in; it needs none of them.
#ifndef Q_MOC_RUN
#include "project/ProjectPassword.h"
#endif

class QLineEdit;
class QPushButton;

namespace vantor {

class Prompter;

class dlgpwd : public QDialog {
    Q_OBJECT
public:
    // hasPassword: the open project's stored password is not empty.
    dlgpwd(bool hasPassword, Prompter &prompter, QWidget *parent = nullptr);

    // nullopt while the box still shows the placeholder.
    ProjectPassword::Box box1() const;
    ProjectPassword::Box box2() const;
    // What OK decided; Keep until then.
    ProjectPassword::Change change() const { return m_change; }

    QLineEdit *txtpwd1;
    QLineEdit *txtpwd2;
    QPushButton *cmdRight;
    QPushButton *cmdCancel;

public slots:
    void accept() override;

private:
    void leavePlaceholder(QLineEdit *box, bool &unchanged);

    Prompter &m_prompter;
    bool m_hadPassword;
    bool m_unchanged1;
    bool m_unchanged2;
    ProjectPassword::Change m_change = ProjectPassword::Change::Keep;
};

} // namespace vantor
