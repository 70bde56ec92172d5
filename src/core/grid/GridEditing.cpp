// Editing a cell: the program's start and validate hooks, the edit text, and
// storing it as an undoable change.
#include "grid/Grid.h"

namespace kv {

bool Grid::isEditable(std::int32_t row, std::int32_t col) const {
    return row >= 1 && col >= 1 && m_state->isValid(row, col) && !isReadOnly() &&
           !m_state->style(row, col).readOnly;
}

bool Grid::beginEdit() {
    return beginEdit(m_state->text(m_current.row, m_current.col));
}

bool Grid::beginEdit(std::string initialText) {
    if (m_editing) {
        setEditText(std::move(initialText));
        return true;
    }
    if (!isEditable(m_current.row, m_current.col)) {
        if (m_hooks != nullptr && !isReadOnly() && m_state->isValid(m_current.row, m_current.col) &&
            m_state->style(m_current.row, m_current.col).readOnly) {
            m_hooks->readOnlyCellTouched(*this, m_current.row, m_current.col);
        }
        return false;
    }
    if (m_hooks != nullptr && !m_hooks->startEditing(*this, m_current.row, m_current.col)) {
        return false;
    }
    m_editing = true;
    m_editText = std::move(initialText);
    notifyEdit();
    return true;
}

void Grid::setEditText(std::string text) {
    if (m_editing) {
        m_editText = std::move(text);
        notifyEdit();
    }
}

bool Grid::endEdit() {
    if (!m_editing) {
        return true;
    }
    const CellPos cell = m_current;
    if (m_hooks != nullptr && !m_hooks->validateCell(*this, cell.row, cell.col)) {
        // The program has told the user why; the cell stays current, in edit, empty.
        m_editText.clear();
        notifyEdit();
        return false;
    }
    m_editing = false;
    const bool changed = m_editText != m_state->text(cell.row, cell.col);
    if (changed) {
        remember();
        m_state->setText(cell.row, cell.col, std::move(m_editText));
    }
    m_editText.clear();
    notifyEdit();
    if (changed) {
        notifyCells({cell.row, cell.col, cell.row, cell.col});
        if (m_hooks != nullptr) {
            m_hooks->cellChanged(*this, cell.row, cell.col);
        }
    }
    return true;
}

void Grid::cancelEdit() {
    if (m_editing) {
        m_editing = false;
        m_editText.clear();
        notifyEdit();
    }
}

} // namespace kv
