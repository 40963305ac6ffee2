#include "project/dialogs/dlgSheetProp.h"

#include "common/Prompter.h"
#include "project/ProjectSession.h"
#include "project/ProjectStore.h"
#include "project/dialogs/ApostropheFilter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <exception>

namespace vantor {

namespace {

// Editors of the grid: names drop apostrophes and keep what is stored, the
// date column follows its input pattern.
class SignatoryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        // Digits in the shape yyyy年mm月dd日; a position may stay blank, so
        // that a date can be cleared (the row's check tells a partial date).
        if (index.column() == SignatoryTable::DateColumn)
            editor->setInputMask(QStringLiteral("9999年99月99日"));
        else
            ApostropheFilter::install(editor, ProjectStore::kSignatoryLength);
        Q_UNUSED(option);
        return editor;
    }
};

} // namespace

dlgSheetProp::dlgSheetProp(const std::vector<SignatorySheet> &sheets, std::chrono::year_month_day today,
                           StoreFunction store, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_table(SignatoryTable::fromSheets(sheets, today)), m_store(std::move(store)),
      m_prompter(prompter)
{
    setObjectName("dlgSheetProp");
    setWindowTitle(QStringLiteral("评估表基本信息"));
    setModal(true);

    Cell1 = new QTableWidget(int(m_table.rows().size()), SignatoryTable::kColumns, this);
    Cell1->setObjectName("Cell1");
    Cell1->setHorizontalHeaderLabels({QStringLiteral("编码"), QStringLiteral("表编号名称"),
                                      QStringLiteral("单位填表人"), QStringLiteral("评估人员"),
                                      QStringLiteral("填表日期")});
    Cell1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
    Cell1->horizontalHeader()->setStretchLastSection(true);
    Cell1->verticalHeader()->hide();
    Cell1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    Cell1->setItemDelegate(new SignatoryDelegate(Cell1));
    // The caption pads the code with blanks; a fixed-pitch face lines the names up.
    m_captionFont = QFont(QStringLiteral("Noto Sans Mono CJK SC"));
    m_captionFont.setStyleHint(QFont::TypeWriter);
    m_captionFont.setPointSizeF(Cell1->font().pointSizeF());
    Cell1->setColumnWidth(SignatoryTable::IdColumn, 40);
    Cell1->setColumnWidth(SignatoryTable::CaptionColumn, 330);
    for (int c : {SignatoryTable::PreparerColumn, SignatoryTable::AppraiserColumn, SignatoryTable::DateColumn})
        Cell1->setColumnWidth(c, 120);
    int gridWidth = 2 * Cell1->frameWidth() + Cell1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int c = 0; c < SignatoryTable::kColumns; ++c)
        gridWidth += Cell1->columnWidth(c);
    Cell1->setMinimumSize(gridWidth, 320);
    for (int r = 0; r < int(m_table.rows().size()); ++r)
        showRow(r);
    connect(Cell1, &QTableWidget::itemChanged, this, &dlgSheetProp::cellEdited);

    cmdFill = new QPushButton(QStringLiteral("填充(&F)"), this);
    cmdFill->setObjectName("cmdFill");
    cmdCopy = new QPushButton(QStringLiteral("复制"), this);
    cmdCopy->setObjectName("cmdCopy");
    cmdCopy->setEnabled(false);
    cmdPaste = new QPushButton(QStringLiteral("粘贴"), this);
    cmdPaste->setObjectName("cmdPaste");
    cmdPaste->setEnabled(false);
    cmdRight = new QPushButton(QStringLiteral("确定(&Y)"), this);
    cmdRight->setObjectName("cmdRight");
    cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    cmdCancel->setObjectName("cmdCancel");
    // Enter belongs to the grid's editor, not to OK.
    for (QPushButton *b : {cmdFill, cmdCopy, cmdPaste, cmdRight, cmdCancel})
        b->setAutoDefault(false);
    connect(cmdFill, &QPushButton::clicked, this, &dlgSheetProp::fillSelection);
    connect(cmdRight, &QPushButton::clicked, this, &dlgSheetProp::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &dlgSheetProp::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdFill);
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdPaste);
    buttons->addStretch();
    buttons->addWidget(cmdRight);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Cell1);
    layout->addLayout(buttons);
    resize(800, 480);
}

void dlgSheetProp::showRow(int row)
{
    m_showing = true;
    const SignatoryRow &r = m_table.rows()[std::size_t(row)];
    auto *id = new QTableWidgetItem(QString::number(r.id));
    id->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    id->setTextAlignment(Qt::AlignCenter);
    Cell1->setItem(row, SignatoryTable::IdColumn, id);
    auto *caption = new QTableWidgetItem(QString::fromStdString(r.caption));
    caption->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    caption->setFont(m_captionFont);
    Cell1->setItem(row, SignatoryTable::CaptionColumn, caption);
    for (int c : {SignatoryTable::PreparerColumn, SignatoryTable::AppraiserColumn, SignatoryTable::DateColumn})
        Cell1->setItem(row, c, new QTableWidgetItem(QString::fromStdString(m_table.cell(std::size_t(row), c))));
    m_showing = false;
}

void dlgSheetProp::cellEdited(QTableWidgetItem *item)
{
    if (m_showing)
        return;
    const int column = item->column();
    const std::string text = item->text().toStdString();
    m_table.setCell(std::size_t(item->row()), column, text);
    if (column == SignatoryTable::DateColumn && SignatoryTable::classifyDate(text) == SignatoryTable::DateText::Invalid)
        m_prompter.message(SignatoryTable::invalidDateMessage(text), ProjectSession::kTitle, MessageIcon::Critical);
}

void dlgSheetProp::fillSelection()
{
    const QList<QTableWidgetSelectionRange> ranges = Cell1->selectedRanges();
    if (ranges.isEmpty())
        return;
    const QTableWidgetSelectionRange &sel = ranges.first();
    switch (
        m_table.fill(sel.leftColumn(), sel.rightColumn(), std::size_t(sel.topRow()), std::size_t(sel.bottomRow()))) {
    case SignatoryTable::FillResult::TooWide:
        m_prompter.message(SignatoryTable::kTooWide, ProjectSession::kTitle, MessageIcon::Information);
        break;
    case SignatoryTable::FillResult::Filled:
        for (int r = sel.topRow(); r <= sel.bottomRow(); ++r)
            showRow(r);
        break;
    case SignatoryTable::FillResult::Ignored:
        break;
    }
}

void dlgSheetProp::accept()
{
    if (auto bad = m_table.firstInvalidDate()) {
        const std::string text = m_table.rows()[*bad].date;
        m_prompter.message(SignatoryTable::invalidDateMessage(text), ProjectSession::kTitle, MessageIcon::Critical);
        Cell1->setCurrentCell(int(*bad), SignatoryTable::DateColumn);
        return;
    }
    try {
        m_store(m_table.toSignatories());
    } catch (const std::exception &e) {
        m_prompter.message(e.what(), ProjectSession::kTitle, MessageIcon::Critical);
        return;
    }
    QDialog::accept();
}

} // namespace vantor
