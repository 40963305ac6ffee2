#include "app/frmMain.h"

#include "app/FormatCommands.h"
#include "app/HelpSupport.h"
#include "app/HelpWindow.h"
#include "app/IconFactory.h"
#include "app/PaneFocusMark.h"
#include "app/ProjectController.h"
#include "app/SheetHost.h"
#include "app/StartUp.h"
#include "app/StatusPanel.h"
#include "app/WelcomePage.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/RowFormulas.h"
#include "sheets/SheetCatalogue.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace vantor {

namespace {

constexpr int kInitialSplitter = 3600; // twips
constexpr int kSheetLabelRole = frmMain::treeKeyRole;

int toPx(int twips)
{
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}

} // namespace

frmMain::frmMain(ProgramState &state, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_workbook(std::make_unique<Workbook>()), m_qtPrompter(this),
      m_prompter(&m_qtPrompter), m_urlOpener([this](const QUrl &url) { return showHelpWindow(url); })
{
    setObjectName("frmMain");
    setWindowTitle("Vantor");
    installFontSubstitutions();

    buildMenus();
    buildToolbars();
    buildBody();
    buildStatusBar();
    fillFixedTree();
    connectSheetEvents();
    registerHandlers();

    // Load: no project, no sheet; the welcome page in the first sheet.
    m_state.projectOpen = false;
    m_state.projectKind = ProjectKind::None;
    m_state.currentSheet = -1;
    m_sheetSwitchGuard = true;
    m_workbook->SetReadOnly(true);
    drawWelcomePage(*m_workbook);
    setFreezeChecked(false);
    setDetailView(true);
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

QAction *frmMain::makeMenuAction(const MenuEntry &entry, QMenu *menu)
{
    QAction *action = menu->addAction(QString::fromStdString(entry.caption));
    action->setObjectName(QString::fromStdString(entry.array + "_" + std::to_string(entry.index)));
    if (!entry.shortcut.empty())
        action->setShortcut(QKeySequence(QString::fromStdString(entry.shortcut), QKeySequence::PortableText));
    action->setIcon(iconFor(entry.icon));
    action->setCheckable(entry.checkable);
    const CommandId id = entry.command;
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    return action;
}

void frmMain::buildMenus()
{
    std::function<void(const std::string &, QMenu *)> fill = [&](const std::string &array, QMenu *menu) {
        m_menus[array] = menu;
        for (const MenuEntry &e : entriesOf(array)) {
            if (e.isSeparator()) {
                menu->addSeparator();
                continue;
            }
            if (!e.submenu.empty()) {
                QMenu *sub = menu->addMenu(QString::fromStdString(e.caption));
                sub->menuAction()->setObjectName(QString::fromStdString(e.array + "_" + std::to_string(e.index)));
                m_menuActions[e.command] = sub->menuAction();
                fill(e.submenu, sub);
                continue;
            }
            m_menuActions[e.command] = makeMenuAction(e, menu);
        }
    };
    for (const TopMenu &top : topMenus()) {
        QMenu *menu = menuBar()->addMenu(QString::fromStdString(top.caption));
        menu->setObjectName(QString::fromStdString(top.name));
        fill(top.array, menu);
        // Each top menu recomputes its entries as it opens: the clipboard and the
        // selected tree entry may have changed since the last refresh.
        connect(menu, &QMenu::aboutToShow, this, [this] { refreshCommands(); });
    }
    m_menuActions[CommandId::ViewToolbar]->setChecked(true);
    m_menuActions[CommandId::ViewStatusBar]->setChecked(true);
}

void frmMain::buildToolbars()
{
    m_tbToolBar = addToolBar("tbToolBar");
    m_tbToolBar->setObjectName("tbToolBar");
    m_tbToolBar->setMovable(false);
    m_tbToolBar->setIconSize(QSize(20, 20));
    addToolBarBreak();
    m_toolbar1 = addToolBar("Toolbar1");
    m_toolbar1->setObjectName("Toolbar1");
    m_toolbar1->setMovable(false);
    m_toolbar1->setIconSize(QSize(20, 20));

    // Font and size boxes over the first buttons of the format toolbar.
    m_cmbFont = new QComboBox(m_toolbar1);
    m_cmbFont->setObjectName("cmbFont");
    m_cmbFont->setEditable(true);
    m_cmbFont->setInsertPolicy(QComboBox::NoInsert);
    m_cmbFont->addItems(QFontDatabase::families());
    m_cmbFont->setCurrentText("宋体");
    m_cmbFont->setMinimumWidth(170);
    m_cmbFont->setToolTip("字体");
    m_cmbSize = new QComboBox(m_toolbar1);
    m_cmbSize->setObjectName("cmbSize");
    m_cmbSize->setEditable(true);
    m_cmbSize->setInsertPolicy(QComboBox::NoInsert);
    for (int size = 6; size <= 12; ++size)
        m_cmbSize->addItem(QString::number(size));
    m_cmbSize->setValidator(new QIntValidator(1, 409, m_cmbSize));
    m_cmbSize->setCurrentText("8");
    m_cmbSize->setMinimumWidth(56);
    m_cmbSize->setToolTip("字号");
    connect(m_cmbFont, &QComboBox::textActivated, this, [this] { runCommand(CommandId::FontName); });
    connect(m_cmbSize, &QComboBox::textActivated, this, [this] { runCommand(CommandId::FontSize); });

    m_alignGroup = new QActionGroup(this);
    m_alignGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);

    bool combosPlaced = false;
    for (const ToolbarButton &b : toolbarButtons()) {
        QToolBar *bar = b.toolbar == ToolbarId::Command ? m_tbToolBar : m_toolbar1;
        if (b.coveredByCombos) {
            if (!combosPlaced) {
                bar->addWidget(m_cmbFont);
                bar->addWidget(m_cmbSize);
                combosPlaced = true;
            }
            continue;
        }
        if (b.isSeparator()) {
            // A leading separator would only draw a stray line at the toolbar's edge.
            if (b.index > 1)
                bar->addSeparator();
            continue;
        }
        QAction *action = new QAction(iconFor(b.icon), QString::fromStdString(b.key), this);
        action->setToolTip(QString::fromStdString(b.key));
        action->setObjectName(QString::fromStdString(b.key));
        action->setCheckable(b.checkable);
        const CommandId id = b.command;
        if (id == CommandId::PaneSwitch) {
            auto *menu = new QMenu(this);
            QAction *detail = menu->addAction(paneDetailCaption);
            QAction *summary = menu->addAction(paneSummaryCaption);
            connect(detail, &QAction::triggered, this, [this] { runCommand(CommandId::PaneDetail); });
            connect(summary, &QAction::triggered, this, [this] { runCommand(CommandId::PaneSummary); });
            m_toolActions[CommandId::PaneDetail] = detail;
            m_toolActions[CommandId::PaneSummary] = summary;
            action->setMenu(menu);
            bar->addAction(action);
            if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action)))
                button->setPopupMode(QToolButton::InstantPopup);
        } else {
            connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
            bar->addAction(action);
        }
        if (id == CommandId::AlignLeft || id == CommandId::AlignCenter || id == CommandId::AlignRight)
            m_alignGroup->addAction(action);
        m_toolActions[id] = action;
    }
}

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
    connect(m_tvTreeView, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { onProjectTreeItem(item); });
    // The keyboard moves the current entry as a click does; changes made by the
    // program itself (filling the tree, a handler choosing an entry) are not clicks.
    connect(m_tvTreeView, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (m_treeHandlerDepth == 0 && m_tvTreeView->hasFocus() && QApplication::mouseButtons() == Qt::NoButton)
            onProjectTreeItem(item);
    });

    m_tvwFixed = new QTreeWidget(m_body);
    m_tvwFixed->setObjectName("tvw_fixed");
    m_tvwFixed->setHeaderHidden(true);
    m_tvwFixed->setColumnCount(1);
    m_tvwFixed->setRootIsDecorated(false); // a flat list
    connect(m_tvwFixed, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { onFixedTreeClicked(item); });
    connect(m_tvwFixed, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (m_treeHandlerDepth == 0 && m_tvwFixed->hasFocus() && QApplication::mouseButtons() == Qt::NoButton)
            onFixedTreeClicked(item);
    });

    m_imgSplitter = new QWidget(m_body);
    m_imgSplitter->setObjectName("imgSplitter");
    m_imgSplitter->setCursor(Qt::SplitHCursor);
    m_imgSplitter->installEventFilter(this);

    m_sheet = createSheetHost(*m_workbook, m_body);
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
    }
    setStatusPanel(1, "就绪");
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
                     Workbook &wb = *m_workbook;
                     wb.DoSetPrintRange(0, wb.Cols() - 1, 0, wb.Rows() - 1);
                     m_sheet->DoPageSetup();
                 }));
    d.setGuard([this](CommandId) { return endEdit(); });
    d.setHandler(C::EditUndo, onSheet([this] { undoOrRedo(false); }));
    d.setHandler(C::EditRedo, onSheet([this] { undoOrRedo(true); }));
    d.setHandler(C::DataTotals, onSheet([this] {
                     const short id = m_state.currentSheet;
                     if (!m_state.isDataEntry() || !isDetailView() || !SheetCatalogue::isDetailKind(id))
                         return;
                     RowFormulas::writeTotals(*m_workbook, id, freezeChecked());
                     m_sheet->DoRedraw();
                 }));
    d.setHandler(C::EditCut, onSheet([this] { m_sheet->DoCut(); }));
    d.setHandler(C::EditCopy, onSheet([this] { m_sheet->DoCopy(); }));
    d.setHandler(C::EditPaste, onSheet([this] {
                     // The toolbar button is enabled without looking at the clipboard.
                     if (clipboardHasText())
                         m_sheet->DoPaste(m_workbook->CurrentCol(), m_workbook->CurrentRow(), true);
                 }));
    d.setHandler(C::EditSelectAll, onSheet([this] {
                     Workbook &wb = *m_workbook;
                     wb.DoSelectRange(0, 3, wb.Cols() - 1, wb.Rows() - 1);
                     m_sheet->DoRedraw();
                 }));
    d.setHandler(C::EditFind, onSheet([this] { m_sheet->DoFind(false); }));

    // Shown checked, without an action.
    d.setHandler(C::ViewToolbar, [this] { m_menuActions[C::ViewToolbar]->setChecked(true); });
    d.setHandler(C::ViewStatusBar, [this] { m_menuActions[C::ViewStatusBar]->setChecked(true); });
    d.setHandler(C::ViewFreezeRows, [this] { toggleFreezeRows(); });

    d.setHandler(C::HelpContents,
                 [this] { openHelp(QCoreApplication::applicationDirPath(), *m_prompter, m_urlOpener); });
    d.setHandler(C::HelpAbout, [this] { QMessageBox::about(this, aboutTitle(), aboutText()); });

    d.setHandler(C::PaneDetail, [this] { showDetailPane(); });
    d.setHandler(C::PaneSummary, [this] { showSummaryPane(); });

    d.setHandler(C::FormatBold, [this] { applyStyleButtons(); });
    d.setHandler(C::FormatItalic, [this] { applyStyleButtons(); });
    d.setHandler(C::FormatUnderline, [this] { applyStyleButtons(); });
    d.setHandler(C::AlignLeft, [this] { applyAlignment(AlignLeft); });
    d.setHandler(C::AlignCenter, [this] { applyAlignment(AlignCenter); });
    d.setHandler(C::AlignRight, [this] { applyAlignment(AlignRight); });
    d.setHandler(C::MergeCells, onSheet([this] {
                     if (!formatsSheet())
                         return;
                     mergeSelection(*m_workbook);
                     m_sheet->DoRedraw();
                 }));
    d.setHandler(C::UnmergeCells, onSheet([this] {
                     if (!formatsSheet())
                         return;
                     unmergeActiveCell(*m_workbook);
                     m_sheet->DoRedraw();
                 }));
    d.setHandler(C::FontName, [this] { applyFontNameBox(); });
    d.setHandler(C::FontSize, [this] { applyFontSizeBox(); });
}

