// The user's formatting and structure commands on the selection.
#include "grid/Grid.h"

namespace kv {

template <typename Change> void Grid::changeSelectionStyle(Change change) {
    if (isReadOnly()) {
        return;
    }
    remember();
    const std::vector<CellRange> ranges =
        m_selection.empty() ? std::vector<CellRange>{effectiveRange()} : m_selection;
    for (const CellRange& range : ranges) {
        m_state->changeStyle(range, change);
        notifyCells(range);
    }
}

bool Grid::selectionAll(bool CellStyle::*flag) const {
    const std::vector<CellRange> ranges =
        m_selection.empty() ? std::vector<CellRange>{effectiveRange()} : m_selection;
    for (const CellRange& range : ranges) {
        for (std::int32_t r = range.top; r <= range.bottom; ++r) {
            for (std::int32_t c = range.left; c <= range.right; ++c) {
                if (!(m_state->style(r, c).*flag)) {
                    return false;
                }
            }
        }
    }
    return true;
}

void Grid::alignSelection(HAlign align) {
    changeSelectionStyle([align](CellStyle& style) { style.align = align; });
}

void Grid::toggleBoldSelection() {
    const bool on = !selectionAll(&CellStyle::bold);
    changeSelectionStyle([on](CellStyle& style) { style.bold = on; });
}

void Grid::toggleItalicSelection() {
    const bool on = !selectionAll(&CellStyle::italic);
    changeSelectionStyle([on](CellStyle& style) { style.italic = on; });
}

void Grid::toggleUnderlineSelection() {
    const bool on = !selectionAll(&CellStyle::underline);
    changeSelectionStyle([on](CellStyle& style) { style.underline = on; });
}

void Grid::applyStyleToSelection(const CellStyle& style) {
    changeSelectionStyle([&style](CellStyle& target) {
        const bool readOnly = target.readOnly; // the program's protection stays
        target = style;
        target.readOnly = readOnly;
    });
}

void Grid::insertRowsAtSelection() {
    if (isReadOnly()) {
        return;
    }
    const CellRange range = effectiveRange();
    cancelEdit();
    remember();
    m_state->insertRows(range.top, range.bottom - range.top + 1);
    notifyLayout();
}

void Grid::removeSelectedRows() {
    if (isReadOnly()) {
        return;
    }
    const CellRange range = effectiveRange();
    cancelEdit();
    remember();
    m_state->removeRows(range.top, range.bottom);
    clearSelection();
    clampCurrent();
    notifyLayout();
    notifyCurrent();
}

void Grid::insertColsAtSelection() {
    if (isReadOnly()) {
        return;
    }
    const CellRange range = effectiveRange();
    cancelEdit();
    remember();
    m_state->insertCols(range.left, range.right - range.left + 1);
    notifyLayout();
}

void Grid::removeSelectedCols() {
    if (isReadOnly()) {
        return;
    }
    const CellRange range = effectiveRange();
    cancelEdit();
    remember();
    m_state->removeCols(range.left, range.right);
    clearSelection();
    clampCurrent();
    notifyLayout();
    notifyCurrent();
}

} // namespace kv
