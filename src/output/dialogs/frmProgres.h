#pragma once

// 请稍候...: the progress window of a detail print. It stays on top without taking the focus,
// keeps the main window disabled while it is up, and repaints on every step: a bar that is full
// at step 10, the step's text and the percentage.

#include "output/PrintProgress.h"

#include <QDialog>
#include <QPointer>

class QFrame;
class QLabel;

namespace vantor {

class frmProgres : public QDialog, public PrintProgress {
    Q_OBJECT
public:
    static constexpr int BarWidth = 240; // pixels at step 10

    // `mainWindow` is disabled while the window is shown.
    explicit frmProgres(QWidget *mainWindow);
    ~frmProgres() override;

    void ShowProgress(double step, const std::string &text) override;
    void finished() override;

    int barWidth() const;
    QString stepText() const;
    QString percentText() const;

private:
    QPointer<QWidget> m_mainWindow;
    QFrame *m_bar;
    QLabel *m_info0;
    QLabel *m_info1;
};

} // namespace vantor
