#include "output/dialogs/dlgPrint.h"

#include "output/PrintOptions.h"
#include "output/print/PrintSettingsStore.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

dlgPrint::dlgPrint(int sheetId, QWidget *parent) : QDialog(parent), m_sheetId(sheetId)
{
    setWindowTitle(QStringLiteral("打印"));
    auto *layout = new QVBoxLayout(this);
    auto *line = new QHBoxLayout;
    line->addWidget(new QLabel(QStringLiteral("每页按")));
    m_txtRows = new QLineEdit(QString::number(PrintSettingsStore::rows(sheetId)));
    m_txtRows->setObjectName(QStringLiteral("txtRows"));
    m_txtRows->setMaxLength(6);
    m_txtRows->setFixedWidth(60);
    m_txtRows->setAlignment(Qt::AlignCenter);
    line->addWidget(m_txtRows);
    line->addWidget(new QLabel(QStringLiteral("行计算明细表页小计。")));
    line->addStretch();
    layout->addLayout(line);
    layout->addWidget(new QLabel(QStringLiteral("有效值：25至50之间")));
    layout->addWidget(new QLabel(QStringLiteral("打印前请检查打印预览效果是否符合要求。")));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(QStringLiteral("继续(&C)"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("取消"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &dlgPrint::onContinue);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_rows = 0;
        reject();
    });
    m_txtRows->selectAll();
}

void dlgPrint::onContinue()
{
    m_rows = 0;
    const int value = PrintOptions::leadingNumber(m_txtRows->text().toStdString());
    if (!PrintOptions::isValid(value)) {
        m_txtRows->setFocus();
        m_txtRows->selectAll();
        return;
    }
    m_rows = value;
    PrintSettingsStore::setRows(m_sheetId, value);
    accept();
}

void dlgPrint::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The keys go to the box at once, also where no window manager hands out the focus.
    activateWindow();
    m_txtRows->setFocus();
    m_txtRows->selectAll();
}

int dlgPrint::ask(int sheetId, QWidget *parent)
{
    dlgPrint dialog(sheetId, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.rowsPerPage() : 0;
}

} // namespace vantor
