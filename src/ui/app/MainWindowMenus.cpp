// The main window's menu bars, toolbar, status bar and keys, made from the
// menus as data, and the queue that runs their commands once their event has
// returned.
#include "app/MainWindow.h"

#include "app/KeySequences.h"
#include "app/LockIndicators.h"
#include "app/Menus.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

namespace kv::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

constexpr int kToolbarButtonWidth = 94;

// A field where keys are typed text: there the keypad's keys are characters.
bool takesTypedText(const QWidget* widget) {
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        return combo->isEditable();
    }
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
}

} // namespace

void MainWindow::buildMenuBar(MenuBarId id) {
    m_menuBarId = id;
    // Only the bar's entries change; the menus themselves stay.
    menuBar()->clear();
    for (QMenu* menu : menusOf(id)) {
        menuBar()->addMenu(menu);
    }
}

const std::vector<QMenu*>& MainWindow::menusOf(MenuBarId id) {
    std::vector<QMenu*>& menus = m_menuBars[id];
    if (!menus.empty()) {
        return menus;
    }
    for (const Menu& menuDefinition : kv::menuBar(id).menus) {
        auto* menu = new QMenu(qs(menuDefinition.title), this);
        menus.push_back(menu);
        const Menu* source = &menuDefinition;
        connect(menu, &QMenu::aboutToShow, this, [this, menu, source] { fillMenu(menu, *source); });
        connect(menu, &QMenu::triggered, this, [this](QAction* action) {
            if (action->data().isValid()) {
                runLater(static_cast<CommandId>(action->data().toInt()));
            }
        });
        fillMenu(menu, menuDefinition);
    }
    return menus;
}

void MainWindow::runLater(CommandId id) {
    QMetaObject::invokeMethod(
        this, [this, id] { m_controller.execute(id); }, Qt::QueuedConnection);
}

void MainWindow::addCommandItem(QMenu* menu, CommandId id, const QString& text) {
    QString shown = text;
    const QList<QKeySequence> keys = keySequencesOf(id);
    if (!keys.isEmpty() && !keyNamedInMenuText(id)) {
        shown += QLatin1Char('\t') + keys.constFirst().toString(QKeySequence::NativeText);
    }
    QAction* action = menu->addAction(shown);
    action->setData(static_cast<int>(id));
    action->setStatusTip(qs(statusText(id)));
    const CommandState state = m_controller.commandState(id);
    action->setEnabled(state.enabled);
    action->setCheckable(state.checked);
    action->setChecked(state.checked);
}

void MainWindow::addWindowList(QMenu* menu) {
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    if (windows.isEmpty()) {
        return;
    }
    menu->addSeparator();
    int number = 1;
    for (QMdiSubWindow* sub : windows) {
        QAction* action =
            menu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle().trimmed()));
        action->setCheckable(true);
        action->setChecked(sub == m_mdi->activeSubWindow());
        action->setStatusTip(QString::fromUtf8(kWindowListStatusText));
        const QPointer<QMdiSubWindow> target(sub);
        connect(action, &QAction::triggered, this, [this, target] {
            QMetaObject::invokeMethod(
                this,
                [this, target] {
                    if (target) {
                        if (target->isMinimized()) {
                            target->showNormal();
                        }
                        m_mdi->setActiveSubWindow(target);
                    }
                },
                Qt::QueuedConnection);
        });
    }
}

void MainWindow::fillMenu(QMenu* menu, const Menu& definition) {
    menu->clear();
    const QString home = QDir::homePath();
    for (const MenuItem& item : definition.items) {
        switch (item.kind) {
        case MenuItem::Kind::Command:
            addCommandItem(menu, item.id, qs(item.text));
            break;
        case MenuItem::Kind::Separator:
            menu->addSeparator();
            break;
        case MenuItem::Kind::RecentFiles:
            for (std::size_t i = 0; i < m_controller.recentFiles().size(); ++i) {
                addCommandItem(menu, recentFileCommand(static_cast<int>(i)),
                               qs(m_controller.recentFiles().menuText(i, home.toStdString())));
            }
            break;
        case MenuItem::Kind::WindowList:
            addWindowList(menu);
            break;
        }
    }
}

