// Where a grid keeps what its undo goes back to. The grid hands the store its
// state before each change and asks it to undo and redo; a form with undo
// rules of its own plugs in its own store (Grid::setUndoStore).
#pragma once

#include "grid/GridState.h"

namespace kv {

// Why the grid hands over its state.
enum class RememberCause {
    // The grid is about to change through the user: an edit, a paste, Delete,
    // a format or structure command, a replace.
    GridChange,
    // The program asked (Grid::rememberForUndo), before a change of its own
    // that the user should be able to undo.
    Requested,
};

class GridUndoStore {
public:
    virtual ~GridUndoStore() = default;

    // The state and current cell from before a change; a store may keep all
    // of it, part of it, or ignore it.
    virtual void remember(const GridState& state, CellPos current, RememberCause cause) = 0;
    [[nodiscard]] virtual bool canUndo() const = 0;
    [[nodiscard]] virtual bool canRedo() const = 0;
    // Turns the grid's state and current cell, as they are now, back to an
    // earlier point: wholly or only the parts the store keeps. Returns false
    // when there was nothing to undo and nothing changed.
    virtual bool undo(GridState& state, CellPos& current) = 0;
    virtual bool redo(GridState& state, CellPos& current) = 0;
    // The grid now works on another state: what was remembered is of no use.
    virtual void clear() = 0;
};

} // namespace kv
