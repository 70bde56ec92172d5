// The current cell and the selection, and how the mouse changes them.
#include "grid/Grid.h"

#include <algorithm>

namespace kv {

namespace {

CellRange normalised(CellRange range) {
    if (range.top > range.bottom) {
        std::swap(range.top, range.bottom);
    }
    if (range.left > range.right) {
        std::swap(range.left, range.right);
    }
    return range;
}

} // namespace

// ---- current cell and selection ----

bool Grid::moveCurrentCell(CellPos to) {
    if (rowCount() < 1 || colCount() < 1) {
        return false;
    }
    to.row = std::clamp(to.row, 1, rowCount());
    to.col = std::clamp(to.col, 1, colCount());
    if (m_editing && !endEdit()) {
        return false;
    }
    if (to == m_current) {
        return true;
    }
    const CellPos from = m_current;
    if (m_hooks != nullptr && !m_hooks->mayMoveCurrentCell(*this, from, to)) {
        return false;
    }
    if (m_hooks != nullptr) {
        m_hooks->currentCellMoving(*this, from, to);
    }
    m_current = to;
    notifyCurrent();
    return true;
}

void Grid::placeCurrentCell(CellPos cell) {
    cancelEdit();
    const CellPos placed = clamped(cell);
    if (placed != m_current) {
        m_current = placed;
        notifyCurrent();
    }
    scrollTo(m_current);
}

bool Grid::moveBy(std::int32_t rows, std::int32_t cols) {
    return moveCurrentCell({m_current.row + rows, m_current.col + cols});
}

void Grid::applySelection(std::vector<CellRange> ranges) {
    for (CellRange& range : ranges) {
        range = normalised(range);
    }
    if (ranges != m_selection) {
        m_selection = std::move(ranges);
        notifySelection();
    }
}

void Grid::setSelection(std::vector<CellRange> ranges) {
    m_selectionEnd.reset();
    applySelection(std::move(ranges));
}

void Grid::selectRows(std::int32_t first, std::int32_t last) {
    setSelection({CellRange{first, 1, last, std::max(1, colCount())}});
}

void Grid::selectCols(std::int32_t first, std::int32_t last) {
    setSelection({CellRange{1, first, std::max(1, rowCount()), last}});
}

void Grid::selectAll() {
    if (rowCount() < 1 || colCount() < 1) {
        clearSelection();
        return;
    }
    setSelection({CellRange{1, 1, rowCount(), colCount()}});
}

void Grid::clearSelection() {
    setSelection({});
}

bool Grid::isSelected(std::int32_t row, std::int32_t col) const {
    return std::any_of(m_selection.begin(), m_selection.end(),
                       [row, col](const CellRange& range) { return range.contains(row, col); });
}

std::int32_t Grid::firstSelectedRow() const {
    if (m_selection.empty()) {
        return 0;
    }
    std::int32_t first = m_selection.front().top;
    for (const CellRange& range : m_selection) {
        first = std::min(first, range.top);
    }
    return first;
}

std::int32_t Grid::selectedRowCount() const {
    std::vector<std::int32_t> rows;
    for (const CellRange& range : m_selection) {
        for (std::int32_t r = range.top; r <= range.bottom; ++r) {
            rows.push_back(r);
        }
    }
    std::sort(rows.begin(), rows.end());
    return static_cast<std::int32_t>(std::unique(rows.begin(), rows.end()) - rows.begin());
}

CellRange Grid::effectiveRange() const {
    if (m_selection.empty()) {
        return {m_current.row, m_current.col, m_current.row, m_current.col};
    }
    return m_selection.front();
}

// ---- the user's mouse ----

bool Grid::pressCell(CellPos cell, bool extend, bool add) {
    if (rowCount() < 1 || colCount() < 1) {
        return false;
    }
    cell = clamped(cell);
    m_drag = Drag::None;
    m_keptRanges.clear();
    if (extend) {
        // The current cell stays where it is and becomes a corner of the block.
        if (m_editing && !endEdit()) {
            return false;
        }
        m_dragAnchor = m_current;
    } else {
        if (add) {
            m_keptRanges = m_selection.empty() ? std::vector<CellRange>{effectiveRange()} : m_selection;
        }
        if (!moveCurrentCell(cell)) {
            return false;
        }
        m_dragAnchor = cell;
    }
    m_drag = Drag::Cells;
    dragTo(cell);
    return true;
}

bool Grid::pressRowTitle(std::int32_t row, bool extend) {
    if (rowCount() < 1 || colCount() < 1) {
        return false;
    }
    m_drag = Drag::None;
    m_keptRanges.clear();
    const CellPos cell = clamped({row, m_current.col});
    if (extend ? (m_editing && !endEdit()) : !moveCurrentCell(cell)) {
        return false;
    }
    m_dragAnchor = extend ? m_current : cell;
    m_drag = Drag::Rows;
    dragTo(cell);
    return true;
}

bool Grid::pressColumnTitle(std::int32_t col, bool extend) {
    if (rowCount() < 1 || colCount() < 1) {
        return false;
    }
    m_drag = Drag::None;
    m_keptRanges.clear();
    const CellPos cell = clamped({m_current.row, col});
    if (extend ? (m_editing && !endEdit()) : !moveCurrentCell(cell)) {
        return false;
    }
    m_dragAnchor = extend ? m_current : cell;
    m_drag = Drag::Cols;
    dragTo(cell);
    return true;
}

void Grid::dragTo(CellPos cell) {
    if (m_drag == Drag::None || rowCount() < 1 || colCount() < 1) {
        return;
    }
    cell = clamped(cell);
    std::vector<CellRange> ranges = m_keptRanges;
    switch (m_drag) {
    case Drag::Cells:
        // Back on the pressed cell alone: a current cell, not a selection.
        if (cell != m_dragAnchor || !ranges.empty()) {
            ranges.push_back({m_dragAnchor.row, m_dragAnchor.col, cell.row, cell.col});
        }
        break;
    case Drag::Rows:
        ranges.push_back({m_dragAnchor.row, 1, cell.row, colCount()});
        break;
    case Drag::Cols:
        ranges.push_back({1, m_dragAnchor.col, rowCount(), cell.col});
        break;
    case Drag::None:
        break;
    }
    applySelection(std::move(ranges));
    m_selectionEnd = cell;
    scrollTo(cell);
}

void Grid::releasePointer() {
    m_drag = Drag::None;
    m_keptRanges.clear();
}

} // namespace kv
