#include "sheets/dialogs/dlgSheetInst.h"

#include "sheets/AddSheetCommand.h"
#include "sheets/SheetCatalogue.h"

#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vantor {

namespace {
constexpr int KeyRole = Qt::UserRole;
}

dlgSheetInst::dlgSheetInst(const std::vector<std::string> &existingKeys, QWidget *parent) : QDialog(parent)
{
    setObjectName("dlgSheetInst");
    setWindowTitle(QStringLiteral("插入明细表"));
    setModal(true);

    tvw_Sheets = new QTreeWidget(this);
    tvw_Sheets->setObjectName("tvw_Sheets");
    tvw_Sheets->setHeaderHidden(true);
    tvw_Sheets->setRootIsDecorated(false);
    tvw_Sheets->setColumnCount(1);
    // Captions pad the code with blanks to ten characters; only a fixed-pitch
    // face lines the names up. Every code starts with one Chinese character,
    // so the double width of that character shifts all names alike.
    QFont fixed(QStringLiteral("Noto Sans Mono CJK SC"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSizeF(tvw_Sheets->font().pointSizeF());
    tvw_Sheets->setFont(fixed);
    for (const AddableSheet &s : AddSheetCommand::addableSheets(existingKeys)) {
        auto *item = new QTreeWidgetItem(tvw_Sheets, QStringList{QString::fromStdString(s.caption)});
        item->setData(0, KeyRole, QString::fromStdString(s.key));
    }

    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    cmdCancel->setObjectName("cmdCancel");

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tvw_Sheets);
    layout->addLayout(buttons);
    resize(460, 420);

    // Only a sheet the user selected counts: the entry that merely has the focus
    // (the first one, once the list is entered) is not a choice, and OK waits for one.
    tvw_Sheets->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdOK->setEnabled(false);
    connect(tvw_Sheets, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem *> selected = tvw_Sheets->selectedItems();
        pick(selected.isEmpty() ? nullptr : selected.first());
    });
    connect(tvw_Sheets, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
    connect(cmdOK, &QPushButton::clicked, this, &dlgSheetInst::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &dlgSheetInst::reject);
}

void dlgSheetInst::pick(QTreeWidgetItem *item)
{
    m_id = 0;
    cmdOK->setEnabled(false);
    if (!item)
        return;
    const std::string key = item->data(0, KeyRole).toString().toStdString();
    auto id = SheetCatalogue::idOfLabel(key);
    if (!id)
        return;
    cmdOK->setEnabled(true);
    auto [code, name] = SheetCatalogue::splitDetailCaption(item->text(0).toStdString());
    m_id = *id;
    m_code = std::move(code);
    m_name = std::move(name);
}

void dlgSheetInst::accept()
{
    // OK without a chosen kind leaves the dialog open.
    if (m_id == 0)
        return;
    QDialog::accept();
}

} // namespace vantor
