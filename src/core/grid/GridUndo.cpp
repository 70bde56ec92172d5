// Undo and redo of the user's changes.
#include "grid/Grid.h"

namespace kv {

void Grid::remember() {
    m_undo.push_back({*m_state, m_current});
    if (m_undo.size() > kUndoDepth) {
        m_undo.erase(m_undo.begin());
    }
    m_redo.clear();
}

void Grid::rememberForUndo() {
    remember();
}

bool Grid::undo() {
    cancelEdit();
    if (m_undo.empty()) {
        return false;
    }
    m_redo.push_back({*m_state, m_current});
    *m_state = std::move(m_undo.back().state);
    m_current = m_undo.back().current;
    m_undo.pop_back();
    clampCurrent();
    notifyLayout();
    notifyCurrent();
    return true;
}

bool Grid::redo() {
    cancelEdit();
    if (m_redo.empty()) {
        return false;
    }
    m_undo.push_back({*m_state, m_current});
    *m_state = std::move(m_redo.back().state);
    m_current = m_redo.back().current;
    m_redo.pop_back();
    clampCurrent();
    notifyLayout();
    notifyCurrent();
    return true;
}

} // namespace kv
