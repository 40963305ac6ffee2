#include "calculators/dialogs/dlgShareLng.h"

#include "calculators/NumberEntryRules.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vantor {

dlgShareLng::dlgShareLng(const NumberRequest &request, QWidget *parent)
    : QDialog(parent), m_minimum(request.minimum), m_maximum(std::max(request.minimum, request.maximum))
{
    setObjectName("dlgShareLng");
    setWindowTitle(QString::fromStdString(request.caption));
    setModal(true);

    lblNote = new QLabel(QString::fromStdString(request.label), this);
    lblNote->setObjectName("lblNote");
    Label1 = new QLabel(QStringLiteral("（%1～%2）").arg(m_minimum).arg(m_maximum), this);
    Label1->setObjectName("Label1");

    txtBox = new QLineEdit(this);
    txtBox->setObjectName("txtBox");
    txtBox->setMaxLength(9);
    txtBox->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtBox->installEventFilter(this);
    txtBox->setText(QString::number(request.initial));
    connect(txtBox, &QLineEdit::textChanged, this, &dlgShareLng::textChanged);

    UpDown1Up = new QToolButton(this);
    UpDown1Up->setObjectName("UpDown1Up");
    UpDown1Up->setArrowType(Qt::UpArrow);
    UpDown1Up->setAutoRepeat(true);
    UpDown1Down = new QToolButton(this);
    UpDown1Down->setObjectName("UpDown1Down");
    UpDown1Down->setArrowType(Qt::DownArrow);
    UpDown1Down->setAutoRepeat(true);
    for (QToolButton *b : {UpDown1Up, UpDown1Down})
        b->setFixedSize(18, 12);
    connect(UpDown1Up, &QToolButton::clicked, this, [this] { step(1); });
    connect(UpDown1Down, &QToolButton::clicked, this, [this] { step(-1); });

    cmdSele[0] = new QPushButton(QStringLiteral("确定(&Y)"), this);
    cmdSele[0]->setObjectName("cmdSele0");
    cmdSele[0]->setDefault(true);
    cmdSele[1] = new QPushButton(QStringLiteral("取消(&C)"), this);
    cmdSele[1]->setObjectName("cmdSele1");
    connect(cmdSele[0], &QPushButton::clicked, this, &dlgShareLng::accept);
    connect(cmdSele[1], &QPushButton::clicked, this, &dlgShareLng::reject);

    auto *arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(UpDown1Up);
    arrows->addWidget(UpDown1Down);
    auto *entry = new QHBoxLayout;
    entry->setSpacing(1);
    entry->addWidget(txtBox, 1);
    entry->addLayout(arrows);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdSele[0]);
    buttons->addWidget(cmdSele[1]);
    buttons->addStretch();

    auto *fields = new QVBoxLayout;
    fields->addWidget(lblNote);
    fields->addLayout(entry);
    fields->addWidget(Label1);
    fields->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(300);
    txtBox->selectAll();
    txtBox->setFocus();
}

int dlgShareLng::ask(const NumberRequest &request, QWidget *parent)
{
    dlgShareLng dialog(request, parent);
    dialog.exec();
    return dialog.value();
}

void dlgShareLng::accept()
{
    m_value = NumberEntryRules::result(txtBox->text().toStdString(), m_maximum);
    QDialog::accept();
}

void dlgShareLng::reject()
{
    m_value = 0;
    QDialog::reject();
}

bool dlgShareLng::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtBox && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Backspace is a typed character too and goes the way of every non-digit.
        if (key->key() == Qt::Key_Backspace)
            return true;
        const QString text = key->text();
        if (!text.isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            for (QChar ch : text)
                if (ch.isPrint() && !NumberEntryRules::acceptsCharacter(ch.unicode()))
                    return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void dlgShareLng::textChanged()
{
    if (m_adjusting)
        return;
    m_adjusting = true;
    // Pasted text keeps only its digits, as typing would have.
    QString digits;
    for (QChar ch : txtBox->text())
        if (NumberEntryRules::acceptsCharacter(ch.unicode()))
            digits += ch;
    const QString shown =
        QString::fromStdString(NumberEntryRules::normalised(digits.toStdString(), m_minimum, m_maximum));
    if (shown != txtBox->text()) {
        txtBox->setText(shown);
        txtBox->selectAll();
    }
    m_adjusting = false;
}

void dlgShareLng::step(int delta)
{
    const long long current = NumberEntryRules::valueOf(txtBox->text().toStdString());
    const long long next = std::clamp<long long>(current + delta, m_minimum, m_maximum);
    txtBox->setText(QString::number(next));
}

} // namespace vantor
