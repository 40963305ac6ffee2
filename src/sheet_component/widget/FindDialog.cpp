#include "sheet_component/widget/FindDialog.h"

#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/Workbook.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

FindDialog::FindDialog(Selection &selection, QWidget *parent) : QDialog(parent), m_selection(selection)
{
    setWindowTitle(QStringLiteral("查找"));
    m_text = new QLineEdit(this);
    m_matchCase = new QCheckBox(QStringLiteral("区分大小写"), this);
    m_status = new QLabel(this);
    auto *next = new QPushButton(QStringLiteral("查找下一个(&F)"), this);
    next->setDefault(true);
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("查找内容："), this));
    row->addWidget(m_text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_matchCase);
    buttons->addStretch();
    buttons->addWidget(next);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
}

void FindDialog::setMatchCase(bool matchCase)
{
    m_matchCase->setChecked(matchCase);
}

bool FindDialog::findNext()
{
    const std::string needle = m_text->text().toStdString();
    if (needle.empty()) {
        m_status->setText(QStringLiteral("请输入要查找的内容。"));
        return false;
    }
    const auto hit = m_selection.workbook().findNext(needle, m_selection.CurrentCol(), m_selection.CurrentRow(),
                                                     m_matchCase->isChecked());
    if (!hit) {
        m_status->setText(QStringLiteral("找不到“%1”。").arg(m_text->text()));
        return false;
    }
    m_status->clear();
    emit found(hit->col, hit->row);
    return true;
}

} // namespace vantor
