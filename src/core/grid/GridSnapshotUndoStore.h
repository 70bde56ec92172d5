// The grid's own undo: whole snapshots of the state and the current cell, the
// last hundred changes, with redo. Every change the grid or the program
// remembers becomes a step.
#pragma once

#include "grid/GridUndoStore.h"

#include <cstddef>
#include <vector>

namespace kv {

class GridSnapshotUndoStore : public GridUndoStore {
public:
    static constexpr std::size_t kDepth = 100;

    void remember(const GridState& state, CellPos current, RememberCause cause) override;
    [[nodiscard]] bool canUndo() const override { return !m_undo.empty(); }
    [[nodiscard]] bool canRedo() const override { return !m_redo.empty(); }
    bool undo(GridState& state, CellPos& current) override;
    bool redo(GridState& state, CellPos& current) override;
    void clear() override;

private:
    struct Snapshot {
        GridState state;
        CellPos current;
    };

    // Moves the grid to the newest snapshot of from, keeping where it was in to.
    static bool step(std::vector<Snapshot>& from, std::vector<Snapshot>& to, GridState& state,
                     CellPos& current);

    std::vector<Snapshot> m_undo;
    std::vector<Snapshot> m_redo;
};

} // namespace kv
