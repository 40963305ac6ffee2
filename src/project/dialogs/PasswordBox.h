#pragma once

// The look and limits shared by the password boxes of dlgpwd and dlgLogin:
// one "*" per character, apostrophes dropped, at most seven characters.

class QLineEdit;
class QWidget;

namespace vantor {

class PasswordBox {
public:
    static QLineEdit *create(QWidget *parent, const char *objectName);
};

} // namespace vantor
