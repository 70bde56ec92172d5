// The company's windows inside the main window, as the window host: opening
// one where a desktop program would, closing and activating them, which one is
// active, and whether they open maximised.
#include "app/MainWindow.h"

#include "app/ChildWindow.h"
#include "common/WindowContent.h"
#include "voucher/VoucherListWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSettings>

namespace kv::ui {

namespace {

const QString kOpenMaximizedKey = QStringLiteral("Fönster/Maximerade");

} // namespace

bool windowsOpenMaximized() {
    return QSettings().value(kOpenMaximizedKey, true).toBool();
}

void setWindowsOpenMaximized(bool maximized) {
    QSettings().setValue(kOpenMaximizedKey, maximized);
}

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
    WindowContent* content = makeContent(kind, *doc);
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

void MainWindow::markVoucherInList(std::size_t row) {
    if (ChildWindow* child = window(WindowKind::VoucherList)) {
        if (auto* list = dynamic_cast<VoucherListWindow*>(child->content())) {
            list->markRow(row);
        }
    }
}

WindowContent* MainWindow::activeContent() const {
    const auto active = m_controller.windows().active();
    ChildWindow* child = active ? window(*active) : nullptr;
    return child != nullptr ? child->content() : nullptr;
}

void MainWindow::subWindowActivated(QMdiSubWindow* sub) {
    if (sub == nullptr) {
        // The main window itself lost the focus; the last active window stays current.
        sub = m_mdi->currentSubWindow();
    }
    auto* child = qobject_cast<ChildWindow*>(sub);
    m_controller.windowActivated(child != nullptr ? std::optional<WindowKind>(child->kind()) : std::nullopt);
}

} // namespace kv::ui
