#include "project/dialogs/dlgpwd.h"

#include "common/Prompter.h"
#include "project/ProjectSession.h"
#include "project/dialogs/PasswordBox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

namespace {
// A private-use character no keyboard produces, so that the placeholder can
// be told apart from typed text. One short of the limit: a key typed at the
// end of an untouched box still gets in and replaces the placeholder.
constexpr QChar kMarker = QChar(0xE000);
const QString kPlaceholder(ProjectPassword::kMaxLength - 1, kMarker);
} // namespace

dlgpwd::dlgpwd(bool hasPassword, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_prompter(prompter), m_hadPassword(hasPassword), m_unchanged1(hasPassword),
      m_unchanged2(hasPassword)
{
    setObjectName("dlgpwd");
    setWindowTitle(QStringLiteral("更改密码"));
    setModal(true);

    txtpwd1 = PasswordBox::create(this, "txtpwd1");
    txtpwd2 = PasswordBox::create(this, "txtpwd2");
    if (hasPassword) {
        txtpwd1->setText(kPlaceholder);
        txtpwd2->setText(kPlaceholder);
    }
    connect(txtpwd1, &QLineEdit::textEdited, this, [this] { leavePlaceholder(txtpwd1, m_unchanged1); });
    connect(txtpwd2, &QLineEdit::textEdited, this, [this] { leavePlaceholder(txtpwd2, m_unchanged2); });

    auto *fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fields->addRow(QStringLiteral("打开文件密码："), txtpwd1);
    fields->addRow(QStringLiteral("再输一次密码："), txtpwd2);

    auto *buttons = new QDialogButtonBox(this);
    cmdRight = buttons->addButton(QStringLiteral("确定(&Y)"), QDialogButtonBox::AcceptRole);
    cmdRight->setObjectName("cmdRight");
    cmdRight->setDefault(true);
    cmdCancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName("cmdCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &dlgpwd::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &dlgpwd::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    setMinimumWidth(300);
    txtpwd1->setFocus();
    txtpwd1->selectAll();
}

void dlgpwd::leavePlaceholder(QLineEdit *box, bool &unchanged)
{
    if (!unchanged)
        return;
    unchanged = false;
    QString typed = box->text();
    typed.remove(kMarker);
    box->setText(typed);
}

ProjectPassword::Box dlgpwd::box1() const
{
    if (m_unchanged1)
        return std::nullopt;
    return txtpwd1->text().toStdString();
}

ProjectPassword::Box dlgpwd::box2() const
{
    if (m_unchanged2)
        return std::nullopt;
    return txtpwd2->text().toStdString();
}

void dlgpwd::accept()
{
    ProjectPassword::Change change = ProjectPassword::decideChange(box1(), box2());
    switch (change) {
    case ProjectPassword::Change::Mismatch:
        txtpwd1->setFocus();
        txtpwd1->selectAll();
        return;
    case ProjectPassword::Change::TooLong:
        m_prompter.message("密码不能超过7个字符。", ProjectSession::kTitle, MessageIcon::Critical);
        txtpwd1->setFocus();
        return;
    case ProjectPassword::Change::Remove:
        // Nothing to remove from a project without a password.
        if (!m_hadPassword)
            change = ProjectPassword::Change::Keep;
        break;
    default:
        break;
    }
    m_change = change;
    QDialog::accept();
}

} // namespace vantor
