#include "calculators/dialogs/dlgTiaoCha.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

dlgTiaoCha::dlgTiaoCha(Workbook &workbook, int id, const CellRange &selection, Prompter &prompter, bool freezeHeadings,
                       QWidget *parent)
    : QDialog(parent), m_workbook(workbook), m_id(id), m_selection(selection), m_prompter(prompter),
      m_freeze(freezeHeadings)
{
    setObjectName("dlgTiaoCha");
    setWindowTitle(QString::fromUtf8(MaterialAdjustment::Title));
    setModal(true);

    auto *prompt = new QLabel(QStringLiteral("请输入材料成本差异总额："), this);
    prompt->setObjectName("lblPrompt");
    Text1 = new QLineEdit(this);
    Text1->setObjectName("Text1");
    Text1->setMaxLength(20);
    Text1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text1->installEventFilter(this);

    // The rule: item adjustment = item book value × variance ÷ planned price of the stock.
    auto *formulaLabel = new QLabel(QStringLiteral("公式： "), this);
    formulaLabel->setObjectName("lblFormula");
    auto *lhs = new QLabel(QStringLiteral("单项材料调整值 = 该项材料帐面价值 ×"), this);
    lhs->setObjectName("lblRule");
    auto *numerator = new QLabel(QStringLiteral("材料成本差异总额"), this);
    numerator->setObjectName("lblNumerator");
    numerator->setAlignment(Qt::AlignCenter);
    auto *bar = new QFrame(this);
    bar->setObjectName("lineFraction");
    bar->setFrameShape(QFrame::HLine);
    bar->setFrameShadow(QFrame::Plain);
    auto *denominator = new QLabel(QStringLiteral("库存材料计划价总额"), this);
    denominator->setObjectName("lblDenominator");
    denominator->setAlignment(Qt::AlignCenter);

    auto *fraction = new QVBoxLayout;
    fraction->setSpacing(1);
    fraction->addWidget(numerator);
    fraction->addWidget(bar);
    fraction->addWidget(denominator);
    auto *rule = new QHBoxLayout;
    rule->addWidget(formulaLabel);
    rule->addWidget(lhs);
    rule->addLayout(fraction);
    rule->addStretch();

    auto *ruleFrame = new QFrame(this);
    ruleFrame->setObjectName("fraRule");
    ruleFrame->setFrameShape(QFrame::StyledPanel);
    ruleFrame->setLayout(rule);

    cmdOk = new QPushButton(QStringLiteral("确定(&Y)"), this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    cmdCancel->setObjectName("cmdCancel");
    connect(cmdOk, &QPushButton::clicked, this, &dlgTiaoCha::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &dlgTiaoCha::reject);

    auto *entry = new QHBoxLayout;
    entry->addWidget(prompt);
    entry->addWidget(Text1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addWidget(ruleFrame);
    layout->addLayout(buttons);
    Text1->setFocus();
}

void dlgTiaoCha::accept()
{
    m_outcome =
        MaterialAdjustment::apply(m_workbook, m_id, m_selection, Text1->text().toStdString(), m_prompter, m_freeze);
    if (m_outcome == MaterialAdjustment::Outcome::NotANumber) {
        Text1->selectAll();
        Text1->setFocus();
        return;
    }
    QDialog::accept();
}

bool dlgTiaoCha::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (key->key() != Qt::Key_Backspace && !text.isEmpty() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            for (QChar ch : text)
                if (ch.isPrint() && !ch.isDigit() && ch != QLatin1Char('.'))
                    return true;
            for (QChar ch : text)
                if (ch.isDigit() && (ch < QLatin1Char('0') || ch > QLatin1Char('9')))
                    return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vantor
