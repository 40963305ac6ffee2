#pragma once

// The frame that shows which pane of the main window has the keyboard: a ring in the
// highlight colour laid over the edge of the pane it follows (the project tree, the
// summary list or the spreadsheet), moving and hiding with it. It never takes the
// mouse or the keyboard; the inside of the ring belongs to the pane.

#include <QPointer>
#include <QWidget>

namespace vantor {

class PaneFocusMark : public QWidget {
    Q_OBJECT
public:
    static constexpr int thickness = 2;

    explicit PaneFocusMark(QWidget *parent);

    // Follows `pane` (a sibling of the mark), or hides when it is nullptr.
    void follow(QWidget *pane);
    QWidget *pane() const { return m_pane; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QPointer<QWidget> m_pane;
};

} // namespace vantor
