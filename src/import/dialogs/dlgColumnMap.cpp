#include "import/dialogs/dlgColumnMap.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vantor {

dlgColumnMap::dlgColumnMap(int id, const LedgerHeadings &headings, int ledgerCols,
                           const LedgerMapping::Columns &proposal, QWidget *parent)
    : QDialog(parent)
{
    setObjectName("dlgColumnMap");
    setWindowTitle(QStringLiteral("台帐列对应"));
    auto *layout = new QVBoxLayout(this);
    const QString found =
        headings.first < 0
            ? QStringLiteral("没有找到表头行。")
            : QStringLiteral("表头：第%1行%2。")
                  .arg(headings.first + 1)
                  .arg(headings.last > headings.first ? QStringLiteral("至第%1行").arg(headings.last + 1) : QString());
    layout->addWidget(new QLabel(found + QStringLiteral("请为本表每一栏选择台帐中的列，不需要的选“（不导入）”。")));

    const std::vector<std::string> titles = LedgerMapping::formTitles(id);
    tblColumns = new QTableWidget(static_cast<int>(titles.size()), 2);
    tblColumns->setObjectName("tblColumns");
    tblColumns->setHorizontalHeaderLabels({QStringLiteral("本表栏目"), QStringLiteral("台帐中的列")});
    tblColumns->verticalHeader()->hide();
    tblColumns->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (std::size_t f = 0; f < titles.size(); ++f) {
        auto *item = new QTableWidgetItem(QString::fromStdString(titles[f]));
        item->setFlags(Qt::ItemIsEnabled);
        tblColumns->setItem(static_cast<int>(f), 0, item);
        auto *box = new QComboBox;
        box->addItem(QStringLiteral("（不导入）"), LedgerMapping::Unmapped);
        for (int l = 0; l < ledgerCols; ++l) {
            const std::string title =
                l < static_cast<int>(headings.titles.size()) ? headings.titles[static_cast<std::size_t>(l)] : "";
            box->addItem(QString::fromStdString(LedgerMapping::columnName(l) + (title.empty() ? "" : " " + title)), l);
        }
        tblColumns->setCellWidget(static_cast<int>(f), 1, box);
        m_boxes.push_back(box);
    }
    layout->addWidget(tblColumns);

    auto *rowLine = new QHBoxLayout;
    rowLine->addWidget(new QLabel(QStringLiteral("从台帐第")));
    spnFirstRow = new QSpinBox;
    spnFirstRow->setObjectName("spnFirstRow");
    spnFirstRow->setRange(1, ForeignSheet::MaxRows);
    spnFirstRow->setValue(headings.firstDataRow + 1);
    rowLine->addWidget(spnFirstRow);
    rowLine->addWidget(new QLabel(QStringLiteral("行起导入")));
    rowLine->addStretch();
    layout->addLayout(rowLine);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QPushButton *auto_ = buttons->addButton(QStringLiteral("按表头对应"), QDialogButtonBox::ResetRole);
    QPushButton *position = buttons->addButton(QStringLiteral("按本表列顺序"), QDialogButtonBox::ResetRole);
    connect(auto_, &QPushButton::clicked, this, [this, proposal] { setColumns(proposal); });
    connect(position, &QPushButton::clicked, this,
            [this, id, ledgerCols] { setColumns(LedgerMapping::byPosition(id, ledgerCols)); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setColumns(proposal);
    resize(560, 520);
}

void dlgColumnMap::setColumns(const LedgerMapping::Columns &columns)
{
    for (std::size_t f = 0; f < m_boxes.size(); ++f) {
        const int l = f < columns.size() ? columns[f] : LedgerMapping::Unmapped;
        const int index = m_boxes[f]->findData(l);
        m_boxes[f]->setCurrentIndex(index < 0 ? 0 : index);
    }
}

ColumnChoice dlgColumnMap::choice() const
{
    ColumnChoice c;
    for (QComboBox *box : m_boxes)
        c.columns.push_back(box->currentData().toInt());
    c.firstRow = spnFirstRow->value() - 1;
    return c;
}

} // namespace vantor
