#include "grid/GridEditor.h"

#include "grid/GridKeys.h"

#include <QKeyEvent>

namespace kv::ui {

GridEditor::GridEditor(Grid& grid, QWidget* parent) : QLineEdit(parent), m_grid(grid) {
    setFrame(false);
    connect(this, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_grid.setEditText(text.toStdString()); });
}

void GridEditor::showEditText() {
    const QString text = QString::fromStdString(m_grid.editText());
    if (this->text() != text) {
        setText(text);
    }
}

bool GridEditor::event(QEvent* event) {
    // Before the line edit: Tab would otherwise move the focus, Enter do nothing.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (m_grid.keyDown(toGridKey(*key))) {
            emit keyHandled();
            return true;
        }
    }
    return QLineEdit::event(event);
}

} // namespace kv::ui
