#include "summation/dialogs/dlgCheck.h"

#include "common/AtomicFile.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include <exception>

namespace vantor {

namespace {

constexpr const char *kOrganisation = "Vantor";
constexpr const char *kApplication = "Vantor";
constexpr const char *kRowKey = "Check/RowRateLimit";
constexpr const char *kSheetKey = "Check/SheetRateLimit";
constexpr const char *kTitle = "数据检查";

QString qs(const std::string &text)
{
    return QString::fromStdString(text);
}

Amount percentOf(double value)
{
    return Amount::fromDouble(value).value_or(Amount()).rounded(2);
}

QStringList columns()
{
    return {"级别", "结点", "表号", "表名", "单元格", "说明"};
}

QStringList cells(const CheckFinding &f)
{
    return {ProjectCheck::severityText(f.severity),
            qs(f.nodeName),
            qs(f.sheetCode),
            qs(f.sheetName),
            qs(f.cellName()),
            qs(f.message)};
}

} // namespace

dlgCheck::dlgCheck(Runner runner, QWidget *parent) : QDialog(parent), m_runner(std::move(runner))
{
    setObjectName("dlgCheck");
    setWindowTitle(kTitle);
    resize(900, 480);

    auto *limits = new QHBoxLayout;
    const CheckLimits stored = storedLimits();
    const auto spin = [this, limits](const char *label, Amount value, const char *name) {
        auto *box = new QDoubleSpinBox(this);
        box->setObjectName(name);
        box->setRange(0.01, 100000);
        box->setDecimals(2);
        box->setSuffix("%");
        box->setValue(value.toDouble());
        limits->addWidget(new QLabel(label, this));
        limits->addWidget(box);
        return box;
    };
    m_rowLimit = spin("单行增值率超出 ±", stored.rowRate, "rowLimit");
    m_sheetLimit = spin("整表增值率超出 ±", stored.sheetRate, "sheetLimit");
    limits->addStretch();

    m_table = new QTableWidget(0, static_cast<int>(columns().size()), this);
    m_table->setObjectName("findings");
    m_table->setHorizontalHeaderLabels(columns());
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row >= 0 && row < static_cast<int>(m_report.findings.size()))
            emit findingActivated(row);
    });

    m_summary = new QLabel(this);
    auto *buttons = new QHBoxLayout;
    const auto button = [this, buttons](const char *text, auto slot) {
        auto *b = new QPushButton(text, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button("重新检查(&R)", [this] { refresh(); });
    button("打印(&P)...", [this] { print(); });
    button("存为PDF...", [this] { askAndSave(true); });
    button("存为CSV...", [this] { askAndSave(false); });
    buttons->addStretch();
    button("关闭", [this] { close(); });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(limits);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_summary);
    layout->addLayout(buttons);
}

CheckLimits dlgCheck::storedLimits()
{
    QSettings settings(kOrganisation, kApplication);
    CheckLimits limits;
    bool ok = false;
    const double row = settings.value(kRowKey).toDouble(&ok);
    if (ok && row > 0)
        limits.rowRate = percentOf(row);
    const double sheet = settings.value(kSheetKey).toDouble(&ok);
    if (ok && sheet > 0)
        limits.sheetRate = percentOf(sheet);
    return limits;
}

void dlgCheck::storeLimits(const CheckLimits &limits)
{
    QSettings settings(kOrganisation, kApplication);
    settings.setValue(kRowKey, limits.rowRate.toDouble());
    settings.setValue(kSheetKey, limits.sheetRate.toDouble());
    settings.sync();
}

void dlgCheck::refresh()
{
    CheckLimits limits{percentOf(m_rowLimit->value()), percentOf(m_sheetLimit->value())};
    storeLimits(limits);
    try {
        m_report = m_runner(limits);
    } catch (const std::exception &e) {
        m_report = {};
        QMessageBox::critical(this, kTitle, qs(std::string(e.what()) + "\n检查没有完成。"));
    }
    m_table->setRowCount(static_cast<int>(m_report.findings.size()));
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const QStringList texts = cells(m_report.findings[static_cast<std::size_t>(r)]);
        for (int c = 0; c < texts.size(); ++c)
            m_table->setItem(r, c, new QTableWidgetItem(texts[c]));
    }
    m_table->resizeColumnsToContents();
    m_summary->setText(qs(m_report.summary()));
}

QString dlgCheck::html() const
{
    QString text = "<h3>" + QString(kTitle) + "</h3><p>" + qs(m_report.summary()).toHtmlEscaped() +
                   "</p><table border=1 cellspacing=0 cellpadding=3><tr>";
    for (const QString &c : columns())
        text += "<th>" + c + "</th>";
    text += "</tr>";
    for (const CheckFinding &f : m_report.findings) {
        text += "<tr>";
        for (const QString &c : cells(f))
            text += "<td>" + c.toHtmlEscaped() + "</td>";
        text += "</tr>";
    }
    return text + "</table>";
}

void dlgCheck::printTo(QPrinter &printer) const
{
    QTextDocument document;
    document.setHtml(html());
    document.print(&printer);
}

void dlgCheck::print()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}

bool dlgCheck::saveCsv(const QString &path)
{
    try {
        // A byte-order mark lets spreadsheet programs read the Chinese text as UTF-8.
        AtomicFile::writeFile(path.toStdString(), "\xEF\xBB\xBF" + ProjectCheck::csv(m_report));
    } catch (const std::exception &e) {
        QMessageBox::critical(this, kTitle, qs(std::string(e.what()) + "\n检查结果没有保存。"));
        return false;
    }
    return true;
}

bool dlgCheck::savePdf(const QString &path)
{
    // The printer writes a file of its own; it goes to a temporary name first so that a
    // failure never leaves a half-written file under the chosen name.
    const QString temp = path + ".part";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(temp);
    printTo(printer);
    if (!QFile::exists(temp) || (QFile::exists(path) && !QFile::remove(path)) || !QFile::rename(temp, path)) {
        QFile::remove(temp);
        QMessageBox::critical(this, kTitle, "文件" + path + "无法写入，检查结果没有保存。");
        return false;
    }
    return true;
}

void dlgCheck::askAndSave(bool pdf)
{
    const QString path =
        QFileDialog::getSaveFileName(this, "保存", QString(), pdf ? "PDF文件(*.pdf)" : "CSV文件(*.csv)");
    if (path.isEmpty())
        return;
    const QString suffix = pdf ? ".pdf" : ".csv";
    const QString target = path.endsWith(suffix, Qt::CaseInsensitive) ? path : path + suffix;
    if (pdf)
        savePdf(target);
    else
        saveCsv(target);
}

} // namespace vantor
