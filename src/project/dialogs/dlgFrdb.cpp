#include "project/dialogs/dlgFrdb.h"

#include "project/dialogs/ApostropheFilter.h"
#include "project/dialogs/DefaultRepresentative.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

dlgFrdb::dlgFrdb(QWidget *parent) : QDialog(parent)
{
    setObjectName("dlgFrdb");
    setWindowTitle(QStringLiteral("设置法人代表"));
    setModal(true);

    txtName = new QLineEdit(this);
    txtName->setObjectName("txtName");
    ApostropheFilter::install(txtName, DefaultRepresentative::kMaxLength);
    txtName->setText(ApostropheFilter::filtered(DefaultRepresentative::read(), DefaultRepresentative::kMaxLength));

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("姓名："), txtName);

    auto *buttons = new QDialogButtonBox(this);
    OKButton = buttons->addButton(QStringLiteral("确定(&Y)"), QDialogButtonBox::AcceptRole);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    CancelButton = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    CancelButton->setObjectName("CancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &dlgFrdb::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &dlgFrdb::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    setMinimumWidth(260);
    txtName->setFocus();
}

void dlgFrdb::accept()
{
    if (txtName->text().isEmpty())
        return;
    DefaultRepresentative::write(txtName->text());
    QDialog::accept();
}

} // namespace vantor