bool frmMain::clipboardHasText() const
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

CommandStates frmMain::commandStates() const
{
    const QTreeWidgetItem *item = m_tvTreeView->currentItem();
    const std::string text = item ? item->text(0).toStdString() : std::string();
    const bool dataNode = item && item->data(0, ProjectController::treeTagRole).toString() == QStringLiteral("d");
    return enabledCommands(EnablingInput::from(m_state, isDetailView(), text, clipboardHasText(), dataNode));
}

void frmMain::refreshCommands()
{
    const CommandStates s = commandStates();
    for (const auto &[id, action] : m_menuActions) {
        const auto entry = menuEntryFor(id);
        // An entry without a handler has no feature behind it yet; a submenu has none of its own.
        const bool live = m_dispatcher.hasHandler(id) || (entry && !entry->submenu.empty());
        action->setEnabled((!entry || entry->offered) && live && s.menuEnabled(id));
    }
    if (s.deleteSheetCaption)
        m_menuActions[CommandId::DeleteSheet]->setText(QString::fromStdString(*s.deleteSheetCaption));
    for (const auto &[id, action] : m_toolActions)
        action->setEnabled(s.toolbarEnabled(id) && (m_dispatcher.hasHandler(id) || id == CommandId::PaneSwitch));
    m_cmbFont->setEnabled(s.toolbarEnabled(CommandId::FontName));
    m_cmbSize->setEnabled(s.toolbarEnabled(CommandId::FontSize));
    m_toolActions[CommandId::PaneDetail]->setText(QString::fromStdString(s.paneFirstCaption));
}

