#include "project/dialogs/dlgPmtype.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vantor {

dlgPmtype::dlgPmtype(QWidget *parent) : QDialog(parent)
{
    setObjectName("dlgPmtype");
    setWindowTitle(QStringLiteral("新建项目文件类型"));
    setModal(true);

    optData = new QRadioButton(QStringLiteral("数据录入型：进行单个评估项目数据编辑"), this);
    optData->setObjectName("optData");
    optData->setChecked(true);
    optSummary = new QRadioButton(QStringLiteral("项目汇总型：对相关“数据录入型”项目进行汇总处理"), this);
    optSummary->setObjectName("optSummary");

    auto *group = new QGroupBox(this);
    auto *options = new QVBoxLayout(group);
    options->setSpacing(12);
    options->addWidget(optData);
    options->addWidget(optSummary);

    auto *buttons = new QDialogButtonBox(this);
    cmdOK = buttons->addButton(QStringLiteral("确定(&Y)"), QDialogButtonBox::AcceptRole);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName("cmdCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &dlgPmtype::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &dlgPmtype::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

void dlgPmtype::accept()
{
    if (optData->isChecked())
        m_kind = ProjectKind::DataEntry;
    else if (optSummary->isChecked())
        m_kind = ProjectKind::Summary;
    else
        m_kind = ProjectKind::None;
    QDialog::accept();
}

void dlgPmtype::reject()
{
    m_kind = ProjectKind::None;
    QDialog::reject();
}

} // namespace vantor
