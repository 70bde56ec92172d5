// The grid itself: its state, what it tells its listener, and the program's
// own operations on cells, counts and widths.
#include "grid/Grid.h"

#include <algorithm>

namespace kv {

Grid::Grid() : m_own(std::make_unique<GridState>()), m_state(m_own.get()) {}

Grid::~Grid() = default;

void Grid::attach(GridState& state) {
    const bool wasEditing = m_editing;
    m_editing = false;
    m_editText.clear();
    m_state = &state;
    m_own.reset();
    m_undo->clear();
    m_drag = Drag::None;
    clearSelection();
    clampCurrent();
    notifyLayout();
    if (wasEditing) {
        notifyEdit();
    }
}

// ---- notifications ----

void Grid::notifyCells(const CellRange& range) {
    if (m_listener != nullptr) {
        m_listener->gridCellsChanged(range);
    }
}

void Grid::notifyLayout() {
    if (m_listener != nullptr) {
        m_listener->gridLayoutChanged();
    }
}

void Grid::notifyCurrent() {
    if (m_listener != nullptr) {
        m_listener->gridCurrentCellChanged();
    }
}

void Grid::notifySelection() {
    if (m_listener != nullptr) {
        m_listener->gridSelectionChanged();
    }
}

void Grid::notifyEdit() {
    if (m_listener != nullptr) {
        m_listener->gridEditChanged();
    }
}

void Grid::scrollTo(CellPos cell) {
    if (m_listener != nullptr) {
        m_listener->gridScrollTo(cell);
    }
}

void Grid::setFocus() {
    if (m_listener != nullptr) {
        m_listener->gridFocus();
    }
}

void Grid::redraw() {
    notifyLayout();
}

CellPos Grid::clamped(CellPos cell) const {
    return {std::clamp(cell.row, std::min(1, rowCount()), rowCount()),
            std::clamp(cell.col, std::min(1, colCount()), colCount())};
}

void Grid::clampCurrent() {
    m_current = clamped(m_current);
}

// ---- the program's operations ----

void Grid::setRowCount(std::int32_t rows) {
    m_state->setRowCount(rows);
    clampCurrent();
    notifyLayout();
}

void Grid::setColCount(std::int32_t cols) {
    m_state->setColCount(cols);
    clampCurrent();
    notifyLayout();
}

void Grid::insertRows(std::int32_t pos, std::int32_t count) {
    m_state->insertRows(pos, count);
    notifyLayout();
}

void Grid::removeRows(std::int32_t first, std::int32_t last) {
    m_state->removeRows(first, last);
    clampCurrent();
    notifyLayout();
}

void Grid::insertCols(std::int32_t pos, std::int32_t count) {
    m_state->insertCols(pos, count);
    notifyLayout();
}

void Grid::removeCols(std::int32_t first, std::int32_t last) {
    m_state->removeCols(first, last);
    clampCurrent();
    notifyLayout();
}

const std::string& Grid::text(std::int32_t row, std::int32_t col) const {
    if (m_editing && m_current == CellPos{row, col}) {
        return m_editText;
    }
    return m_state->text(row, col);
}

const std::string& Grid::storedText(std::int32_t row, std::int32_t col) const {
    return m_state->text(row, col);
}

void Grid::setText(std::int32_t row, std::int32_t col, std::string text) {
    if (m_editing && m_current == CellPos{row, col}) {
        m_editText = text;
        notifyEdit();
    }
    m_state->setText(row, col, std::move(text));
    notifyCells({row, col, row, col});
}

const CellStyle& Grid::style(std::int32_t row, std::int32_t col) const {
    return m_state->style(row, col);
}

void Grid::setStyle(std::int32_t row, std::int32_t col, const CellStyle& style) {
    m_state->setStyle(row, col, style);
    notifyCells({row, col, row, col});
}

void Grid::setColumnWidth(std::int32_t col, std::int32_t width) {
    m_state->setColumnWidth(col, width);
    notifyLayout();
}

} // namespace kv
