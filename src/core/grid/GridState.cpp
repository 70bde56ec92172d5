#include "grid/GridState.h"

#include <algorithm>

namespace kv {

namespace {

const GridCell& emptyCell() {
    static const GridCell empty;
    return empty;
}

std::size_t index(std::int32_t value) {
    return static_cast<std::size_t>(value);
}

} // namespace

GridState::GridState() : m_rows(1), m_columnWidths(1, 0) {}

bool GridState::operator==(const GridState& other) const {
    if (rowCount() != other.rowCount() || m_colCount != other.m_colCount ||
        m_columnWidths != other.m_columnWidths || m_settings != other.m_settings) {
        return false;
    }
    for (std::int32_t r = 0; r <= rowCount(); ++r) {
        for (std::int32_t c = 0; c <= m_colCount; ++c) {
            if (!(cell(r, c) == other.cell(r, c))) {
                return false;
            }
        }
    }
    return true;
}

void GridState::setRowCount(std::int32_t rows) {
    rows = std::clamp(rows, 0, kMaxRows);
    m_rows.resize(index(rows) + 1);
}

void GridState::setColCount(std::int32_t cols) {
    cols = std::clamp(cols, 0, kMaxCols);
    m_colCount = cols;
    m_columnWidths.resize(index(cols) + 1, 0);
    for (auto& row : m_rows) {
        if (row.size() > index(cols) + 1) {
            row.resize(index(cols) + 1);
        }
    }
}

bool GridState::isValid(std::int32_t row, std::int32_t col) const {
    return row >= 0 && row <= rowCount() && col >= 0 && col <= m_colCount;
}

const GridCell& GridState::cell(std::int32_t row, std::int32_t col) const {
    if (!isValid(row, col)) {
        return emptyCell();
    }
    const auto& cells = m_rows[index(row)];
    return index(col) < cells.size() ? cells[index(col)] : emptyCell();
}

const std::string& GridState::text(std::int32_t row, std::int32_t col) const {
    return cell(row, col).text;
}

const CellStyle& GridState::style(std::int32_t row, std::int32_t col) const {
    return cell(row, col).style;
}

GridCell* GridState::mutableCell(std::int32_t row, std::int32_t col) {
    if (!isValid(row, col)) {
        return nullptr;
    }
    auto& cells = m_rows[index(row)];
    if (cells.size() <= index(col)) {
        cells.resize(index(col) + 1);
    }
    return &cells[index(col)];
}

void GridState::setText(std::int32_t row, std::int32_t col, std::string text) {
    if (GridCell* target = mutableCell(row, col)) {
        target->text = std::move(text);
    }
}

void GridState::setStyle(std::int32_t row, std::int32_t col, const CellStyle& style) {
    if (GridCell* target = mutableCell(row, col)) {
        target->style = style;
    }
}

void GridState::setCell(std::int32_t row, std::int32_t col, GridCell cell) {
    if (GridCell* target = mutableCell(row, col)) {
        *target = std::move(cell);
    }
}

std::int32_t GridState::columnWidth(std::int32_t col) const {
    return col >= 0 && col <= m_colCount ? m_columnWidths[index(col)] : 0;
}

void GridState::setColumnWidth(std::int32_t col, std::int32_t width) {
    if (col >= 0 && col <= m_colCount) {
        m_columnWidths[index(col)] = std::clamp(width, 0, kMaxColumnWidth);
    }
}

void GridState::insertRows(std::int32_t pos, std::int32_t count) {
    pos = std::clamp(pos, 1, rowCount() + 1);
    count = std::clamp(count, 0, kMaxRows - rowCount());
    m_rows.insert(m_rows.begin() + pos, index(count), std::vector<GridCell>{});
}

void GridState::removeRows(std::int32_t first, std::int32_t last) {
    first = std::max(first, 1);
    last = std::min(last, rowCount());
    if (first > last) {
        return;
    }
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
}

void GridState::insertCols(std::int32_t pos, std::int32_t count) {
    pos = std::clamp(pos, 1, m_colCount + 1);
    count = std::clamp(count, 0, kMaxCols - m_colCount);
    if (count == 0) {
        return;
    }
    for (auto& row : m_rows) {
        if (row.size() > index(pos)) {
            row.insert(row.begin() + pos, index(count), GridCell{});
        }
    }
    m_columnWidths.insert(m_columnWidths.begin() + pos, index(count), 0);
    m_colCount += count;
}

void GridState::removeCols(std::int32_t first, std::int32_t last) {
    first = std::max(first, 1);
    last = std::min(last, m_colCount);
    if (first > last) {
        return;
    }
    for (auto& row : m_rows) {
        const auto end = std::min(row.size(), index(last) + 1);
        if (row.size() > index(first)) {
            row.erase(row.begin() + first, row.begin() + static_cast<std::ptrdiff_t>(end));
        }
    }
    m_columnWidths.erase(m_columnWidths.begin() + first, m_columnWidths.begin() + last + 1);
    m_colCount -= last - first + 1;
}

} // namespace kv
