#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/AppTexts.h"
#include "app/ChildWindow.h"
#include "app/FileDialogs.h"
#include "app/Icons.h"
#include "app/KeySequences.h"
#include "app/LockIndicators.h"
#include "app/RecentFilesStore.h"
#include "common/FormWindow.h"
#include "common/WindowContent.h"
#include "grid/GridWidget.h"
#include "interaction/Prompter.h" // Reports
#include "reports/JournalWindowContent.h"
#include "reports/LedgerWindowContent.h"
#include "reports/ReportTexts.h"
#include "reports/ReportWindowContent.h"
#include "reports/TrialBalanceWindowContent.h"
#include "reports/VatReportWindowContent.h"
#include "voucher/VoucherForm.h"
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherListWindow.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <cstdio>

namespace kv::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

constexpr int kToolbarButtonWidth = 94;

QSize defaultWindowSize(WindowKind kind) {
    switch (kind) {
    case WindowKind::VoucherList:
        return {550, 350};
    case WindowKind::IncomeStatement:
    case WindowKind::BalanceSheet:
        return {620, 460};
    case WindowKind::VatReport:
        return {830, 640};
    default:
        return {600, 420};
    }
}

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

const QString kOpenMaximizedKey = QStringLiteral("Fönster/Maximerade");

} // namespace

bool windowsOpenMaximized() {
    return QSettings().value(kOpenMaximizedKey, true).toBool();
}

void setWindowsOpenMaximized(bool maximized) {
    QSettings().setValue(kOpenMaximizedKey, maximized);
}

MainWindow::MainWindow(AppController& controller, QWidget* parent)
    : QMainWindow(parent), m_controller(controller), m_mdi(new QMdiArea(this)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setWindowIcon(programIcon());
    setContextMenuPolicy(Qt::NoContextMenu);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setBackground(QColor(0xab, 0xab, 0xab));
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::subWindowActivated);
    buildToolbar();
    buildStatusBar();
    buildKeys();
    m_storedRecent = m_controller.recentFiles().files();
    m_controller.setHost(this);
    // Vouchers: the voucher dialog shows its model.
    registerFormContent(FormKind::Voucher, [](FormModel& model, AppController& app) {
        return new VoucherForm(static_cast<VoucherFormModel&>(model), app);
    });
    shellChanged();
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    m_controller.setHost(nullptr);
    m_mdi->disconnect(this); // the area's last signals would reach a window half gone
    // The windows let go of the company before they go.
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        sub->disconnect(this); // as they close with the main window, they change state
        if (auto* child = qobject_cast<ChildWindow*>(sub)) {
            child->content()->detachFromDocument();
        }
    }
}

// ---- menus ----

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

void MainWindow::storeRecentFilesIfChanged() {
    if (m_controller.recentFiles().files() != m_storedRecent) {
        m_storedRecent = m_controller.recentFiles().files();
        storeRecentFiles(m_controller.recentFiles());
    }
}

// ---- the window host ----

ChildWindow* MainWindow::window(WindowKind kind) const {
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        auto* child = qobject_cast<ChildWindow*>(sub);
        if (child != nullptr && child->kind() == kind) {
            return child;
        }
    }
    return nullptr;
}

