// The main window itself: what it is made of, what it tells the controller of
// its state, the window-level commands it carries out, its title and its close.
// The rest of the class is in the MainWindow*.cpp and WindowFactory.cpp files.
#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/ChildWindow.h"
#include "app/Icons.h"
#include "app/RecentFilesStore.h"
#include "common/WindowContent.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>

namespace kv::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

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
    registerFormContents();
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
    case CommandId::ExportReport: // Reports
        exportReport();
        break;
    case CommandId::YearArchive:
        yearArchive();
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

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_controller.mayQuit()) {
        event->ignore();
        return;
    }
    storeRecentFilesIfChanged();
    rememberWindowChoice();
    event->accept();
}

void MainWindow::storeRecentFilesIfChanged() {
    if (m_controller.recentFiles().files() != m_storedRecent) {
        m_storedRecent = m_controller.recentFiles().files();
        storeRecentFiles(m_controller.recentFiles());
    }
}

} // namespace kv::ui
