#include "app/frmMain.h"

#include "app/CommandBars.h"
#include "app/FormatCommands.h"
#include "app/HelpSupport.h"
#include "app/HelpWindow.h"
#include "app/PaneFocusMark.h"
#include "app/ProjectTreeView.h"
#include "app/SheetHost.h"
#include "app/StartUp.h"
#include "app/StatusPanel.h"
#include "app/WelcomePage.h"
#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/RowFormulas.h"
#include "sheets/SheetCatalogue.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QShortcut>
#include <QStatusBar>
#include <QTreeWidget>

namespace vantor {

namespace {

constexpr int kInitialSplitter = 3600; // twips
// Entries of the summary list carry their sheet label in this data role.
constexpr int kSheetLabelRole = Qt::UserRole;

int toPx(int twips)
{
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}

} // namespace

frmMain::frmMain(ProjectDocument &document, QWidget *parent)
    : QMainWindow(parent), m_doc(document), m_state(document.state()), m_workbook(document.workbook()),
      m_qtPrompter(this), m_prompter(&m_qtPrompter),
      m_urlOpener([this](const QUrl &url) { return showHelpWindow(url); })
{
    setObjectName("frmMain");
    setWindowTitle("Vantor");
    installFontSubstitutions();

    m_bars = new CommandBars(
        *this, [this](CommandId id) { runCommand(id); }, [this] { refreshCommands(); });
    buildBody();
    buildStatusBar();
    fillFixedTree();
    connectSheetEvents();
    registerHandlers();

    // Load: the welcome page in the first sheet, read-only.
    m_workbook.SetReadOnly(true);
    drawWelcomePage(m_workbook);
    showDetailView(m_doc.detailView());
    menuAction(CommandId::ViewFreezeRows)->setChecked(m_doc.freezeRows());
    observeDocument();
    refreshCommands();

    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { refreshCommands(); });

    // Tab and its variants move between cells inside the sheet; F6 moves between the panes.
    auto *nextPane = new QShortcut(QKeySequence(Qt::Key_F6), this);
    auto *previousPane = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
    connect(nextPane, &QShortcut::activated, this, [this] { cyclePaneFocus(true); });
    connect(previousPane, &QShortcut::activated, this, [this] { cyclePaneFocus(false); });
    connect(qApp, &QApplication::focusChanged, this, [this] { m_focusMark->follow(focusedPane()); });
    // The keyboard starts in the sheet, whatever comes first in the toolbars.
    focusSheet();

    setMinimumWidth(toPx(minWindowWidth));
    resize(1180, 760);
}

frmMain::~frmMain()
{
    // Focus moves while the panes are torn down: nobody follows it any more.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // The view refers to the workbook and to this window: it goes first.
    m_sheet.reset();
}

// ---------------------------------------------------------------- building

void frmMain::buildBody()
{
    m_body = new QWidget(this);
    m_body->setObjectName("body");
    setCentralWidget(m_body);
    m_body->installEventFilter(this);

    m_tvTreeView = new QTreeWidget(m_body);
    m_tvTreeView->setObjectName("tvTreeView");
    m_tvTreeView->setHeaderHidden(true);
    m_tvTreeView->setColumnCount(1);
    m_treeView = new ProjectTreeView(m_doc, m_tvTreeView);
    connect(m_treeView, &ProjectTreeView::activated, this, [this](const std::string &key) { onProjectTreeEntry(key); });

    m_tvwFixed = new QTreeWidget(m_body);
    m_tvwFixed->setObjectName("tvw_fixed");
    m_tvwFixed->setHeaderHidden(true);
    m_tvwFixed->setColumnCount(1);
    m_tvwFixed->setRootIsDecorated(false); // a flat list
    connect(m_tvwFixed, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { onFixedTreeClicked(item); });
    // The keyboard moves the current entry as a click does.
    connect(m_tvwFixed, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item)
            m_doc.setSummarySheet(item->data(0, kSheetLabelRole).toString().toStdString(), item->text(0).toStdString());
        if (!m_fixedTreeHandling && m_tvwFixed->hasFocus() && QApplication::mouseButtons() == Qt::NoButton)
            onFixedTreeClicked(item);
    });

    m_imgSplitter = new QWidget(m_body);
    m_imgSplitter->setObjectName("imgSplitter");
    m_imgSplitter->setCursor(Qt::SplitHCursor);
    m_imgSplitter->installEventFilter(this);

    m_sheet = createSheetHost(m_doc.selection(), m_body);
    m_sheet->widget()->setObjectName("Cell1");

    m_picSplitter = new QWidget(m_body);
    m_picSplitter->setObjectName("picSplitter");
    m_picSplitter->setAutoFillBackground(true);
    QPalette pal = m_picSplitter->palette();
    pal.setColor(QPalette::Window, QColor(0x60, 0x60, 0x60));
    m_picSplitter->setPalette(pal);
    m_picSplitter->hide();
    m_focusMark = new PaneFocusMark(m_body);

    m_layout.splitterX = kInitialSplitter;
}

void frmMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName("sbStatusBar");
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new StatusPanel(bar);
        m_panels[i]->setObjectName(QString("panel%1").arg(i + 1));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        m_panels[i]->setMinimumWidth(160);
        bar->addWidget(m_panels[i], i == 0 ? 2 : 3);
        m_panels[i]->setFullText(m_doc.status(i + 1));
    }
}

void frmMain::fillFixedTree()
{
    for (const SummarySheetEntry &e : SheetCatalogue::summarySheets()) {
        const QString caption = QString::fromStdString(SheetCatalogue::defaultCaption(e.id));
        auto *item = new QTreeWidgetItem(m_tvwFixed, QStringList{caption});
        item->setData(0, kSheetLabelRole, QString::fromStdString(SheetCatalogue::label(e.id)));
    }
    m_tvwFixed->expandAll();
    m_tvwFixed->setCurrentItem(m_tvwFixed->topLevelItem(0));
}

void frmMain::observeDocument()
{
    ProjectDocument *doc = &m_doc;
    connect(doc, &ProjectDocument::changed, this, [this] { refreshCommands(); });
    connect(doc, &ProjectDocument::detailViewChanged, this, [this](bool detail) { showDetailView(detail); });
    connect(doc, &ProjectDocument::freezeRowsChanged, this,
            [this](bool frozen) { menuAction(CommandId::ViewFreezeRows)->setChecked(frozen); });
    connect(doc, &ProjectDocument::statusChanged, this, [this](int panel, const QString &text) {
        if (panel >= 1 && panel <= 3)
            m_panels[panel - 1]->setFullText(text);
    });
    connect(doc, &ProjectDocument::titleChanged, this, [this](const QString &title) { setWindowTitle(title); });
    connect(doc, &ProjectDocument::sheetChanged, this, [this] {
        m_sheet->DoRefreshLayout();
        m_sheet->DoRedraw();
    });
}

void frmMain::connectSheetEvents()
{
    SheetEvents ev;
    ev.mayEdit = [this](int col, int row) { return onMayEdit(col, row); };
    ev.mayAct = [this](int col, int row) { return onMayAct(col, row); };
    ev.permission = [] { return false; };
    ev.textChanged = [this](int col, int row, const std::string &) { onTextChanged(col, row); };
    ev.activeCellChanged = [this](int oc, int orow, int nc, int nr) { onActiveCellChanged(oc, orow, nc, nr); };
    ev.rightClick = [this](int col, int row, const QPoint &pos) { onRightClick(col, row, pos); };
    ev.repainted = [this] { m_sheet->DoRedraw(); };
    ev.inputToStore = [this](int col, int row, std::string &text) { return onInputToStore(col, row, text); };
    ev.editCommitted = [this](int col, int row) { onEditCommitted(col, row); };
    ev.writeLimit = [this](int *lastCol, int *lastRow) { onWriteLimit(lastCol, lastRow); };
    ev.cellsWritten = [this](int c1, int r1, int c2, int r2, int leftOut) { onCellsWritten(c1, r1, c2, r2, leftOut); };
    m_sheet->setEvents(std::move(ev));
}

// ---------------------------------------------------------------- commands