void MainWindow::openCompanyWindow(WindowKind kind) {
    CTallvingeDoc* doc = m_controller.company();
    if (doc == nullptr) {
        return;
    }
    WindowContent* content = nullptr;
    if (isReportWindow(kind)) {
        auto* report = new ReportWindowContent(kind, *doc);
        report->gridWidget().setPrompter(&m_controller.prompter());
        report->setPrompter(&m_controller.prompter()); // Reports
        content = report;
    } else if (kind == WindowKind::Journal) { // Reports
        content = new JournalWindowContent(*doc, m_controller, [this] { m_controller.runChartGuidance(); });
    } else if (kind == WindowKind::TrialBalance) {
        content = new TrialBalanceWindowContent(*doc, m_controller);
    } else if (kind == WindowKind::Ledger) {
        content = new LedgerWindowContent(*doc, m_controller);
    } else if (kind == WindowKind::VatReport) {
        content = new VatReportWindowContent(*doc, m_controller);
    } else if (kind == WindowKind::VoucherList) { // Vouchers
        content = new VoucherListWindow(*doc, m_controller);
    } else {
        content = new EmptyWindowContent;
    }
    connect(content, &WindowContent::commandStateChanged, this, &MainWindow::updateCommandStates);
    auto* child = new ChildWindow(kind, m_controller, content);
    connect(child, &QMdiSubWindow::windowStateChanged, this, [this] { showTitle(); });
    // Each new window a title bar further down and to the right, as the
    // windows of a desktop program open; kept inside the area.
    bool othersShown = false;
    for (QMdiSubWindow* other : m_mdi->subWindowList()) {
        othersShown = othersShown || !other->isMinimized();
    }
    const QMdiSubWindow* current = m_mdi->currentSubWindow();
    const bool othersMaximized = current != nullptr && current->isMaximized();
    const auto others = static_cast<int>(m_mdi->subWindowList().size());
    m_mdi->addSubWindow(child);
    child->setGeometry(cascadedPlace(*child, kind == WindowKind::VoucherList ? -1 : others));
    // The first window fills the area, as a desktop user expects, unless the
    // user has chosen otherwise; later ones open cascaded over it, or
    // maximised while the others are.
    if (othersShown ? othersMaximized : windowsOpenMaximized()) {
        child->showMaximized();
    } else {
        child->show();
    }
    m_mdi->setActiveSubWindow(child);
    content->setFocus();
    // As in a desktop program, a window's set-up questions come once it shows.
    const QPointer<WindowContent> shown(content);
    content->firstUpdate();
    if (shown) {
        shown->setFocus();
    }
}

void MainWindow::rememberWindowChoice() const {
    // The user's choice, maximised windows or not, as the current window shows it.
    if (const QMdiSubWindow* current = m_mdi->currentSubWindow()) {
        setWindowsOpenMaximized(current->isMaximized());
    }
}

void MainWindow::closeCompanyWindow(WindowKind kind) {
    rememberWindowChoice();
    if (ChildWindow* child = window(kind)) {
        child->closeByProgram();
    }
}

void MainWindow::activateCompanyWindow(WindowKind kind) {
    if (ChildWindow* child = window(kind)) {
        if (child->isMinimized()) {
            child->showNormal();
        }
        m_mdi->setActiveSubWindow(child);
    }
}

WindowContent* MainWindow::activeContent() const {
    const auto active = m_controller.windows().active();
    ChildWindow* child = active ? window(*active) : nullptr;
    return child != nullptr ? child->content() : nullptr;
}

void MainWindow::describe(AppState& state) const {
    state.toolbarVisible = m_toolbarShown;
    state.statusBarVisible = m_statusBarShown;
    state.minimizedWindows = 0;
    for (const QMdiSubWindow* sub : m_mdi->subWindowList()) {
        state.minimizedWindows += sub->isMinimized() ? 1 : 0;
    }
    state.view = {};
    if (const WindowContent* content = activeContent()) {
        content->describe(state.view);
    }
}

void MainWindow::performWindowCommand(CommandId id) {
    switch (id) {
    case CommandId::Print:
        print(false);
        break;
    case CommandId::PrintPreview:
        print(true);
        break;
    case CommandId::PrintSetup:
        printerSetup();
        break;
    case CommandId::SaveAsPdf: // Reports
        saveAsPdf();
        break;
    case CommandId::ViewToolbar:
        m_toolbarShown = !m_toolbarShown;
        m_toolbar->setVisible(m_toolbarShown);
        break;
    case CommandId::ViewStatusBar:
        m_statusBarShown = !m_statusBarShown;
        statusBar()->setVisible(m_statusBarShown);
        break;
    case CommandId::Cascade:
        cascade();
        break;
    case CommandId::CloseWindow:
        m_mdi->closeActiveSubWindow(); // as the user's close box: the last window asks first
        break;
    case CommandId::TileHorizontally:
        tileHorizontally();
        break;
    case CommandId::ArrangeIcons:
        arrangeIcons();
        break;
    case CommandId::NextWindow:
        m_mdi->activateNextSubWindow();
        break;
    case CommandId::PreviousWindow:
        m_mdi->activatePreviousSubWindow();
        break;
    case CommandId::About:
        AboutDialog(this).exec();
        break;
    case CommandId::Calendar:
        CalendarDialog(this).exec();
        break;
    default:
        if (WindowContent* content = activeContent()) {
            content->perform(id);
        }
        break;
    }
}

