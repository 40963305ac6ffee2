#include "project/dialogs/dlgLogin.h"

#include "common/Prompter.h"
#include "project/dialogs/PasswordBox.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

dlgLogin::dlgLogin(PasswordCheck check, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_check(std::move(check)), m_prompter(prompter)
{
    setObjectName("dlgLogin");
    setWindowTitle(QStringLiteral("要求输入密码"));
    setModal(true);

    txtPassword = PasswordBox::create(this, "txtPassword");
    lblLabels = new QLabel(QStringLiteral("请输入密码(&P)："), this);
    lblLabels->setObjectName("lblLabels");
    lblLabels->setBuddy(txtPassword);

    auto *row = new QHBoxLayout;
    row->addWidget(lblLabels);
    row->addWidget(txtPassword, 1);

    auto *buttons = new QDialogButtonBox(this);
    cmdOK = buttons->addButton(QStringLiteral("确定(&Y)"), QDialogButtonBox::AcceptRole);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName("cmdCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &dlgLogin::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &dlgLogin::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setMinimumWidth(300);
    txtPassword->setFocus();
}

LoginFunction dlgLogin::loginFunction(QWidget *parent, Prompter &prompter)
{
    return [parent, &prompter](const PasswordCheck &check) {
        dlgLogin dialog(check, prompter, parent);
        dialog.exec();
        return dialog.LoginSucceeded;
    };
}

void dlgLogin::accept()
{
    if (m_check && m_check(txtPassword->text().toStdString())) {
        LoginSucceeded = true;
        QDialog::accept();
        return;
    }
    m_prompter.message("无效的密码，请重试！", "安全验证", MessageIcon::Critical);
    txtPassword->setFocus();
    txtPassword->selectAll();
}

void dlgLogin::reject()
{
    LoginSucceeded = false;
    QDialog::reject();
}

} // namespace vantor
