// The keys the grid handles itself: moving, stretching the selection,
// starting and ending edits, Delete.
#include "grid/Grid.h"

namespace kv {

namespace {

constexpr std::int32_t kPageRows = 20;

} // namespace

bool Grid::navigate(CellPos to) {
    if (!moveCurrentCell(to)) {
        return false;
    }
    clearSelection();
    return true;
}

void Grid::extendSelection(const GridKey& key) {
    CellPos end = m_selection.empty() || !m_selectionEnd ? m_current : *m_selectionEnd;
    switch (key.code) {
    case GridKeyCode::Left:
        --end.col;
        break;
    case GridKeyCode::Right:
        ++end.col;
        break;
    case GridKeyCode::Up:
        --end.row;
        break;
    case GridKeyCode::Down:
        ++end.row;
        break;
    case GridKeyCode::PageUp:
        end.row -= kPageRows;
        break;
    case GridKeyCode::PageDown:
        end.row += kPageRows;
        break;
    case GridKeyCode::Home:
        end = {key.ctrl ? 1 : end.row, 1};
        break;
    case GridKeyCode::End:
        end = {key.ctrl ? rowCount() : end.row, colCount()};
        break;
    default:
        return;
    }
    end = clamped(end);
    if (end == m_current) {
        applySelection({});
    } else {
        applySelection({CellRange{m_current.row, m_current.col, end.row, end.col}});
    }
    m_selectionEnd = end;
    scrollTo(end);
}

bool Grid::keyDown(const GridKey& key) {
    if (m_hooks != nullptr && m_hooks->keyDown(*this, key)) {
        return true;
    }
    // Shift with a movement key stretches the selection; the current cell stays.
    const bool stretching = key.code == GridKeyCode::Left || key.code == GridKeyCode::Right ||
                            key.code == GridKeyCode::Up || key.code == GridKeyCode::Down ||
                            key.code == GridKeyCode::Home || key.code == GridKeyCode::End ||
                            key.code == GridKeyCode::PageUp || key.code == GridKeyCode::PageDown;
    if (key.shift && stretching && !m_editing) {
        extendSelection(key);
        return true;
    }
    // Keys that end an edit and move on; a refused edit keeps the cell.
    switch (key.code) {
    case GridKeyCode::Escape:
        // Without an edit the key is not the grid's: a dialog closes on it.
        if (!m_editing) {
            return false;
        }
        cancelEdit();
        return true;
    case GridKeyCode::Enter:
        navigate({m_current.row + (key.shift ? -1 : 1), m_current.col});
        return true;
    case GridKeyCode::Tab:
        navigate({m_current.row, m_current.col + (key.shift ? -1 : 1)});
        return true;
    case GridKeyCode::Up:
        navigate({m_current.row - 1, m_current.col});
        return true;
    case GridKeyCode::Down:
        navigate({m_current.row + 1, m_current.col});
        return true;
    case GridKeyCode::PageUp:
        navigate({m_current.row - kPageRows, m_current.col});
        return true;
    case GridKeyCode::PageDown:
        navigate({m_current.row + kPageRows, m_current.col});
        return true;
    default:
        break;
    }
    if (m_editing) {
        return false; // the editor handles the rest of the keys itself
    }
    switch (key.code) {
    case GridKeyCode::Left:
        navigate({m_current.row, m_current.col - 1});
        return true;
    case GridKeyCode::Right:
        navigate({m_current.row, m_current.col + 1});
        return true;
    case GridKeyCode::Home:
        navigate({key.ctrl ? 1 : m_current.row, 1});
        return true;
    case GridKeyCode::End:
        navigate({key.ctrl ? rowCount() : m_current.row, colCount()});
        return true;
    case GridKeyCode::F2:
        beginEdit();
        return true;
    case GridKeyCode::Backspace:
        beginEdit(std::string());
        return true;
    case GridKeyCode::Delete:
        clearSelectedCells();
        return true;
    default:
        return false;
    }
}

} // namespace kv