QAction *frmMain::menuAction(CommandId id) const
{
    auto it = m_menuActions.find(id);
    return it == m_menuActions.end() ? nullptr : it->second;
}

QAction *frmMain::toolbarAction(CommandId id) const
{
    auto it = m_toolActions.find(id);
    return it == m_toolActions.end() ? nullptr : it->second;
}

QMenu *frmMain::menuOf(const std::string &array) const
{
    auto it = m_menus.find(array);
    return it == m_menus.end() ? nullptr : it->second;
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
    return m_dispatcher.dispatch(id);
}

void frmMain::onProjectTreeItem(QTreeWidgetItem *item)
{
    if (!item || !endEdit())
        return;
    ++m_treeHandlerDepth;
    if (m_hooks.projectTreeClicked)
        m_hooks.projectTreeClicked(item);
    --m_treeHandlerDepth;
    showActiveCellFormat();
    refreshCommands();
}

void frmMain::undoOrRedo(bool redo)
{
    // Only the detail sheets of a data-entry project are edited by the user; the
    // summary sheets and the read-only view have nothing to undo.
    if (!m_state.isDataEntry() || !isDetailView() || m_workbook->ReadOnly())
        return;
    if (redo ? !m_workbook->CanRedo() : !m_workbook->CanUndo())
        return;
    const std::optional<int> target = redo ? m_workbook->nextRedoSheet() : m_workbook->nextUndoSheet();
    if (!target) {
        m_prompter->message(redo ? "这一步操作不能恢复。" : "这一步操作不能撤消。", "Vantor", MessageIcon::Information);
        return;
    }
    if (*target != m_workbook->CurrentSheet()) {
        // The step belongs to another sheet: show that sheet first, as a click on its
        // entry does (the totals of the sheet left are stored), then undo there.
        const std::string label = m_workbook->DoGetSheetLabel(*target);
        QTreeWidgetItem *entry = nullptr;
        for (int i = 0; i < m_tvTreeView->topLevelItemCount() && !entry; ++i)
            if (m_tvTreeView->topLevelItem(i)->data(0, kSheetLabelRole).toString().toStdString() == label)
                entry = m_tvTreeView->topLevelItem(i);
        if (!entry || !m_hooks.projectTreeClicked) {
            m_prompter->message("这一步操作所在的表格已不在项目中，不能撤消。", "Vantor", MessageIcon::Information);
            return;
        }
        ++m_treeHandlerDepth;
        m_tvTreeView->setCurrentItem(entry);
        m_hooks.projectTreeClicked(entry);
        --m_treeHandlerDepth;
        if (m_workbook->CurrentSheet() != *target)
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

bool frmMain::isDetailView() const
{
    return !m_tvwFixed->isVisibleTo(this);
}

void frmMain::setDetailView(bool detail)
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
    const int index = m_workbook->findSheet(label);
    if (index >= 0)
        m_workbook->DoSetCurrentSheet(index);
}

void frmMain::showSummaryPane()
{
    if (!isDetailView())
        return;
    if (m_state.isDataEntry() && m_hooks.writeSheetTotals)
        m_hooks.writeSheetTotals(m_state.currentSheet);
    setFreezeChecked(false);
    QTreeWidgetItem *item = m_tvwFixed->currentItem();
    const std::string label = item ? item->data(0, kSheetLabelRole).toString().toStdString() : "b0";
    showSheetLabel(label);
    m_workbook->SetReadOnly(true);
    setDetailView(false);
    if (item)
        setStatusPanel(1, item->text(0));
    if (m_state.projectOpen && m_hooks.computeSummarySheet)
        m_hooks.computeSummarySheet(label, m_state.currentNode);
    m_sheet->DoRefreshLayout();
    m_sheet->DoRedraw();
    showActiveCellFormat();
    refreshCommands();
}

void frmMain::showDetailPane()
{
    if (isDetailView())
        return;
    setFreezeChecked(false);
    if (m_state.isSummary()) {
        setStatusPanel(1, "就绪");
    } else if (m_state.isDataEntry()) {
        if (QTreeWidgetItem *item = m_tvTreeView->currentItem()) {
            showSheetLabel(item->data(0, kSheetLabelRole).toString().toStdString());
            // The sheet shown is named in panel 1, as after a click in the tree.
            setStatusPanel(1, item->text(0));
        }
        m_workbook->SetReadOnly(false);
        if (m_state.currentSheet != SheetCatalogue::ContraSheetId) {
            setFreezeChecked(true);
            m_workbook->DoSetUnScrollRow(0, 2);
        }
    }
    setDetailView(true);
    m_sheet->DoRefreshLayout();
    m_sheet->DoRedraw();
    showActiveCellFormat();
    refreshCommands();
}

void frmMain::onFixedTreeClicked(QTreeWidgetItem *item)
{
    if (!m_state.projectOpen || !item || !endEdit())
        return;
    const std::string label = item->data(0, kSheetLabelRole).toString().toStdString();
    showSheetLabel(label);
    m_sheet->DoRedraw();
    setStatusPanel(1, item->text(0));
    if (m_hooks.computeSummarySheet)
        m_hooks.computeSummarySheet(label, m_state.currentNode);
    m_sheet->DoRefreshLayout();
    m_sheet->DoRedraw();
    showActiveCellFormat();
}

bool frmMain::freezeChecked() const
{
    return m_menuActions.at(CommandId::ViewFreezeRows)->isChecked();
}

void frmMain::setFreezeChecked(bool checked)
{
    m_menuActions.at(CommandId::ViewFreezeRows)->setChecked(checked);
}

void frmMain::toggleFreezeRows()
{
    // The action toggled its check mark itself before the handler runs.
    const bool checked = freezeChecked();
    QWidget *view = m_sheet->widget();
    view->hide();
    if (checked) {
        m_workbook->DoSetUnScrollRow(0, 2);
        m_workbook->DoGotoCell(0, 3);
    } else {
        m_workbook->DoSetUnScrollRow(-1, -1);
        m_workbook->DoGotoCell(0, 0);
    }
    m_sheet->DoRefreshLayout();
    view->show();
}

// ---------------------------------------------------------------- status bar

void frmMain::setStatusPanel(int panel, const QString &text)
{
    if (panel >= 1 && panel <= 3)
        m_panels[panel - 1]->setFullText(text);
}

QString frmMain::statusPanel(int panel) const
{
    return panel >= 1 && panel <= 3 ? m_panels[panel - 1]->fullText() : QString();
}

// ---------------------------------------------------------------- sheet events

EditContext frmMain::editContext() const
{
    return {m_state.currentSheet, m_state.isDataEntry() && isDetailView(), freezeChecked()};
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
    if (m_edits.cellLeft(*m_workbook, editContext(), oldCol, oldRow, *m_prompter))
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
    onActiveCellChanged(col, row, m_workbook->CurrentCol(), m_workbook->CurrentRow());
}

void frmMain::onWriteLimit(int *lastCol, int *lastRow) const
{
    DetailCellEdits::limitWrite(*m_workbook, editContext(), lastCol, lastRow);
}

void frmMain::onCellsWritten(int col1, int row1, int col2, int row2, int leftOut)
{
    m_edits.cellsWritten(*m_workbook, editContext(), col1, row1, col2, row2, leftOut, *m_prompter);
    m_sheet->DoRedraw();
}

void frmMain::onRightClick(int, int, const QPoint &globalPos)
{
    refreshCommands();
    m_menus.at("m_Edit")->popup(globalPos);
}

void frmMain::showCellFormat(int col, int row)
{
    if (col < 0 || row < 0)
        return;
    const FormatToolbarState s = formatStateOf(*m_workbook, col, row);
    m_cmbFont->setCurrentText(QString::fromStdString(s.fontName));
    m_cmbSize->setCurrentText(QString::number(s.fontSize));
    m_toolActions.at(CommandId::FormatBold)->setChecked(s.style.bold);
    m_toolActions.at(CommandId::FormatItalic)->setChecked(s.style.italic);
    m_toolActions.at(CommandId::FormatUnderline)->setChecked(s.style.underline);
    m_toolActions.at(CommandId::AlignLeft)->setChecked(s.align == AlignButton::Left);
    m_toolActions.at(CommandId::AlignCenter)->setChecked(s.align == AlignButton::Center);
    m_toolActions.at(CommandId::AlignRight)->setChecked(s.align == AlignButton::Right);
}

// ---------------------------------------------------------------- format toolbar

bool frmMain::formatsSheet() const
{
    return m_state.isDataEntry() && isDetailView() && !m_workbook->ReadOnly();
}

void frmMain::showActiveCellFormat()
{
    showCellFormat(m_workbook->CurrentCol(), m_workbook->CurrentRow());
}

void frmMain::applyStyleButtons()
{
    if (!formatsSheet())
        return;
    const auto size = parseFontSize(m_cmbSize->currentText().toStdString());
    const std::string name = m_cmbFont->currentText().trimmed().toStdString();
    if (!size || name.empty())
        return;
    FontStyle style;
    style.bold = m_toolActions.at(CommandId::FormatBold)->isChecked();
    style.italic = m_toolActions.at(CommandId::FormatItalic)->isChecked();
    style.underline = m_toolActions.at(CommandId::FormatUnderline)->isChecked();
    applyFontStyle(*m_workbook, style, *size, name, freezeChecked());
    m_sheet->DoRedraw();
}

void frmMain::applyAlignment(int code)
{
    if (!formatsSheet())
        return;
    vantor::applyAlignment(*m_workbook, code);
    m_sheet->DoRedraw();
}

void frmMain::applyFontNameBox()
{
    if (!formatsSheet())
        return;
    applyFontName(*m_workbook, m_cmbFont->currentText().trimmed().toStdString(), freezeChecked());
    m_sheet->DoRedraw();
}

void frmMain::applyFontSizeBox()
{
    if (!formatsSheet())
        return;
    if (const auto size = parseFontSize(m_cmbSize->currentText().toStdString())) {
        applyFontSize(*m_workbook, *size, freezeChecked());
        m_sheet->DoRedraw();
    }
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
