#include "sheet_component/widget/PageSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vantor {

namespace {

struct Paper {
    int code;
    const char *name;
};
constexpr Paper kPapers[] = {{9, "A4 (210 × 297 毫米)"},     {8, "A3 (297 × 420 毫米)"},
                             {11, "A5 (148 × 210 毫米)"},    {13, "B5 (182 × 257 毫米)"},
                             {1, "Letter (216 × 279 毫米)"}, {5, "Legal (216 × 356 毫米)"}};

} // namespace

PageSetupDialog::PageSetupDialog(const PrintSettings &settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setWindowTitle(QStringLiteral("页面设置"));

    m_paper = new QComboBox(this);
    for (const Paper &p : kPapers)
        m_paper->addItem(QString::fromUtf8(p.name), p.code);
    const int paperIndex = m_paper->findData(settings.paperSize);
    m_paper->setCurrentIndex(paperIndex >= 0 ? paperIndex : 0);

    m_portrait = new QRadioButton(QStringLiteral("纵向"), this);
    m_landscape = new QRadioButton(QStringLiteral("横向"), this);
    (settings.landscape ? m_landscape : m_portrait)->setChecked(true);
    auto *orientation = new QHBoxLayout;
    orientation->addWidget(m_portrait);
    orientation->addWidget(m_landscape);
    orientation->addStretch();

    auto *marginsBox = new QGroupBox(QStringLiteral("页边距（毫米）"), this);
    auto *grid = new QGridLayout(marginsBox);
    const char *names[4] = {"左：", "上：", "右：", "下："};
    for (int i = 0; i < 4; ++i) {
        m_margins[i] = new QDoubleSpinBox(marginsBox);
        m_margins[i]->setRange(0, 100);
        m_margins[i]->setDecimals(1);
        m_margins[i]->setValue(settings.margins[static_cast<std::size_t>(i)]);
        grid->addWidget(new QLabel(QString::fromUtf8(names[i]), marginsBox), i / 2, (i % 2) * 2);
        grid->addWidget(m_margins[i], i / 2, (i % 2) * 2 + 1);
    }

    m_scale = new QSpinBox(this);
    m_scale->setRange(10, 400);
    m_scale->setSuffix(QStringLiteral(" %"));
    m_scale->setValue(settings.scale);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("纸张："), m_paper);
    form->addRow(QStringLiteral("方向："), orientation);
    form->addRow(QStringLiteral("缩放比例："), m_scale);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(marginsBox);
    layout->addWidget(buttons);
}

PrintSettings PageSetupDialog::settings() const
{
    PrintSettings s = m_settings;
    s.paperSize = m_paper->currentData().toInt();
    s.landscape = m_landscape->isChecked();
    for (int i = 0; i < 4; ++i)
        s.margins[static_cast<std::size_t>(i)] = m_margins[i]->value();
    s.scale = m_scale->value();
    return s;
}

} // namespace vantor