void frmMain::registerHandlers()
{
    using C = CommandId;
    auto &d = m_dispatcher;
    // Commands on the sheet need an open project; without one they end silently.
    auto onSheet = [this](auto f) {
        return [this, f] {
            if (m_state.projectOpen)
                f();
        };
    };

    d.setHandler(C::FileExit, [this] { close(); });
    d.setHandler(C::FilePageSetup, onSheet([this] {
                     Workbook &wb = m_workbook;
                     wb.DoSetPrintRange(0, wb.Cols() - 1, 0, wb.Rows() - 1);
                     m_sheet->DoPageSetup();
                 }));
    d.setGuard([this](CommandId) { return endEdit(); });
    d.setHandler(C::EditUndo, onSheet([this] { undoOrRedo(false); }));
    d.setHandler(C::EditRedo, onSheet([this] { undoOrRedo(true); }));
    d.setHandler(C::DataTotals, onSheet([this] {
                     const short id = m_state.currentSheet;
                     if (!m_state.isDataEntry() || !m_doc.detailView() || !SheetCatalogue::isDetailKind(id))
                         return;
                     RowFormulas::writeTotals(m_workbook, id, m_doc.freezeRows());
                     m_sheet->DoRedraw();
                 }));
    d.setHandler(C::EditCut, onSheet([this] { m_sheet->DoCut(); }));
    d.setHandler(C::EditCopy, onSheet([this] { m_sheet->DoCopy(); }));
    d.setHandler(C::EditPaste, onSheet([this] {
                     // The toolbar button is enabled without looking at the clipboard.
                     if (clipboardHasText())
                         m_sheet->DoPaste(m_doc.selection().CurrentCol(), m_doc.selection().CurrentRow(), true);
                 }));
    d.setHandler(C::EditSelectAll, onSheet([this] {
                     m_doc.selection().DoSelectRange(0, 3, m_workbook.Cols() - 1, m_workbook.Rows() - 1);
                     m_sheet->DoRedraw();
                 }));
    d.setHandler(C::EditFind, onSheet([this] { m_sheet->DoFind(false); }));

    // Shown checked, without an action.
    d.setHandler(C::ViewToolbar, [this] { menuAction(C::ViewToolbar)->setChecked(true); });
    d.setHandler(C::ViewStatusBar, [this] { menuAction(C::ViewStatusBar)->setChecked(true); });
    d.setHandler(C::ViewFreezeRows, [this] { toggleFreezeRows(); });

    d.setHandler(C::HelpContents,
                 [this] { openHelp(QCoreApplication::applicationDirPath(), *m_prompter, m_urlOpener); });
    d.setHandler(C::HelpAbout, [this] { QMessageBox::about(this, aboutTitle(), aboutText()); });

    d.setHandler(C::PaneDetail, [this] { showDetailPane(); });
    d.setHandler(C::PaneSummary, [this] { showSummaryPane(); });
}

bool frmMain::clipboardHasText() const
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

CommandStates frmMain::commandStates() const
{
    const TreeEntry *entry = m_doc.currentTreeEntry();
    const std::string text = entry ? entry->text : std::string();
    const bool dataNode = entry && entry->tag == "d";
    return enabledCommands(EnablingInput::from(m_state, m_doc.detailView(), text, clipboardHasText(), dataNode));
}

void frmMain::refreshCommands()
{
    m_bars->refresh(commandStates(), m_dispatcher);
}

QAction *frmMain::menuAction(CommandId id) const
{
    return m_bars->menuAction(id);
}

QAction *frmMain::toolbarAction(CommandId id) const
{
    return m_bars->toolbarAction(id);
}

QMenu *frmMain::menuOf(const std::string &array) const
{
    return m_bars->menuOf(array);
}

QComboBox *frmMain::fontBox() const
{
    return m_bars->fontBox();
}

QComboBox *frmMain::sizeBox() const
{
    return m_bars->sizeBox();
}

QTreeWidget *frmMain::projectTree() const
{
    return m_tvTreeView;
}

bool frmMain::endEdit()
{
    if (!m_sheet || !m_sheet->isEditing())
        return true;
    if (m_sheet->endEditing())
        return true;
    m_prompter->message("单元格中的内容没有按格式输入完整。请输入完整，或按Esc键放弃这次输入。", "Vantor",
                        MessageIcon::Information);
    m_sheet->widget()->setFocus();
    return false;
}

bool frmMain::showHelpWindow(const QUrl &url)
{
    if (!m_help)
        m_help = new HelpWindow(this);
    if (!m_help->showDocument(url))
        return false;
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
    return true;
}

bool frmMain::runCommand(CommandId id)
{
    const bool ran = m_dispatcher.dispatch(id);
    // The check mark toggled itself as the entry was chosen: it shows the option as it is.
    if (id == CommandId::ViewFreezeRows)
        menuAction(id)->setChecked(m_doc.freezeRows());
    return ran;
}