void MainWindow::shellChanged() {
    showTitle();
    const MenuBarId id = m_controller.menuBar();
    if (m_menuBarId != id) {
        buildMenuBar(id);
    }
    updateCommandStates();
    storeRecentFilesIfChanged();
}

// The one place of the title: the company's name with an asterisk while it
// has unsaved changes, and the maximised window's title after it. Qt's MDI
// writes its own composition of the two into the title when a window is
// maximised, from a title it remembered, and hands the window's own
// modified state (never set) to the main window; changeEvent puts this
// title and the company's state back.
void MainWindow::showTitle() {
    const CTallvingeDoc* company = m_controller.company();
    QString title =
        qs(m_controller.mainWindowTitle()) + (company != nullptr ? QStringLiteral("[*]") : QString());
    if (const QMdiSubWindow* active = m_mdi->activeSubWindow(); active != nullptr && active->isMaximized()) {
        title += QStringLiteral(" - [%1]").arg(active->windowTitle());
    }
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
    const bool modified = company != nullptr && company->isModified();
    if (isWindowModified() != modified) {
        setWindowModified(modified);
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::ModifiedChange) {
        showTitle();
    }
}

void MainWindow::closeMainWindow() {
    close();
}

// ---- modeless forms ----

void MainWindow::registerFormContent(FormKind kind, FormContentFactory factory) {
    m_formContents[kind] = std::move(factory);
}

FormWindow* MainWindow::formWindow(const FormModel& form) const {
    for (FormWindow* window : findChildren<FormWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (window->model() == &form) {
            return window;
        }
    }
    return nullptr;
}

void MainWindow::openForm(FormModel& form) {
    const auto factory = m_formContents.find(form.kind());
    if (factory == m_formContents.end()) {
        return; // no subsystem shows this kind of form in this program
    }
    auto* window = new FormWindow(form, factory->second(form, m_controller), m_controller, this);
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::closeForm(FormModel& form) {
    if (FormWindow* window = formWindow(form)) {
        window->closeByProgram();
    }
}

void MainWindow::activateForm(FormModel& form) {
    if (FormWindow* window = formWindow(form)) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

void MainWindow::subWindowActivated(QMdiSubWindow* sub) {
    if (sub == nullptr) {
        // The main window itself lost the focus; the last active window stays current.
        sub = m_mdi->currentSubWindow();
    }
    auto* child = qobject_cast<ChildWindow*>(sub);
    m_controller.windowActivated(child != nullptr ? std::optional<WindowKind>(child->kind()) : std::nullopt);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_controller.mayQuit()) {
        event->ignore();
        return;
    }
    storeRecentFilesIfChanged();
    rememberWindowChoice();
    event->accept();
}

// ---- arranging and printing ----

// The place of the window that is index-th in a cascade (-1: the voucher
// list's own corner): a title bar further down and to the right for each,
// big enough to show a report's columns, kept inside the area.
QRect MainWindow::cascadedPlace(const ChildWindow& child, int index) const {
    const int step = child.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &child);
    const QPoint place = index < 0 ? QPoint(10, 10) : QPoint(index % 8, index % 8) * step;
    QSize size = defaultWindowSize(child.kind());
    if (m_mdi->isVisible()) { // before the main window shows, the area has no size yet
        const QRect area = m_mdi->viewport()->rect();
        size = (area.size() * 3 / 4)
                   .expandedTo(size)
                   .boundedTo(QSize(std::max(area.width() - place.x(), 200),
                                    std::max(area.height() - place.y(), 150)));
    }
    return {place, size};
}

// "Överlappande": the shown windows restored and laid over each other as
// they open, each as big as a newly opened one (Qt's own cascade shrinks
// them to their smallest size).
void MainWindow::cascade() {
    int index = 0;
    for (QMdiSubWindow* sub : m_mdi->subWindowList(QMdiArea::StackingOrder)) {
        auto* child = qobject_cast<ChildWindow*>(sub);
        if (child == nullptr || sub->isMinimized()) {
            continue;
        }
        if (sub->isMaximized()) {
            sub->showNormal();
        }
        sub->setGeometry(cascadedPlace(*child, index++));
    }
}

