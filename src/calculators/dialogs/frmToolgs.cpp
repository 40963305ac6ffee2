#include "calculators/dialogs/frmToolgs.h"

#include "calculators/AppraisalCalculators.h"
#include "calculators/dialogs/FormulaView.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <QVBoxLayout>
#include <map>

namespace vantor {

namespace {

constexpr int kNumberRole = Qt::UserRole + 1;

} // namespace

frmToolgs::frmToolgs(Prompter &prompter, QWidget *parent) : QMainWindow(parent), m_prompter(prompter)
{
    setObjectName("frmToolgs");
    setWindowTitle(QStringLiteral("常用计算公式"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    lblTitle = new QLabel(QStringLiteral(" 此工具提供了六大类常用的资产评估计算公式"));
    lblTitle->setObjectName("lblTitle");
    lblTitle->setFrameShape(QFrame::StyledPanel);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    tvTreeView = new QTreeWidget;
    tvTreeView->setObjectName("tvTreeView");
    tvTreeView->setHeaderLabel(QStringLiteral(" 公式目录"));
    tvTreeView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    std::map<std::string, QTreeWidgetItem *> groups;
    for (const CalculatorGroup &g : AppraisalCalculators::groups()) {
        auto *item = new QTreeWidgetItem(tvTreeView, {QString::fromUtf8(g.title)});
        item->setData(0, Qt::UserRole, QString::fromUtf8(g.key));
        item->setData(0, kNumberRole, -1);
        groups[g.key] = item;
    }
    const auto &calculators = AppraisalCalculators::all();
    for (std::size_t i = 0; i < calculators.size(); ++i) {
        const Calculator &c = calculators[i];
        const QStringList text{QString::fromUtf8(c.title)};
        auto *item = c.parent ? new QTreeWidgetItem(groups.at(c.parent), text) : new QTreeWidgetItem(tvTreeView, text);
        item->setData(0, Qt::UserRole, QString::fromUtf8(c.key));
        item->setData(0, kNumberRole, static_cast<int>(i));
    }
    tvTreeView->expandAll();
    connect(tvTreeView, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { onItemClicked(item); });
    connect(tvTreeView, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { onItemClicked(item); });

    auto *panel = new QWidget;
    panel->setObjectName("fraPanel");
    auto *boxes = new QGridLayout;
    boxes->setColumnStretch(1, 1);
    for (int i = 0; i < MaxBoxes; ++i) {
        lbls[i] = new QLabel;
        lbls[i]->setObjectName(QStringLiteral("lbls_%1").arg(i));
        txts[i] = new QLineEdit;
        txts[i]->setObjectName(QStringLiteral("txts_%1").arg(i));
        txts[i]->setMaxLength(40);
        txts[i]->setMinimumWidth(160);
        connect(txts[i], &QLineEdit::returnPressed, this, [this, i] { onReturn(i); });
        boxes->addWidget(lbls[i], i, 0);
        boxes->addWidget(txts[i], i, 1);
    }

    picgs = new FormulaView;
    picgs->setObjectName("picgs");
    lblExplanation = new QLabel;
    lblExplanation->setObjectName("lblExplanation");
    lblExplanation->setWordWrap(true);
    lblExplanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *formulaFrame = new QFrame;
    formulaFrame->setObjectName("fraFormula");
    formulaFrame->setFrameShape(QFrame::StyledPanel);
    auto *formulaLayout = new QVBoxLayout(formulaFrame);
    formulaLayout->addWidget(picgs);
    formulaLayout->addWidget(lblExplanation);
    formulaLayout->addStretch();

    const char *captions[4] = {"计算", "复制", "清零", "关闭"};
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 0; i < 4; ++i) {
        cmdarr[i] = new QPushButton(QString::fromUtf8(captions[i]));
        cmdarr[i]->setObjectName(QStringLiteral("cmdarr_%1").arg(i));
        buttons->addWidget(cmdarr[i]);
        cmdarr[i]->installEventFilter(this);
    }
    connect(cmdarr[0], &QPushButton::clicked, this, &frmToolgs::compute);
    connect(cmdarr[1], &QPushButton::clicked, this, &frmToolgs::copyResult);
    connect(cmdarr[2], &QPushButton::clicked, this, &frmToolgs::clearBoxes);
    connect(cmdarr[3], &QPushButton::clicked, this, &QWidget::close);

    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->addLayout(boxes);
    panelLayout->addWidget(formulaFrame, 1);
    panelLayout->addLayout(buttons);

    imgSplitter = new QSplitter(Qt::Horizontal);
    imgSplitter->setObjectName("imgSplitter");
    imgSplitter->addWidget(tvTreeView);
    imgSplitter->addWidget(panel);
    imgSplitter->setStretchFactor(1, 1);
    imgSplitter->setSizes({220, 560});

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(lblTitle);
    layout->addWidget(imgSplitter, 1);
    setCentralWidget(central);
    statusBar()->setObjectName("sbStatusBar");
    m_status = new QLabel;
    statusBar()->addWidget(m_status, 1);
    resize(820, 460);

    for (QTreeWidgetItemIterator it(tvTreeView); *it; ++it)
        if ((*it)->data(0, kNumberRole).toInt() == 0) {
            tvTreeView->setCurrentItem(*it);
            break;
        }
}

bool frmToolgs::eventFilter(QObject *watched, QEvent *event)
{
    // Enter on a focused button presses it, as Space does.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        auto *button = qobject_cast<QPushButton *>(watched);
        if (button && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            button->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmToolgs::onItemClicked(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const int number = item->data(0, kNumberRole).toInt();
    if (number >= 0 && number != m_calculator)
        selectCalculator(number);
}

void frmToolgs::selectCalculator(int number)
{
    if (number < 0 || number >= AppraisalCalculators::Count)
        return;
    const Calculator &c = AppraisalCalculators::all()[static_cast<std::size_t>(number)];
    m_calculator = number;
    m_resultIndex = static_cast<int>(c.inputs.size());
    for (int i = 0; i < MaxBoxes; ++i) {
        const bool shown = i <= m_resultIndex;
        const QString caption = i < m_resultIndex ? QString::fromStdString(c.inputs[static_cast<std::size_t>(i)])
                                                  : QString::fromStdString(c.result);
        lbls[i]->setText(shown ? caption + QStringLiteral("：") : QString());
        lbls[i]->setVisible(shown);
        txts[i]->clear();
        txts[i]->setVisible(shown);
        txts[i]->setReadOnly(i == m_resultIndex);
        // The result box holds the whole result, however long.
        txts[i]->setMaxLength(i == m_resultIndex ? 32767 : 40);
    }
    picgs->setTerms(c.formula);
    lblExplanation->setText(QString::fromStdString(c.explanation));
    m_status->setText(QString::fromUtf8(c.title));
    for (QTreeWidgetItemIterator it(tvTreeView); *it; ++it)
        if ((*it)->data(0, kNumberRole).toInt() == number && tvTreeView->currentItem() != *it) {
            tvTreeView->setCurrentItem(*it);
            break;
        }
}

void frmToolgs::compute()
{
    if (m_calculator < 0)
        return;
    std::vector<std::string> inputs;
    for (int i = 0; i < m_resultIndex; ++i)
        inputs.push_back(txts[i]->text().toStdString());
    const CalculationOutcome outcome = AppraisalCalculators::compute(m_calculator, inputs);
    if (outcome.result) {
        txts[m_resultIndex]->setText(QString::fromStdString(*outcome.result));
        return;
    }
    for (int box : outcome.clearBoxes)
        txts[box]->clear();
    m_prompter.message(outcome.message, AppraisalCalculators::MessageTitle, outcome.icon);
    if (outcome.focusBox >= 0)
        txts[outcome.focusBox]->setFocus();
}

void frmToolgs::copyResult()
{
    QApplication::clipboard()->setText(txts[m_resultIndex]->text());
}

void frmToolgs::clearBoxes()
{
    for (int i = 0; i <= m_resultIndex && i < MaxBoxes; ++i)
        txts[i]->clear();
}

void frmToolgs::onReturn(int box)
{
    if (box + 1 < m_resultIndex)
        txts[box + 1]->setFocus();
    else if (box < m_resultIndex)
        cmdarr[0]->setFocus();
}

} // namespace vantor