void frmMain::onProjectTreeEntry(const std::string &key)
{
    if (key.empty() || !endEdit())
        return;
    m_treeView->setHandling(true);
    if (m_hooks.projectTreeClicked)
        m_hooks.projectTreeClicked(key);
    m_treeView->setHandling(false);
    showActiveCellFormat();
    refreshCommands();
}

void frmMain::undoOrRedo(bool redo)
{
    // Only the detail sheets of a data-entry project are edited by the user; the
    // summary sheets and the read-only view have nothing to undo.
    if (!m_state.isDataEntry() || !m_doc.detailView() || m_workbook.ReadOnly())
        return;
    if (redo ? !m_workbook.CanRedo() : !m_workbook.CanUndo())
        return;
    const std::optional<int> target = redo ? m_workbook.nextRedoSheet() : m_workbook.nextUndoSheet();
    if (!target) {
        m_prompter->message(redo ? "这一步操作不能恢复。" : "这一步操作不能撤消。", "Vantor", MessageIcon::Information);
        return;
    }
    if (*target != m_workbook.CurrentSheet()) {
        // The step belongs to another sheet: show that sheet first, as a click on its
        // entry does (the totals of the sheet left are stored), then undo there.
        const std::string label = m_workbook.DoGetSheetLabel(*target);
        if (!m_doc.entry(label) || !m_hooks.projectTreeClicked) {
            m_prompter->message("这一步操作所在的表格已不在项目中，不能撤消。", "Vantor", MessageIcon::Information);
            return;
        }
        m_treeView->setHandling(true);
        m_doc.setCurrentEntry(label);
        m_hooks.projectTreeClicked(label);
        m_treeView->setHandling(false);
        if (m_workbook.CurrentSheet() != *target)
            return;
    }
    // Nothing is being typed any more: the view going to the replayed cell is not a cell left.
    m_edits.forget();
    if (redo)
        m_sheet->DoRedo();
    else
        m_sheet->DoUndo();
    m_sheet->DoRedraw();
    showActiveCellFormat();
    refreshCommands();
}

// ---------------------------------------------------------------- panes

void frmMain::showDetailView(bool detail)
{
    // The keyboard stays in the left pane when the other list takes its place.
    const bool leftHadFocus = focusedPane() == (detail ? m_tvwFixed : m_tvTreeView);
    m_tvTreeView->setVisible(detail);
    m_tvwFixed->setVisible(!detail);
    if (leftHadFocus)
        (detail ? m_tvTreeView : m_tvwFixed)->setFocus(Qt::OtherFocusReason);
}

QWidget *frmMain::focusedPane() const
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || !m_sheet)
        return nullptr;
    for (QWidget *pane : {static_cast<QWidget *>(m_tvTreeView), m_sheet->widget(), static_cast<QWidget *>(m_tvwFixed)})
        if (pane == focus || pane->isAncestorOf(focus))
            return pane;
    return nullptr;
}

void frmMain::focusSheet()
{
    m_sheet->widget()->setFocus(Qt::OtherFocusReason);
}

