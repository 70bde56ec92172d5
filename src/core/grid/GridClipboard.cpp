// Delete, cut, copy and paste on the selection, and the tab-separated text
// that carries cells over the clipboard.
#include "grid/Grid.h"

namespace kv {

// ---- commands on the selection ----

bool Grid::clearSelectedCells() {
    if (isReadOnly() || (m_hooks != nullptr && !m_hooks->clearCells(*this))) {
        return false;
    }
    cancelEdit();
    const std::vector<CellRange> ranges =
        m_selection.empty() ? std::vector<CellRange>{effectiveRange()} : m_selection;
    std::vector<CellPos> cleared;
    for (const CellRange& range : ranges) {
        for (std::int32_t r = range.top; r <= range.bottom; ++r) {
            for (std::int32_t c = range.left; c <= range.right; ++c) {
                if (isEditable(r, c) && !m_state->text(r, c).empty()) {
                    cleared.push_back({r, c});
                }
            }
        }
    }
    if (cleared.empty()) {
        return true;
    }
    remember();
    for (const CellPos& cell : cleared) {
        m_state->setText(cell.row, cell.col, std::string());
    }
    for (const CellRange& range : ranges) {
        notifyCells(range);
    }
    if (m_hooks != nullptr) {
        for (const CellPos& cell : cleared) {
            m_hooks->cellChanged(*this, cell.row, cell.col);
        }
    }
    return true;
}

std::optional<std::string> Grid::copySelection() {
    if (m_hooks != nullptr && !m_hooks->copy(*this)) {
        return std::nullopt;
    }
    const CellRange range = effectiveRange();
    std::vector<std::vector<std::string>> cells;
    for (std::int32_t r = range.top; r <= range.bottom; ++r) {
        std::vector<std::string> line;
        for (std::int32_t c = range.left; c <= range.right; ++c) {
            line.push_back(text(r, c));
        }
        cells.push_back(std::move(line));
    }
    return toClipboardText(cells);
}

std::optional<std::string> Grid::cutSelection() {
    if (isReadOnly() || (m_hooks != nullptr && !m_hooks->cut(*this))) {
        return std::nullopt;
    }
    cancelEdit();
    const CellRange range = effectiveRange();
    std::vector<std::vector<std::string>> cells;
    std::vector<CellPos> cleared;
    for (std::int32_t r = range.top; r <= range.bottom; ++r) {
        std::vector<std::string> line;
        for (std::int32_t c = range.left; c <= range.right; ++c) {
            line.push_back(m_state->text(r, c));
            if (isEditable(r, c) && !m_state->text(r, c).empty()) {
                cleared.push_back({r, c});
            }
        }
        cells.push_back(std::move(line));
    }
    if (!cleared.empty()) {
        remember();
        for (const CellPos& cell : cleared) {
            m_state->setText(cell.row, cell.col, std::string());
        }
        notifyCells(range);
        if (m_hooks != nullptr) {
            for (const CellPos& cell : cleared) {
                m_hooks->cellChanged(*this, cell.row, cell.col);
            }
        }
    }
    return toClipboardText(cells);
}

bool Grid::paste(const std::string& text) {
    if (isReadOnly() || (m_hooks != nullptr && !m_hooks->paste(*this))) {
        return false;
    }
    cancelEdit();
    const auto cells = fromClipboardText(text);
    const CellPos origin =
        m_selection.empty() ? m_current : CellPos{effectiveRange().top, effectiveRange().left};
    std::vector<CellPos> changed;
    bool remembered = false;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        for (std::size_t j = 0; j < cells[i].size(); ++j) {
            const CellPos cell{origin.row + static_cast<std::int32_t>(i),
                               origin.col + static_cast<std::int32_t>(j)};
            if (!isEditable(cell.row, cell.col) || m_state->text(cell.row, cell.col) == cells[i][j]) {
                continue;
            }
            if (!remembered) {
                remember();
                remembered = true;
            }
            m_state->setText(cell.row, cell.col, cells[i][j]);
            changed.push_back(cell);
        }
    }
    if (changed.empty()) {
        return true;
    }
    notifyLayout();
    if (m_hooks != nullptr) {
        for (const CellPos& cell : changed) {
            m_hooks->cellChanged(*this, cell.row, cell.col);
        }
    }
    return true;
}

// ---- clipboard text ----

std::string toClipboardText(const std::vector<std::vector<std::string>>& cells) {
    std::string out;
    for (const auto& line : cells) {
        for (std::size_t c = 0; c < line.size(); ++c) {
            if (c > 0) {
                out += '\t';
            }
            const std::string& cell = line[c];
            if (cell.find_first_of("\t\n\r\"") == std::string::npos) {
                out += cell;
                continue;
            }
            out += '"';
            for (const char ch : cell) {
                out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            }
            out += '"';
        }
        out += '\n';
    }
    return out;
}

std::vector<std::vector<std::string>> fromClipboardText(const std::string& text) {
    std::vector<std::vector<std::string>> cells;
    std::vector<std::string> line;
    std::string cell;
    bool quoted = false;
    bool atCellStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (quoted) {
            if (ch == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (ch == '"') {
                quoted = false;
            } else {
                cell += ch;
            }
            continue;
        }
        if (ch == '"' && atCellStart) {
            quoted = true;
            atCellStart = false;
        } else if (ch == '\t') {
            line.push_back(std::move(cell));
            cell.clear();
            atCellStart = true;
        } else if (ch == '\n' || ch == '\r') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            line.push_back(std::move(cell));
            cell.clear();
            cells.push_back(std::move(line));
            line.clear();
            atCellStart = true;
        } else {
            cell += ch;
            atCellStart = false;
        }
    }
    if (!atCellStart || !cell.empty() || !line.empty()) {
        line.push_back(std::move(cell));
        cells.push_back(std::move(line));
    }
    return cells;
}

} // namespace kv
