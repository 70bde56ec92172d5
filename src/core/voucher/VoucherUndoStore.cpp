#include "voucher/VoucherUndoStore.h"

#include "voucher/VoucherLayout.h"

#include <algorithm>

namespace kv {

VoucherUndoStore::VoucherUndoStore(std::int32_t pinkRows) : m_pinkRows(pinkRows) {
    clear();
}

void VoucherUndoStore::clear() {
    m_states.assign(kStates, Texts(static_cast<std::size_t>(kVoucherRows)));
    m_position = 0;
    m_enabled = true;
}

void VoucherUndoStore::remember(const GridState& state, CellPos, RememberCause) {
    if (m_muted) {
        return;
    }
    Texts& texts = m_states[m_position];
    for (std::int32_t row = 1; row <= kVoucherRows; ++row) {
        for (std::int32_t col = 1; col <= kVoucherCols; ++col) {
            texts[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col - 1)] =
                state.text(row, col);
        }
    }
    ++m_position;
    if (m_position == kStates) {
        // The nine newest stay in front; the oldest's place takes the next state.
        m_position = kStates - 1;
        std::rotate(m_states.begin(), m_states.begin() + 1, m_states.end());
    }
    m_enabled = true;
}

bool VoucherUndoStore::undo(GridState& state, CellPos&) {
    if (!m_enabled) {
        return false;
    }
    if (m_position == 0) {
        // Back at the oldest state: it is shown once more and "Ångra" goes off.
        m_enabled = false;
    } else {
        --m_position;
    }
    const Texts& texts = m_states[m_position];
    for (std::int32_t row = m_pinkRows + 1; row <= kVoucherRows; ++row) {
        for (std::int32_t col = 1; col <= kVoucherCols; ++col) {
            state.setText(row, col,
                          texts[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col - 1)]);
        }
    }
    return true;
}

bool VoucherUndoStore::redo(GridState&, CellPos&) {
    return false;
}

} // namespace kv