void MainWindow::tileHorizontally() {
    QList<QMdiSubWindow*> shown;
    int iconHeight = 0;
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (sub->isMinimized()) {
            iconHeight = std::max(iconHeight, sub->height());
        } else {
            if (sub->isMaximized()) {
                sub->showNormal();
            }
            shown.append(sub);
        }
    }
    if (shown.isEmpty()) {
        return;
    }
    // One above the other, each the full width; room is left for the icons.
    const QRect area = m_mdi->viewport()->rect().adjusted(0, 0, 0, -iconHeight);
    const int height = area.height() / static_cast<int>(shown.size());
    for (int i = 0; i < shown.size(); ++i) {
        const int top = area.top() + i * height;
        const int bottom = i == shown.size() - 1 ? area.bottom() + 1 : top + height;
        shown[i]->setGeometry(area.left(), top, area.width(), bottom - top);
    }
}

void MainWindow::arrangeIcons() {
    const QRect area = m_mdi->viewport()->rect();
    int x = area.left();
    int y = area.bottom() + 1;
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (!sub->isMinimized()) {
            continue;
        }
        if (x > area.left() && x + sub->width() > area.right()) {
            x = area.left();
            y -= sub->height();
        }
        sub->move(x, y - sub->height());
        x += sub->width();
    }
}

void MainWindow::print(bool preview) {
    WindowContent* content = activeContent();
    if (content == nullptr) {
        return;
    }
    if (preview) {
        QPrintPreviewDialog dialog(m_printer.get(), this);
        dialog.setWindowTitle(QString::fromUtf8(kPrintPreviewTitle));
        connect(&dialog, &QPrintPreviewDialog::paintRequested, content, &WindowContent::print);
        dialog.resize(size() * 9 / 10);
        dialog.exec();
        // Reports: the window shows where the preview was.
        const auto* previewed = dialog.findChild<QPrintPreviewWidget*>();
        const QPointer<WindowContent> shown(content);
        if (previewed != nullptr && shown) {
            shown->previewEnded(previewed->currentPage());
        }
        return;
    }
    QPrintDialog dialog(m_printer.get(), this);
    dialog.setWindowTitle(QString::fromUtf8(kPrintTitle));
    // The listing goes to a printer; "Spara som PDF..." writes files.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (const int pages = content->pageCount(m_printer.get()); pages > 0) {
        dialog.setMinMax(1, pages);
    }
    if (dialog.exec() == QDialog::Accepted) {
        content->print(m_printer.get());
    }
}

// Reports: the printed form of the active window as a PDF file. It is
// written beside the chosen name first and takes its place only when whole.
void MainWindow::saveAsPdf() {
    WindowContent* content = activeContent();
    if (content == nullptr) {
        return;
    }
    QString name =
        chooseFile(this, {QString::fromUtf8(kSparaSomPdf).chopped(3), QStringLiteral("PDF-fil (*.pdf)"),
                          QDir::homePath(), QString(), QStringLiteral("pdf"), true});
    if (name.isEmpty()) {
        return;
    }
    if (!name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        name += QStringLiteral(".pdf");
    }
    const QString temporary = name + QStringLiteral(".tmp");
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setResolution(300);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
    pdf.setOutputFileName(temporary);
    if (const auto active = m_controller.windows().active(); active && m_controller.company() != nullptr) {
        pdf.setDocName(qs(printedDocumentTitle(*active, m_controller.company()->title())));
    }
    content->print(&pdf);
    // The rename replaces an old file at once, or leaves it as it was.
    const bool written = QFile(temporary).size() > 0 && std::rename(QFile::encodeName(temporary).constData(),
                                                                    QFile::encodeName(name).constData()) == 0;
    if (!written) {
        QFile::remove(temporary);
        m_controller.prompter().message("Kan ej skriva till filen " + name.toStdString());
    }
}

void MainWindow::printerSetup() {
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.setWindowTitle(QString::fromUtf8(kPrintSetupTitle));
    dialog.exec();
}

} // namespace kv::ui
