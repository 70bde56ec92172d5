#include "grid/GridSnapshotUndoStore.h"

#include <utility>

namespace kv {

void GridSnapshotUndoStore::remember(const GridState& state, CellPos current, RememberCause) {
    m_undo.push_back({state, current});
    if (m_undo.size() > kDepth) {
        m_undo.erase(m_undo.begin());
    }
    m_redo.clear();
}

bool GridSnapshotUndoStore::step(std::vector<Snapshot>& from, std::vector<Snapshot>& to, GridState& state,
                                 CellPos& current) {
    if (from.empty()) {
        return false;
    }
    to.push_back({state, current});
    state = std::move(from.back().state);
    current = from.back().current;
    from.pop_back();
    return true;
}

bool GridSnapshotUndoStore::undo(GridState& state, CellPos& current) {
    return step(m_undo, m_redo, state, current);
}

bool GridSnapshotUndoStore::redo(GridState& state, CellPos& current) {
    return step(m_redo, m_undo, state, current);
}

void GridSnapshotUndoStore::clear() {
    m_undo.clear();
    m_redo.clear();
}

} // namespace kv
