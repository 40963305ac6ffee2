#include "calculators/dialogs/dlgFormat.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vantor {

namespace {

QRadioButton *option(const QString &caption, const QString &name, QWidget *parent)
{
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(name);
    return button;
}

// An exclusive group in which nothing is picked until the user picks something.
void group(QObject *owner, std::initializer_list<QRadioButton *> buttons)
{
    auto *g = new QButtonGroup(owner);
    g->setExclusive(true);
    for (QRadioButton *b : buttons)
        g->addButton(b);
}

} // namespace

dlgFormat::dlgFormat(Workbook &workbook, const CellRange &selection, QWidget *parent)
    : QDialog(parent), m_workbook(workbook), m_selection(selection)
{
    setObjectName("dlgFormat");
    setWindowTitle(QStringLiteral("单元格式"));
    setModal(true);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName("SSTab1");

    // 数字
    auto *numberPage = new QWidget;
    optNormal = option(QStringLiteral("普通单元"), "optNormal", numberPage);
    optNumber = option(QStringLiteral("数值单元"), "optNumber", numberPage);
    chkPercent = new QCheckBox(QStringLiteral("百分号"), numberPage);
    chkPercent->setObjectName("chkPercent");
    optShowZero = option(QStringLiteral("显示零值"), "optShowZero", numberPage);
    optNullZero = option(QStringLiteral("不显示零"), "optNullZero", numberPage);
    group(this, {optNormal, optNumber});
    group(this, {optShowZero, optNullZero});
    auto *numberLayout = new QVBoxLayout(numberPage);
    numberLayout->addWidget(optNormal);
    numberLayout->addWidget(optNumber);
    auto *numericOptions = new QVBoxLayout;
    numericOptions->setContentsMargins(20, 0, 0, 0);
    numericOptions->addWidget(chkPercent);
    numericOptions->addWidget(optShowZero);
    numericOptions->addWidget(optNullZero);
    numberLayout->addLayout(numericOptions);
    numberLayout->addStretch();
    for (QWidget *w : std::initializer_list<QWidget *>{chkPercent, optShowZero, optNullZero})
        w->setEnabled(false);
    connect(optNormal, &QRadioButton::clicked, this, &dlgFormat::numberTypeClicked);
    connect(optNumber, &QRadioButton::clicked, this, &dlgFormat::numberTypeClicked);
    SSTab1->addTab(numberPage, QStringLiteral("数字"));

    // 显示
    auto *displayPage = new QWidget;
    auto *appearance = new QGroupBox(QStringLiteral("单元格外观"), displayPage);
    appearance->setObjectName("fra3DState");
    auto *appearanceLayout = new QVBoxLayout(appearance);
    const QString states[3] = {QStringLiteral("正常"), QStringLiteral("3D突出按钮形状"),
                               QStringLiteral("3D凹陷按钮形状")};
    for (int i = 0; i < 3; ++i) {
        opt3DState[i] = option(states[i], QStringLiteral("opt3DState%1").arg(i), appearance);
        appearanceLayout->addWidget(opt3DState[i]);
    }
    group(this, {opt3DState[0], opt3DState[1], opt3DState[2]});
    auto *textDisplay = new QGroupBox(QStringLiteral("正文显示"), displayPage);
    textDisplay->setObjectName("fraTxtStyle");
    auto *textLayout = new QVBoxLayout(textDisplay);
    const QString styles[3] = {QStringLiteral("单行显示"), QStringLiteral("自动折行显示"),
                               QStringLiteral("显示覆盖提示")};
    for (int i = 0; i < 3; ++i) {
        optTxtStyle[i] = option(styles[i], QStringLiteral("optTxtStyle%1").arg(i), textDisplay);
        textLayout->addWidget(optTxtStyle[i]);
    }
    group(this, {optTxtStyle[0], optTxtStyle[1], optTxtStyle[2]});
    auto *displayLayout = new QHBoxLayout(displayPage);
    displayLayout->addWidget(appearance);
    displayLayout->addWidget(textDisplay);
    SSTab1->addTab(displayPage, QStringLiteral("显示"));

    // 保护
    auto *protectionPage = new QWidget;
    optLock = option(QStringLiteral("锁定"), "optLock", protectionPage);
    optUnlock = option(QStringLiteral("解除锁定"), "optUnlock", protectionPage);
    group(this, {optLock, optUnlock});
    auto *note = new QLabel(QStringLiteral("设置为锁定的单元格，背景颜色为粉红色。"), protectionPage);
    note->setObjectName("lblNote");
    auto *protectionLayout = new QVBoxLayout(protectionPage);
    protectionLayout->addWidget(optLock);
    protectionLayout->addWidget(optUnlock);
    protectionLayout->addSpacing(8);
    protectionLayout->addWidget(note);
    protectionLayout->addStretch();
    SSTab1->addTab(protectionPage, QStringLiteral("保护"));

    OKButton = new QPushButton(QStringLiteral("确定(&Y)"), this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("取消"), this);
    CancelButton->setObjectName("CancelButton");
    connect(OKButton, &QPushButton::clicked, this, &dlgFormat::accept);
    connect(CancelButton, &QPushButton::clicked, this, &dlgFormat::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);
}

void dlgFormat::numberTypeClicked()
{
    const bool numeric = optNumber->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{chkPercent, optShowZero, optNullZero})
        w->setEnabled(numeric);
}

CellFormatChoice dlgFormat::choice() const
{
    CellFormatChoice c;
    if (optLock->isChecked())
        c.protection = CellFormatChoice::Protection::Lock;
    else if (optUnlock->isChecked())
        c.protection = CellFormatChoice::Protection::Unlock;
    for (int i = 0; i < 3; ++i) {
        if (opt3DState[i]->isChecked())
            c.appearance = i;
        if (optTxtStyle[i]->isChecked())
            c.textStyle = i;
    }
    if (optNormal->isChecked()) {
        c.numberType = CellFormatChoice::NumberType::Plain;
    } else if (optNumber->isChecked()) {
        c.numberType = CellFormatChoice::NumberType::Numeric;
        c.percent = chkPercent->isChecked();
        if (optShowZero->isChecked())
            c.zeroDisplay = CellFormatChoice::ZeroDisplay::Show;
        else if (optNullZero->isChecked())
            c.zeroDisplay = CellFormatChoice::ZeroDisplay::Hide;
    }
    return c;
}

void dlgFormat::accept()
{
    choice().apply(m_workbook, m_selection);
    QDialog::accept();
}

} // namespace vantor
