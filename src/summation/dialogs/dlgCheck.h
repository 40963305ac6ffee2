#pragma once

// The findings window of 数据 > 数据检查: one line per finding (severity, node, sheet code
// and name, cell, what is wrong), the two rate limits (kept per user), and the buttons to
// check again, print, and save the list as PDF or CSV. Double-clicking a finding asks the
// main window, through findingActivated, to show its sheet and select its cell. The check
// itself is the caller's (a function run on every refresh); the window only shows it.

// moc cannot parse the standard headers the domain types pull in.
#ifndef Q_MOC_RUN
#include "summation/ProjectCheck.h"
#endif

#include <QDialog>

#include <functional>

class QDoubleSpinBox;
class QLabel;
class QPrinter;
class QTableWidget;

namespace vantor {

class dlgCheck : public QDialog {
    Q_OBJECT
public:
    using Runner = std::function<CheckReport(const CheckLimits &limits)>;

    explicit dlgCheck(Runner runner, QWidget *parent = nullptr);

    // Runs the check again with the limits shown and fills the list.
    void refresh();
    const CheckReport &report() const { return m_report; }
    QTableWidget *table() const { return m_table; }

    // The limits the user last chose (100% and 50% until then), and storing them.
    static CheckLimits storedLimits();
    static void storeLimits(const CheckLimits &limits);

    // The list as an HTML table, as printed and saved as PDF.
    QString html() const;
    // Saving; false (the user has been told) when the file could not be written.
    bool saveCsv(const QString &path);
    bool savePdf(const QString &path);

signals:
    // The index of the finding in report().findings.
    void findingActivated(int index);

private:
    void print();
    void askAndSave(bool pdf);
    void printTo(QPrinter &printer) const;

    Runner m_runner;
    CheckReport m_report;
    QTableWidget *m_table = nullptr;
    QLabel *m_summary = nullptr;
    QDoubleSpinBox *m_rowLimit = nullptr;
    QDoubleSpinBox *m_sheetLimit = nullptr;
};

} // namespace vantor
