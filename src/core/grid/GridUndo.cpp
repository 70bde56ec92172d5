// Undo and redo through the grid's undo store.
#include "grid/Grid.h"

namespace kv {

void Grid::setUndoStore(GridUndoStore* store) {
    // The grid's own history would not match the state once another store
    // has been in charge.
    m_ownUndo.clear();
    m_undo = store != nullptr ? store : &m_ownUndo;
}

void Grid::remember(RememberCause cause) {
    m_undo->remember(*m_state, m_current, cause);
}

void Grid::rememberForUndo() {
    remember(RememberCause::Requested);
}

bool Grid::undo() {
    cancelEdit();
    if (!m_undo->undo(*m_state, m_current)) {
        return false;
    }
    showRestored();
    return true;
}

bool Grid::redo() {
    cancelEdit();
    if (!m_undo->redo(*m_state, m_current)) {
        return false;
    }
    showRestored();
    return true;
}

void Grid::showRestored() {
    clampCurrent();
    notifyLayout();
    notifyCurrent();
}

} // namespace kv
