#include "sheet_component/widget/CellEditor.h"

#include "sheet_component/engine/DisplayFormat.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/CellFonts.h"
#include "sheet_component/widget/CellWidget.h"
#include "sheet_component/widget/SheetViewport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace vantor {

namespace {

// The text the editor starts with: the formula as written, or the value as stored.
QString editText(const Workbook &wb, int col, int row)
{
    const Sheet &s = wb.sheet(wb.CurrentSheet());
    if (s.hasFormula(col, row))
        return QStringLiteral("=") + QString::fromStdString(s.formulaText(col, row));
    const CellValue v = s.value(col, row);
    if (v.isNumber())
        return QString::fromStdString(formatGeneralNumber(v.number()));
    if (v.isText())
        return QString::fromStdString(v.text());
    if (v.isError())
        return QString::fromLatin1(cellErrorText(v.error()));
    return {};
}

} // namespace

CellEditor::CellEditor(CellWidget &view, const SheetViewport &grid) : QObject(&view), m_view(view), m_grid(grid)
{
    m_editor = new QLineEdit(view.viewport());
    m_editor->setFrame(false);
    m_editor->hide();
    m_editor->installEventFilter(this);
    connect(m_editor, &QLineEdit::textEdited, this,
            [this](const QString &text) { emit m_view.textChanged(m_col, m_row, text); });
}

CellEditor::~CellEditor() = default;

void CellEditor::drop()
{
    m_editor->removeEventFilter(this);
    m_editing = false;
}

void CellEditor::open(int col, int row, const QString &text, bool replace)
{
    Workbook &wb = m_view.workbook();
    const CellFormat &format = wb.cellFormat(col, row);
    m_col = col;
    m_row = row;
    m_original = editText(wb, col, row);
    m_typingMode = replace;
    m_editor->setFont(CellFonts::makeFont(wb.DoGetCellFont(col, row), m_view.zoom()));
    switch (format.alignment) {
    case AlignRight:
    case AlignRight2:
        m_editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case AlignCenter:
        m_editor->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        break;
    default:
        m_editor->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    m_editor->setInputMask(QString::fromStdString(format.inputMask));
    m_editing = true;
    if (replace) {
        m_editor->setText(QString());
        m_editor->setCursorPosition(0);
        if (!text.isEmpty())
            m_editor->insert(text); // raises textEdited, hence textChanged
    } else {
        m_editor->setText(m_original);
        m_editor->end(false);
    }
    place();
    m_editor->show();
    m_editor->setFocus();
}

void CellEditor::place()
{
    if (!m_editing)
        return;
    QRect rect = m_grid.cellRect(m_col, m_row);
    const int top = m_grid.headerHeight();
    m_editor->setGeometry(rect.adjusted(1, 1, -1, -1));
    m_editor->setVisible(rect.bottom() > top && rect.right() > m_grid.headerWidth());
}

bool CellEditor::commit()
{
    if (!m_editing || m_committing)
        return false;
    QString text = m_editor->text();
    if (!m_editor->inputMask().isEmpty() && !m_editor->hasAcceptableInput() && text != m_original) {
        // A mask with nothing typed in clears the cell; a half-filled one would store a broken
        // value: the user completes it or presses Escape.
        const bool blank = std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
        if (!blank) {
            m_editor->setFocus();
            return false;
        }
        text.clear();
    }
    const bool changed = m_typingMode || text != m_original;
    if (changed) {
        bool allowed = true;
        m_committing = true; // the handler's message box must not commit again
        emit m_view.inputToStore(m_col, m_row, &text, &allowed);
        m_committing = false;
        if (!allowed) {
            m_editor->setFocus();
            return false;
        }
    }
    m_committing = true;
    m_editing = false;
    m_editor->hide();
    {
        Workbook &wb = m_view.workbook();
        UndoGroup group(wb);
        if (changed && wb.sheet(wb.CurrentSheet()).isValid(m_col, m_row))
            wb.setCellInput(m_col, m_row, text.toStdString());
        emit m_view.editCommitted(m_col, m_row);
    }
    m_committing = false;
    m_view.setFocus();
    m_view.viewport()->update();
    if (changed)
        emit m_view.repaintRequest();
    return true;
}

void CellEditor::cancel()
{
    if (!m_editing)
        return;
    m_editing = false;
    m_editor->hide();
    m_view.setFocus();
    m_view.viewport()->update();
}

bool CellEditor::forwardKey(QKeyEvent *event)
{
    // A key the editor did not use comes back up from it: it goes on to the window (and its
    // shortcuts), never back into the editor. Keys that reach the view while the editor is open
    // but has no focus (scrolled out of sight) belong to the editor, once.
    if (m_forwardingKey || m_editor->hasFocus())
        return false;
    m_forwardingKey = true;
    QApplication::sendEvent(m_editor, event);
    m_forwardingKey = false;
    return true;
}

bool CellEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor && m_editing) {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            const bool shift = key->modifiers() & Qt::ShiftModifier;
            switch (key->key()) {
            case Qt::Key_Escape:
                cancel();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                emit leaveRequested(0, shift ? -1 : 1);
                return true;
            case Qt::Key_Tab:
                emit leaveRequested(1, 0);
                return true;
            case Qt::Key_Backtab:
                emit leaveRequested(-1, 0);
                return true;
            case Qt::Key_Up:
                emit leaveRequested(0, -1);
                return true;
            case Qt::Key_Down:
                emit leaveRequested(0, 1);
                return true;
            case Qt::Key_Left:
            case Qt::Key_Right:
                // With Shift or Ctrl the key selects or jumps inside the text and leaves the
                // cell alone; only a plain arrow ends a typed entry.
                if (m_typingMode && !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
                    emit leaveRequested(key->key() == Qt::Key_Left ? -1 : 1, 0);
                    return true;
                }
                break;
            default:
                break;
            }
        } else if (event->type() == QEvent::FocusOut) {
            auto *focus = static_cast<QFocusEvent *>(event);
            // Leaving for a pop-up (the editor's own context menu) keeps editing.
            if (focus->reason() != Qt::PopupFocusReason)
                commit();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vantor
