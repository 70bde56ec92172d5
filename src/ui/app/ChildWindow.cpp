#include "app/ChildWindow.h"

#include "app/AppController.h"
#include "app/AppTexts.h"
#include "app/Icons.h"
#include "common/WindowContent.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

namespace kv::ui {

ChildWindow::ChildWindow(WindowKind kind, AppController& controller, WindowContent* content)
    : m_kind(kind), m_controller(controller), m_content(content) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(content);
    setWindowTitle(QString::fromStdString(kv::windowTitle(kind)));
    setWindowIcon(kv::ui::windowIcon(kind));
    // Ctrl+F4 is the main window's key for the window in front; the same key
    // on this window's own menu would make it ambiguous, and then neither works.
    if (QMenu* menu = systemMenu()) {
        for (QAction* action : menu->actions()) {
            for (const QKeySequence& key : action->shortcuts()) {
                if (key == QKeySequence(Qt::CTRL | Qt::Key_F4)) {
                    action->setShortcuts({});
                    action->setText(action->text() + QLatin1Char('\t') +
                                    key.toString(QKeySequence::NativeText));
                    break;
                }
            }
        }
    }
}

void ChildWindow::closeByProgram() {
    m_byProgram = true;
    close();
}

void ChildWindow::closeEvent(QCloseEvent* event) {
    if (m_closed) {
        event->accept();
        return;
    }
    if (!m_byProgram && !m_controller.mayCloseWindow(m_kind)) {
        event->ignore();
        return;
    }
    m_content->detachFromDocument();
    QMdiSubWindow::closeEvent(event);
    if (!event->isAccepted()) {
        return;
    }
    m_closed = true;
    m_controller.windowClosed(m_kind);
}

} // namespace kv::ui
