#include "app/CommandBars.h"

#include "app/CommandDispatcher.h"
#include "app/CommandEnabling.h"
#include "app/CommandTable.h"
#include "app/FormatCommands.h"
#include "app/IconFactory.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QIntValidator>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace vantor {

CommandBars::CommandBars(QMainWindow &window, std::function<void(CommandId)> run, std::function<void()> beforeMenu)
    : QObject(&window), m_run(std::move(run)), m_beforeMenu(std::move(beforeMenu))
{
    buildMenus(window);
    buildToolbars(window);
}

QAction *CommandBars::makeMenuAction(const MenuEntry &entry, QMenu *menu)
{
    QAction *action = menu->addAction(QString::fromStdString(entry.caption));
    action->setObjectName(QString::fromStdString(entry.array + "_" + std::to_string(entry.index)));
    if (!entry.shortcut.empty())
        action->setShortcut(QKeySequence(QString::fromStdString(entry.shortcut), QKeySequence::PortableText));
    action->setIcon(iconFor(entry.icon));
    action->setCheckable(entry.checkable);
    const CommandId id = entry.command;
    connect(action, &QAction::triggered, this, [this, id] { m_run(id); });
    return action;
}

void CommandBars::buildMenus(QMainWindow &window)
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
        QMenu *menu = window.menuBar()->addMenu(QString::fromStdString(top.caption));
        menu->setObjectName(QString::fromStdString(top.name));
        fill(top.array, menu);
        // Each top menu recomputes its entries as it opens: the clipboard and the
        // selected tree entry may have changed since the last refresh.
        connect(menu, &QMenu::aboutToShow, this, [this] { m_beforeMenu(); });
    }
    m_menuActions[CommandId::ViewToolbar]->setChecked(true);
    m_menuActions[CommandId::ViewStatusBar]->setChecked(true);
}

void CommandBars::buildFontBoxes()
{
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
    connect(m_cmbFont, &QComboBox::textActivated, this, [this] { m_run(CommandId::FontName); });
    connect(m_cmbSize, &QComboBox::textActivated, this, [this] { m_run(CommandId::FontSize); });
}

void CommandBars::buildToolbars(QMainWindow &window)
{
    m_tbToolBar = window.addToolBar("tbToolBar");
    m_tbToolBar->setObjectName("tbToolBar");
    m_tbToolBar->setMovable(false);
    m_tbToolBar->setIconSize(QSize(20, 20));
    window.addToolBarBreak();
    m_toolbar1 = window.addToolBar("Toolbar1");
    m_toolbar1->setObjectName("Toolbar1");
    m_toolbar1->setMovable(false);
    m_toolbar1->setIconSize(QSize(20, 20));
    buildFontBoxes();

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
        QAction *action = new QAction(iconFor(b.icon), QString::fromStdString(b.key), &window);
        action->setToolTip(QString::fromStdString(b.key));
        action->setObjectName(QString::fromStdString(b.key));
        action->setCheckable(b.checkable);
        const CommandId id = b.command;
        if (id == CommandId::PaneSwitch) {
            auto *menu = new QMenu(&window);
            QAction *detail = menu->addAction(paneDetailCaption);
            QAction *summary = menu->addAction(paneSummaryCaption);
            connect(detail, &QAction::triggered, this, [this] { m_run(CommandId::PaneDetail); });
            connect(summary, &QAction::triggered, this, [this] { m_run(CommandId::PaneSummary); });
            m_toolActions[CommandId::PaneDetail] = detail;
            m_toolActions[CommandId::PaneSummary] = summary;
            action->setMenu(menu);
            bar->addAction(action);
            if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action)))
                button->setPopupMode(QToolButton::InstantPopup);
        } else {
            connect(action, &QAction::triggered, this, [this, id] { m_run(id); });
            bar->addAction(action);
        }
        if (id == CommandId::AlignLeft || id == CommandId::AlignCenter || id == CommandId::AlignRight)
            m_alignGroup->addAction(action);
        m_toolActions[id] = action;
    }
}

void CommandBars::refresh(const CommandStates &s, const CommandDispatcher &dispatcher)
{
    for (const auto &[id, action] : m_menuActions) {
        const auto entry = menuEntryFor(id);
        // An entry without a handler has no feature behind it yet; a submenu has none of its own.
        const bool live = dispatcher.hasHandler(id) || (entry && !entry->submenu.empty());
        action->setEnabled((!entry || entry->offered) && live && s.menuEnabled(id));
    }
    if (s.deleteSheetCaption)
        m_menuActions[CommandId::DeleteSheet]->setText(QString::fromStdString(*s.deleteSheetCaption));
    for (const auto &[id, action] : m_toolActions)
        action->setEnabled(s.toolbarEnabled(id) && (dispatcher.hasHandler(id) || id == CommandId::PaneSwitch));
    m_cmbFont->setEnabled(s.toolbarEnabled(CommandId::FontName));
    m_cmbSize->setEnabled(s.toolbarEnabled(CommandId::FontSize));
    m_toolActions[CommandId::PaneDetail]->setText(QString::fromStdString(s.paneFirstCaption));
}

QAction *CommandBars::menuAction(CommandId id) const
{
    auto it = m_menuActions.find(id);
    return it == m_menuActions.end() ? nullptr : it->second;
}

QAction *CommandBars::toolbarAction(CommandId id) const
{
    auto it = m_toolActions.find(id);
    return it == m_toolActions.end() ? nullptr : it->second;
}

QMenu *CommandBars::menuOf(const std::string &array) const
{
    auto it = m_menus.find(array);
    return it == m_menus.end() ? nullptr : it->second;
}

void CommandBars::showFormat(const FormatToolbarState &s)
{
    m_cmbFont->setCurrentText(QString::fromStdString(s.fontName));
    m_cmbSize->setCurrentText(QString::number(s.fontSize));
    m_toolActions.at(CommandId::FormatBold)->setChecked(s.style.bold);
    m_toolActions.at(CommandId::FormatItalic)->setChecked(s.style.italic);
    m_toolActions.at(CommandId::FormatUnderline)->setChecked(s.style.underline);
    m_toolActions.at(CommandId::AlignLeft)->setChecked(s.align == AlignButton::Left);
    m_toolActions.at(CommandId::AlignCenter)->setChecked(s.align == AlignButton::Center);
    m_toolActions.at(CommandId::AlignRight)->setChecked(s.align == AlignButton::Right);
}

FontStyle CommandBars::styleButtons() const
{
    FontStyle style;
    style.bold = m_toolActions.at(CommandId::FormatBold)->isChecked();
    style.italic = m_toolActions.at(CommandId::FormatItalic)->isChecked();
    style.underline = m_toolActions.at(CommandId::FormatUnderline)->isChecked();
    return style;
}

} // namespace vantor
