// "Ångra" of the voucher dialog: ten states of the grid's texts in a ring.
// Each change takes a state; each "Ångra" goes one state back, as far as the
// ten reach. The oldest state is reused once all ten are taken. Pink rows
// (the registered lines) are never written back; redo does not exist.
#pragma once

#include "grid/GridUndoStore.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class VoucherUndoStore : public GridUndoStore {
public:
    static constexpr std::size_t kStates = 10;

    // The first pinkRows rows are the registered lines.
    explicit VoucherUndoStore(std::int32_t pinkRows);

    void remember(const GridState& state, CellPos current, RememberCause cause) override;
    [[nodiscard]] bool canUndo() const override { return m_enabled; }
    [[nodiscard]] bool canRedo() const override { return false; }
    bool undo(GridState& state, CellPos& current) override;
    bool redo(GridState& state, CellPos& current) override;
    // Every state emptied, back at the first; "Ångra" enabled, as when the dialog opens.
    void clear() override;

    // While muted, the grid's own changes take no state: a change of the
    // program that took its state first runs the grid's paste inside it.
    void setMuted(bool muted) { m_muted = muted; }
    [[nodiscard]] std::size_t position() const { return m_position; }

private:
    using Texts = std::vector<std::array<std::string, 6>>; // rows 1 to 75, columns 1 to 6

    std::vector<Texts> m_states;
    std::size_t m_position = 0;
    bool m_enabled = true;
    bool m_muted = false;
    std::int32_t m_pinkRows;
};

} // namespace kv
