#include "grid/GridKeys.h"

#include <QKeyEvent>

namespace kv::ui {

namespace {

GridKeyCode codeOf(int key) {
    switch (key) {
    case Qt::Key_Delete:
        return GridKeyCode::Delete;
    case Qt::Key_Backspace:
        return GridKeyCode::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return GridKeyCode::Enter;
    case Qt::Key_Escape:
        return GridKeyCode::Escape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return GridKeyCode::Tab;
    case Qt::Key_Left:
        return GridKeyCode::Left;
    case Qt::Key_Right:
        return GridKeyCode::Right;
    case Qt::Key_Up:
        return GridKeyCode::Up;
    case Qt::Key_Down:
        return GridKeyCode::Down;
    case Qt::Key_Home:
        return GridKeyCode::Home;
    case Qt::Key_End:
        return GridKeyCode::End;
    case Qt::Key_PageUp:
        return GridKeyCode::PageUp;
    case Qt::Key_PageDown:
        return GridKeyCode::PageDown;
    case Qt::Key_Slash:
        return GridKeyCode::Divide;
    case Qt::Key_Plus:
        return GridKeyCode::Plus;
    case Qt::Key_Minus:
        return GridKeyCode::Minus;
    case Qt::Key_Asterisk:
        return GridKeyCode::Multiply;
    case Qt::Key_F2:
        return GridKeyCode::F2;
    default:
        return GridKeyCode::Other;
    }
}

} // namespace

GridKey toGridKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    GridKey key;
    key.code = codeOf(event.key());
    // Backtab is how the window system spells Shift+Tab.
    key.shift = modifiers.testFlag(Qt::ShiftModifier) || event.key() == Qt::Key_Backtab;
    key.ctrl = modifiers.testFlag(Qt::ControlModifier);
    key.alt = modifiers.testFlag(Qt::AltModifier);
    key.keypad = modifiers.testFlag(Qt::KeypadModifier);
    return key;
}

} // namespace kv::ui
