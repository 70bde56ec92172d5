// A company window inside the main window: its title, icon and contents,
// and the rule that closing the company's last window closes the company.
#pragma once

#include "interaction/AppState.h"

#include <QMdiSubWindow>

namespace kv {
class AppController;
}

namespace kv::ui {

class WindowContent;

class ChildWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    ChildWindow(WindowKind kind, AppController& controller, WindowContent* content);

    [[nodiscard]] WindowKind kind() const { return m_kind; }
    [[nodiscard]] WindowContent* content() const { return m_content; }
    // Closes the window without asking: the program has decided.
    void closeByProgram();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    WindowKind m_kind;
    AppController& m_controller;
    WindowContent* m_content;
    bool m_byProgram = false;
    bool m_closed = false;
};

} // namespace kv::ui
