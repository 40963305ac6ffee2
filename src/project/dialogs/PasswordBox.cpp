#include "project/dialogs/PasswordBox.h"

#include "project/ProjectPassword.h"
#include "project/dialogs/ApostropheFilter.h"

#include <QLineEdit>

namespace vantor {

QLineEdit *PasswordBox::create(QWidget *parent, const char *objectName)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    ApostropheFilter::install(box, ProjectPassword::kMaxLength);
    return box;
}

} // namespace vantor