QAction* MainWindow::menuAction(CommandId id) {
    const MenuBarId shown = m_menuBarId.value_or(MenuBarId::NoCompany);
    const MenuBar& definition = kv::menuBar(shown);
    const std::vector<QMenu*>& menus = menusOf(shown);
    for (std::size_t i = 0; i < menus.size() && i < definition.menus.size(); ++i) {
        fillMenu(menus[i], definition.menus[i]);
        for (QAction* action : menus[i]->actions()) {
            if (action->data().isValid() && action->data().toInt() == static_cast<int>(id)) {
                return action;
            }
        }
    }
    return nullptr;
}

// ---- toolbar, status bar, keys ----

void MainWindow::buildToolbar() {
    m_toolbar = addToolBar(QString::fromUtf8(kToolbarTitle));
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_toolbar->setStyleSheet(QStringLiteral("QToolBar { spacing: 3px; padding: 2px 4px; }"));
    for (const ToolbarButton& button : kToolbarButtons) {
        QAction* action = m_toolbar->addAction(QString::fromUtf8(button.label));
        action->setStatusTip(qs(statusText(button.id)));
        action->setToolTip(qs(statusText(button.id)));
        const CommandId id = button.id;
        connect(action, &QAction::triggered, this, [this, id] { runLater(id); });
        if (auto* widget = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(action))) {
            widget->setAutoRaise(false);
            widget->setFixedWidth(kToolbarButtonWidth);
        }
        m_toolbarActions[id] = action;
    }
}

QAction* MainWindow::toolbarAction(CommandId id) const {
    const auto found = m_toolbarActions.find(id);
    return found == m_toolbarActions.end() ? nullptr : found->second;
}

void MainWindow::buildStatusBar() {
    m_message = new QLabel(QString::fromUtf8(kIdleStatusText), this);
    m_message->setIndent(2);
    statusBar()->addWidget(m_message, 1);
    m_locks = new LockIndicators(statusBar());
}

void MainWindow::buildKeys() {
    // The keys work whatever menu is shown; a disabled command ignores them.
    for (const CommandId id : allCommands()) {
        for (const KeyChord& chord : commandKeys(id)) {
            if (onNumericKeypad(chord)) {
                // Qt matches no shortcut to a keypad key on every platform: see eventFilter.
                m_keypadCommands.emplace(toKeySequence(chord)[0].key(), id);
                continue;
            }
            auto* action = new QAction(this);
            action->setShortcut(toKeySequence(chord));
            action->setShortcutContext(Qt::WindowShortcut);
            connect(action, &QAction::triggered, this, [this, id] { runLater(id); });
            addAction(action);
        }
    }
    qApp->installEventFilter(this);
}

// The numeric keypad's +, - and * run their commands wherever the focus is
// in the main window, except in a field where they are typed text.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return QMainWindow::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers others = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    const auto command = m_keypadCommands.find(key->key());
    auto* widget = static_cast<QWidget*>(watched);
    if (!key->modifiers().testFlag(Qt::KeypadModifier) || others != Qt::NoModifier ||
        command == m_keypadCommands.end() || widget->window() != this || takesTypedText(widget)) {
        return QMainWindow::eventFilter(watched, event);
    }
    if (!m_controller.commandState(command->second).enabled) {
        return QMainWindow::eventFilter(watched, event);
    }
    runLater(command->second);
    return true;
}

void MainWindow::updateCommandStates() {
    for (const auto& [id, action] : m_toolbarActions) {
        action->setEnabled(m_controller.commandState(id).enabled);
    }
}

} // namespace kv::ui
