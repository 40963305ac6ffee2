#include "project/dialogs/dlgPmprop.h"

#include "common/Prompter.h"
#include "project/IsoDate.h"
#include "project/ProjectSession.h"
#include "project/dialogs/ApostropheFilter.h"
#include "project/dialogs/DefaultRepresentative.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace vantor {

namespace {

QDate toQDate(std::chrono::year_month_day d)
{
    return QDate(int(d.year()), int(unsigned(d.month())), int(unsigned(d.day())));
}

std::chrono::year_month_day fromQDate(const QDate &d)
{
    return std::chrono::year_month_day{std::chrono::year{d.year()}, std::chrono::month{unsigned(d.month())},
                                       std::chrono::day{unsigned(d.day())}};
}

QLineEdit *textBox(QWidget *parent, const char *name, int maxLength, const std::string &text)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    ApostropheFilter::install(box, maxLength);
    box->setText(ApostropheFilter::filtered(QString::fromStdString(text), maxLength));
    return box;
}

} // namespace

dlgPmprop::dlgPmprop(const NodePropertiesForm &form, StoreFunction store, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_store(std::move(store)), m_prompter(prompter)
{
    setObjectName("dlgPmprop");
    setWindowTitle(QStringLiteral("项目基本信息"));
    setModal(true);

    txtpm = textBox(this, "txtpm", NodePropertiesForm::kNameLength, form.pmname);
    txtdw = textBox(this, "txtdw", NodePropertiesForm::kTextLength, form.zczydw);
    txtpgs = textBox(this, "txtpgs", NodePropertiesForm::kTextLength, form.zcpgs);
    txtfzr = textBox(this, "txtfzr", NodePropertiesForm::kTextLength, form.xmfzr);
    DTPicker1 = new QDateEdit(this);
    DTPicker1->setObjectName("DTPicker1");
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy年MM月dd日"));
    DTPicker1->setDate(toQDate(form.pgjzr.ok() ? form.pgjzr : IsoDate::today()));
    txtfrdb = textBox(this, "txtfrdb", NodePropertiesForm::kRepresentativeLength, form.frdb);

    // Wide enough for 25 Chinese characters in the long boxes.
    const int wide = fontMetrics().horizontalAdvance(QString(26, QChar(0x56FD)));
    for (QLineEdit *box : {txtdw, txtpgs, txtfzr})
        box->setMinimumWidth(wide);

    auto *fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    fields->addRow(QStringLiteral("项目名称简称："), txtpm);
    fields->addRow(QStringLiteral("资产占有单位："), txtdw);
    fields->addRow(QStringLiteral("签字注册评估师"), txtpgs);
    fields->addRow(QStringLiteral("项目负责人员："), txtfzr);
    fields->addRow(QStringLiteral("评估基准日期："), DTPicker1);
    fields->addRow(QStringLiteral("单位法人代表："), txtfrdb);

    auto *buttons = new QDialogButtonBox(this);
    cmdRight = buttons->addButton(QStringLiteral("确定(&Y)"), QDialogButtonBox::AcceptRole);
    cmdRight->setObjectName("cmdRight");
    cmdRight->setDefault(true);
    cmdCancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName("cmdCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &dlgPmprop::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &dlgPmprop::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addWidget(buttons);

    // Enter walks from box to box down to the date; in the last box it confirms.
    for (QLineEdit *box : {txtpm, txtdw, txtpgs, txtfzr})
        box->installEventFilter(this);
    setTabOrder(txtpm, txtdw);
    setTabOrder(txtdw, txtpgs);
    setTabOrder(txtpgs, txtfzr);
    setTabOrder(txtfzr, DTPicker1);
    setTabOrder(DTPicker1, txtfrdb);
    txtpm->setFocus();
}

NodePropertiesForm dlgPmprop::loadForm(const ProjectStore &store, int16_t pmid)
{
    return NodePropertiesForm::load(store, pmid, DefaultRepresentative::read().toStdString(), IsoDate::today());
}

NodePropertiesForm dlgPmprop::form() const
{
    NodePropertiesForm f;
    f.pmname = txtpm->text().toStdString();
    f.zczydw = txtdw->text().toStdString();
    f.zcpgs = txtpgs->text().toStdString();
    f.xmfzr = txtfzr->text().toStdString();
    f.pgjzr = fromQDate(DTPicker1->date());
    f.frdb = txtfrdb->text().toStdString();
    return f;
}

bool dlgPmprop::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            if (watched == txtpm)
                txtdw->setFocus();
            else if (watched == txtdw)
                txtpgs->setFocus();
            else if (watched == txtpgs)
                txtfzr->setFocus();
            else if (watched == txtfzr)
                DTPicker1->setFocus();
            else
                return QDialog::eventFilter(watched, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void dlgPmprop::accept()
{
    const NodePropertiesForm f = form();
    if (!f.isComplete()) {
        m_prompter.message(NodePropertiesForm::kIncomplete, ProjectSession::kTitle, MessageIcon::Critical);
        return;
    }
    try {
        m_store(f.toProperties());
    } catch (const std::exception &e) {
        m_prompter.message(std::string(e.what()) + "\n" + NodePropertiesForm::kIncomplete, ProjectSession::kTitle,
                           MessageIcon::Critical);
        return;
    }
    QDialog::accept();
}

bool dlgPmprop::mayClose()
{
    if (form().isComplete())
        return true;
    m_prompter.message(NodePropertiesForm::kMustFill, ProjectSession::kTitle, MessageIcon::Critical);
    return false;
}

void dlgPmprop::reject()
{
    if (mayClose())
        QDialog::reject();
}

} // namespace vantor
