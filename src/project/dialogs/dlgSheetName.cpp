#include "project/dialogs/dlgSheetName.h"

#include "common/Prompter.h"
#include "project/ProjectSession.h"
#include "project/ProjectTree.h"
#include "project/dialogs/ApostropheFilter.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace vantor {

dlgSheetName::dlgSheetName(const SheetListRow &sheet, StoreFunction store, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_store(std::move(store)), m_prompter(prompter)
{
    setObjectName("dlgSheetName");
    setWindowTitle(QStringLiteral("表编号标题"));
    setModal(true);

    txtcode = new QLineEdit(this);
    txtcode->setObjectName("txtcode");
    ApostropheFilter::install(txtcode, kCodeLength);
    txtcode->setText(ApostropheFilter::filtered(QString::fromStdString(sheet.code), kCodeLength));
    txtname = new QLineEdit(this);
    txtname->setObjectName("txtname");
    ApostropheFilter::install(txtname, kNameLength);
    txtname->setText(ApostropheFilter::filtered(QString::fromStdString(sheet.name), kNameLength));
    txtname->setMinimumWidth(txtname->fontMetrics().horizontalAdvance(QString(kNameLength + 1, QChar(0x56FD))));

    auto *fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fields->addRow(QStringLiteral("编号："), txtcode);
    fields->addRow(QStringLiteral("标题："), txtname);

    auto *buttons = new QDialogButtonBox(this);
    cmdRight = buttons->addButton(QStringLiteral("确定(&Y)"), QDialogButtonBox::AcceptRole);
    cmdRight->setObjectName("cmdRight");
    cmdRight->setDefault(true);
    cmdCancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName("cmdCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &dlgSheetName::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &dlgSheetName::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    txtcode->setFocus();
}

std::string dlgSheetName::code() const
{
    return txtcode->text().toStdString();
}

std::string dlgSheetName::name() const
{
    return txtname->text().toStdString();
}

std::string dlgSheetName::caption() const
{
    return ProjectTree::sheetCaption(code(), name());
}

void dlgSheetName::accept()
{
    if (txtcode->text().isEmpty() || txtname->text().isEmpty()) {
        m_prompter.message(kEmpty, ProjectSession::kTitle, MessageIcon::Critical);
        return;
    }
    try {
        m_store(code(), name());
    } catch (const std::exception &e) {
        m_prompter.message(e.what(), ProjectSession::kTitle, MessageIcon::Critical);
        return;
    }
    QDialog::accept();
}

} // namespace vantor
