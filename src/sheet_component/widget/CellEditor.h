#pragma once

// The in-place editor of a sheet view: a line edit laid over the cell being edited. It starts
// with the cell's content (F2, a double-click) or empty (typing), honours the cell's font,
// alignment and input mask, and stores the text as typed input in one undo step together with
// what the view's handlers do on editCommitted. Enter, Tab and the vertical arrows (and plain
// left and right arrows in a typed entry) ask the view to commit and move; Escape cancels.
//
// It reports through the view's own signals (textChanged, inputToStore, editCommitted,
// repaintRequest), so whoever listens to the view need not know it exists.

#include <QObject>
#include <QString>

class QKeyEvent;
class QLineEdit;

namespace vantor {

class CellWidget;
class SheetViewport;

class CellEditor : public QObject {
    Q_OBJECT
public:
    // The line edit is a child of the view's viewport; both must outlive the editor.
    CellEditor(CellWidget &view, const SheetViewport &grid);
    ~CellEditor() override;

    QLineEdit *lineEdit() const { return m_editor; }
    bool isEditing() const { return m_editing; }
    // True while the text is being stored (the handlers may show message boxes meanwhile).
    bool isCommitting() const { return m_committing; }

    // Opens the editor on a cell the view has already cleared for editing.
    void open(int col, int row, const QString &text, bool replace);
    // Stores the text; false when nothing was being edited or the text is refused (an input
    // mask not filled in, a handler of inputToStore said no), in which case the editor stays open.
    bool commit();
    void cancel();
    // Follows the cell after scrolling, zooming or a layout change.
    void place();
    // A key that reached the view while the editor is open: true when it was handed on to the
    // editor (once); false when it came back up from the editor and belongs to the window.
    bool forwardKey(QKeyEvent *event);
    // The view is going away: an open edit is dropped without reporting the focus loss.
    void drop();

signals:
    // Commit the edit and move the current cell by (dCol, dRow).
    void leaveRequested(int dCol, int dRow);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CellWidget &m_view;
    const SheetViewport &m_grid;
    QLineEdit *m_editor = nullptr;
    bool m_editing = false;
    bool m_typingMode = false; // started by typing: arrow keys commit and move
    bool m_committing = false;
    bool m_forwardingKey = false; // a key handed to the editor is on its way
    int m_col = 0, m_row = 0;
    QString m_original;
};

} // namespace vantor