void frmMain::cyclePaneFocus(bool forward)
{
    QList<QWidget *> panes;
    for (QWidget *pane : {static_cast<QWidget *>(m_tvTreeView), m_sheet->widget(), static_cast<QWidget *>(m_tvwFixed)})
        if (pane->isVisibleTo(this))
            panes.append(pane);
    QWidget *current = focusedPane();
    const auto at = panes.indexOf(current);
    if (current == m_sheet->widget() && !endEdit())
        return;
    const auto n = panes.size();
    QWidget *next = at < 0 ? m_sheet->widget() : panes.at((at + (forward ? 1 : n - 1)) % n);
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void frmMain::showSheetLabel(const std::string &label)
{
    const int index = m_workbook.findSheet(label);
    if (index >= 0)
        m_workbook.DoSetCurrentSheet(index);
}

void frmMain::showSummaryPane()
{
    if (!m_doc.detailView())
        return;
    if (m_state.isDataEntry() && m_hooks.writeSheetTotals)
        m_hooks.writeSheetTotals(m_state.currentSheet);
    m_doc.setFreezeRows(false);
    const std::string label = m_doc.summaryLabel().empty() ? "b0" : m_doc.summaryLabel();
    showSheetLabel(label);
    m_workbook.SetReadOnly(true);
    m_doc.setDetailView(false);
    if (!m_doc.summaryLabel().empty())
        m_doc.setStatus(1, m_doc.summaryCaption());
    if (m_state.projectOpen && m_hooks.computeSummarySheet)
        m_hooks.computeSummarySheet(label, m_state.currentNode);
    m_sheet->DoRefreshLayout();
    m_sheet->DoRedraw();
    showActiveCellFormat();
    refreshCommands();
}

void frmMain::showDetailPane()
{
    if (m_doc.detailView())
        return;
    m_doc.setFreezeRows(false);
    if (m_state.isSummary()) {
        m_doc.setStatus(1, QStringLiteral("就绪"));
    } else if (m_state.isDataEntry()) {
        if (const TreeEntry *entry = m_doc.currentTreeEntry()) {
            showSheetLabel(entry->key);
            // The sheet shown is named in panel 1, as after a click in the tree.
            m_doc.setStatus(1, entry->text);
        }
        m_workbook.SetReadOnly(false);
        if (m_state.currentSheet != SheetCatalogue::ContraSheetId) {
            m_doc.setFreezeRows(true);
            m_workbook.DoSetUnScrollRow(0, 2);
        }
    }
    m_doc.setDetailView(true);
    m_sheet->DoRefreshLayout();
    m_sheet->DoRedraw();
    showActiveCellFormat();
    refreshCommands();
}

void frmMain::showSummarySheet(const std::string &label)
{
    for (int i = 0; i < m_tvwFixed->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_tvwFixed->topLevelItem(i);
        if (item->data(0, kSheetLabelRole).toString().toStdString() == label) {
            m_fixedTreeHandling = true;
            m_tvwFixed->setCurrentItem(item);
            m_fixedTreeHandling = false;
            onFixedTreeClicked(item);
        }
    }
}

void frmMain::onFixedTreeClicked(QTreeWidgetItem *item)
{
    if (!m_state.projectOpen || !item || !endEdit())
        return;
    const std::string label = item->data(0, kSheetLabelRole).toString().toStdString();
    showSheetLabel(label);
    m_sheet->DoRedraw();
    m_doc.setStatus(1, item->text(0));
    if (m_hooks.computeSummarySheet)
        m_hooks.computeSummarySheet(label, m_state.currentNode);
    m_sheet->DoRefreshLayout();
    m_sheet->DoRedraw();
    showActiveCellFormat();
}

void frmMain::toggleFreezeRows()
{
    const bool checked = !m_doc.freezeRows();
    m_doc.setFreezeRows(checked);
    QWidget *view = m_sheet->widget();
    view->hide();
    if (checked) {
        m_workbook.DoSetUnScrollRow(0, 2);
        m_doc.selection().DoGotoCell(0, 3);
    } else {
        m_workbook.DoSetUnScrollRow(-1, -1);
        m_doc.selection().DoGotoCell(0, 0);
    }
    m_sheet->DoRefreshLayout();
    view->show();
}

QString frmMain::statusPanel(int panel) const
{
    return panel >= 1 && panel <= 3 ? m_panels[panel - 1]->fullText() : QString();
}

// ---------------------------------------------------------------- sheet events

EditContext frmMain::editContext() const
{
    return {m_state.currentSheet, m_state.isDataEntry() && m_doc.detailView(), m_doc.freezeRows()};
}

bool frmMain::onMayEdit(int col, int row)
{
    return m_edits.mayEdit(m_state.currentSheet, col, row);
}

bool frmMain::onMayAct(int, int) const
{
    return m_state.projectOpen;
}

void frmMain::onTextChanged(int, int)
{
    m_edits.textTyped();
}

void frmMain::onActiveCellChanged(int oldCol, int oldRow, int newCol, int newRow)
{
    showCellFormat(newCol, newRow);
    if (m_edits.cellLeft(m_workbook, editContext(), oldCol, oldRow, *m_prompter))
        m_sheet->DoRedraw();
}

bool frmMain::onInputToStore(int col, int row, std::string &text)
{
    return DetailCellEdits::acceptInput(editContext(), col, row, text, *m_prompter);
}

void frmMain::onEditCommitted(int col, int row)
{
    // An edit ended by a command, a click elsewhere or Enter leaves its cell here, inside the
    // edit's undo step.
    onActiveCellChanged(col, row, m_doc.selection().CurrentCol(), m_doc.selection().CurrentRow());
}

void frmMain::onWriteLimit(int *lastCol, int *lastRow) const
{
    DetailCellEdits::limitWrite(m_workbook, editContext(), lastCol, lastRow);
}

void frmMain::onCellsWritten(int col1, int row1, int col2, int row2, int leftOut)
{
    m_edits.cellsWritten(m_workbook, editContext(), col1, row1, col2, row2, leftOut, *m_prompter);
    m_sheet->DoRedraw();
}

void frmMain::onRightClick(int, int, const QPoint &globalPos)
{
    refreshCommands();
    menuOf("m_Edit")->popup(globalPos);
}

void frmMain::showCellFormat(int col, int row)
{
    if (col < 0 || row < 0)
        return;
    m_bars->showFormat(formatStateOf(m_workbook, col, row));
}

void frmMain::showActiveCellFormat()
{
    showCellFormat(m_doc.selection().CurrentCol(), m_doc.selection().CurrentRow());
}

// ---------------------------------------------------------------- layout

WindowMetrics frmMain::windowMetrics() const
{
    // The toolbars and the menu bar lie above the body, the status bar below it; the
    // twips arithmetic then places the panes exactly over the body.
    const QRect body = m_body->geometry();
    WindowMetrics m;
    m.windowWidth = body.width() * twipsPerPixel + rightAllowance;
    m.innerHeight = height() * twipsPerPixel;
    m.commandBarHeight = body.top() * twipsPerPixel / 2;
    m.formatBarHeight = m.commandBarHeight;
    m.statusBarHeight = (height() - body.bottom() - 1) * twipsPerPixel;
    return m;
}

void frmMain::sizeControls(int xTwips)
{
    m_layout = vantor::sizeControls(xTwips, windowMetrics(), m_layout);
    applyLayout();
}

void frmMain::layoutPanes()
{
    sizeControls(m_layout.splitter.width > 0 ? m_layout.splitter.left : m_layout.splitterX);
}

void frmMain::applyLayout()
{
    const int bodyTop = m_body->geometry().top();
    auto place = [bodyTop](QWidget *w, const TwipRect &r) {
        w->setGeometry(toPx(r.left), toPx(r.top) - bodyTop, toPx(r.width), toPx(r.height));
    };
    place(m_tvTreeView, m_layout.tree);
    place(m_tvwFixed, m_layout.tree);
    place(m_imgSplitter, m_layout.splitter);
    place(m_sheet->widget(), m_layout.sheet);
}

// ---------------------------------------------------------------- events

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_body && event->type() == QEvent::Resize) {
        layoutPanes();
        return false;
    }
    if (watched == m_imgSplitter) {
        auto *me = dynamic_cast<QMouseEvent *>(event);
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const TwipRect shadow = splitterShadow(m_layout.splitter);
            m_shadowLeft = shadow.left;
            m_picSplitter->setGeometry(toPx(shadow.left), toPx(shadow.top) - m_body->geometry().top(),
                                       std::max(1, toPx(shadow.width)), toPx(shadow.height));
            m_picSplitter->show();
            m_picSplitter->raise();
            m_splitterMoving = true;
            return true;
        }
        case QEvent::MouseMove:
            if (m_splitterMoving && me) {
                const int mouseX = static_cast<int>(me->position().x()) * twipsPerPixel;
                m_shadowLeft = splitterShadowLeft(m_layout.splitter.left, mouseX, windowMetrics().windowWidth);
                m_picSplitter->move(toPx(m_shadowLeft), m_picSplitter->y());
            }
            return true;
        case QEvent::MouseButtonRelease:
            if (m_splitterMoving) {
                sizeControls(m_shadowLeft);
                m_picSplitter->hide();
                m_splitterMoving = false;
            }
            return true;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!endEdit()) {
        event->ignore();
        return;
    }
    if (m_state.projectOpen && m_hooks.closeProject && !m_hooks.closeProject()) {
        event->ignore();
        return;
    }
    // Tool windows and dialogs owned by this window go first, newest first.
    const QList<QWidget *> children = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if ((*it)->isWindow() && (*it)->isVisible())
            (*it)->close();
    event->accept();
}

} // namespace vantor
