#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/AppTexts.h"
#include "app/ChildWindow.h"
#include "app/FormWindow.h"
#include "app/Icons.h"
#include "app/KeySequences.h"
#include "app/LockIndicators.h"
#include "app/RecentFilesStore.h"
#include "app/ReportWindowContent.h"
#include "app/WindowContent.h"
#include "grid/GridWidget.h"
#include "interaction/Prompter.h" // Reports
#include "reports/JournalWindowContent.h"
#include "reports/LedgerWindowContent.h"
#include "reports/ReportTexts.h"
#include "reports/TrialBalanceWindowContent.h"
#include "reports/VatReportWindowContent.h"
#include "voucher/VoucherForm.h"
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherListWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
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
    m_controller.setHost(nullptr);
    m_mdi->disconnect(this); // the area's last signals would reach a window half gone
    // The windows let go of the company before they go.
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (auto* child = qobject_cast<ChildWindow*>(sub)) {
            child->content()->detachFromDocument();
        }
    }
}

// ---- menus ----

void MainWindow::buildMenuBar(MenuBarId id) {
    m_menuBarId = id;
    menuBar()->clear();
    for (QMenu* menu : m_menus) {
        menu->deleteLater(); // one of them may be emitting right now
    }
    m_menus.clear();
    const MenuBar& definition = kv::menuBar(id);
    for (const Menu& menuDefinition : definition.menus) {
        QMenu* menu = menuBar()->addMenu(qs(menuDefinition.title));
        m_menus.push_back(menu);
        const Menu* source = &menuDefinition;
        connect(menu, &QMenu::aboutToShow, this, [this, menu, source] { fillMenu(menu, *source); });
        connect(menu, &QMenu::triggered, this, [this](QAction* action) {
            if (action->data().isValid()) {
                m_controller.execute(static_cast<CommandId>(action->data().toInt()));
            }
        });
        fillMenu(menu, menuDefinition);
    }
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
            if (target) {
                if (target->isMinimized()) {
                    target->showNormal();
                }
                m_mdi->setActiveSubWindow(target);
            }
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
    const MenuBar& definition = kv::menuBar(m_menuBarId.value_or(MenuBarId::NoCompany));
    for (std::size_t i = 0; i < m_menus.size() && i < definition.menus.size(); ++i) {
        fillMenu(m_menus[i], definition.menus[i]);
        for (QAction* action : m_menus[i]->actions()) {
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
        connect(action, &QAction::triggered, this, [this, id] { m_controller.execute(id); });
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
        const QList<QKeySequence> keys = keySequencesOf(id);
        if (keys.isEmpty()) {
            continue;
        }
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, id] { m_controller.execute(id); });
        addAction(action);
    }
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
    // Each new window a title bar further down and to the right, as the
    // windows of a desktop program open; kept inside the area.
    const int step = child->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, child);
    bool othersShown = false;
    for (QMdiSubWindow* other : m_mdi->subWindowList()) {
        othersShown = othersShown || !other->isMinimized();
    }
    const QMdiSubWindow* current = m_mdi->currentSubWindow();
    const bool othersMaximized = current != nullptr && current->isMaximized();
    const auto others = static_cast<int>(m_mdi->subWindowList().size());
    m_mdi->addSubWindow(child);
    const QRect area = m_mdi->viewport()->rect();
    const QPoint place =
        kind == WindowKind::VoucherList ? QPoint(10, 10) : QPoint(others % 8, others % 8) * step;
    // Big enough to show a report's columns: three quarters of the area.
    QSize size = defaultWindowSize(kind);
    if (m_mdi->isVisible()) { // before the main window shows, the area has no size yet
        size = (area.size() * 3 / 4)
                   .expandedTo(size)
                   .boundedTo(QSize(std::max(area.width() - place.x(), 200),
                                    std::max(area.height() - place.y(), 150)));
    }
    child->setGeometry(QRect(place, size));
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
        m_mdi->cascadeSubWindows();
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
    // Unsaved changes show as an asterisk after the company's name.
    const CTallvingeDoc* company = m_controller.company();
    setWindowTitle(qs(m_controller.mainWindowTitle()) +
                   (company != nullptr ? QStringLiteral("[*]") : QString()));
    setWindowModified(company != nullptr && company->isModified());
    const MenuBarId id = m_controller.menuBar();
    if (m_menuBarId != id) {
        buildMenuBar(id);
    }
    updateCommandStates();
    storeRecentFilesIfChanged();
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
    QString name = QFileDialog::getSaveFileName(this, QString::fromUtf8(kSparaSomPdf).chopped(3),
                                                QDir::homePath(), QStringLiteral("PDF-fil (*.pdf)"));
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
    pdf.setDocName(windowTitle());
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
