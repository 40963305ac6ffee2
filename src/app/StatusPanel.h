#pragma once

// A panel of the status bar: shows its text cut to the panel's width with "…" (the
// full text in the tooltip), so a long project name never widens the window.

#include <QLabel>

namespace vantor {

class StatusPanel : public QLabel {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget *parent = nullptr);

    void setFullText(const QString &text);
    QString fullText() const { return m_full; }
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void elide();
    QString m_full;
};

} // namespace vantor
