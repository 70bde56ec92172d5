#include "grid/Grid.h"

#include <algorithm>

namespace kv {

// ---- default hooks: allow everything ----

bool GridHooks::validateCell(Grid&, std::int32_t, std::int32_t) {
    return true;
}
bool GridHooks::startEditing(Grid&, std::int32_t, std::int32_t) {
    return true;
}
void GridHooks::currentCellMoving(Grid&, CellPos, CellPos) {}
void GridHooks::cellChanged(Grid&, std::int32_t, std::int32_t) {}
bool GridHooks::keyDown(Grid&, const GridKey&) {
    return false;
}
bool GridHooks::clearCells(Grid&) {
    return true;
}
bool GridHooks::cut(Grid&) {
    return true;
}
bool GridHooks::copy(Grid&) {
    return true;
}
bool GridHooks::paste(Grid&) {
    return true;
}
void GridHooks::readOnlyCellTouched(Grid&, std::int32_t, std::int32_t) {}

namespace {

constexpr std::int32_t kPageRows = 20;

CellRange normalised(CellRange range) {
    if (range.top > range.bottom) {
        std::swap(range.top, range.bottom);
    }
    if (range.left > range.right) {
        std::swap(range.left, range.right);
    }
    return range;
}

// Lower case for matching: ASCII and the Latin-1 letters (å, ä, ö, é …).
std::string folded(const std::string& text) {
    std::string out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            const auto next = static_cast<unsigned char>(out[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) {
                out[i + 1] = static_cast<char>(next + 32);
            }
            ++i;
        }
    }
    return out;
}

std::string replacedAll(const std::string& text, const std::string& what, const std::string& with,
                        bool matchCase) {
    if (what.empty()) {
        return text;
    }
    const std::string haystack = matchCase ? text : folded(text);
    const std::string needle = matchCase ? what : folded(what);
    std::string out;
    std::size_t from = 0;
    for (auto at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, from)) {
        out += text.substr(from, at - from) + with;
        from = at + needle.size();
    }
    return out + text.substr(from);
}

} // namespace

Grid::Grid() : m_own(std::make_unique<GridState>()), m_state(m_own.get()) {}

Grid::~Grid() = default;

void Grid::attach(GridState& state) {
    const bool wasEditing = m_editing;
    m_editing = false;
    m_editText.clear();
    m_state = &state;
    m_own.reset();
    m_undo.clear();
    m_redo.clear();
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
    if (m_hooks != nullptr) {
        m_hooks->currentCellMoving(*this, from, to);
    }
    m_current = to;
    notifyCurrent();
    return true;
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

// ---- editing ----

bool Grid::isEditable(std::int32_t row, std::int32_t col) const {
    return row >= 1 && col >= 1 && m_state->isValid(row, col) && !isReadOnly() &&
           !m_state->style(row, col).readOnly;
}

bool Grid::beginEdit() {
    return beginEdit(m_state->text(m_current.row, m_current.col));
}

bool Grid::beginEdit(std::string initialText) {
    if (m_editing) {
        setEditText(std::move(initialText));
        return true;
    }
    if (!isEditable(m_current.row, m_current.col)) {
        if (m_hooks != nullptr && !isReadOnly() && m_state->isValid(m_current.row, m_current.col) &&
            m_state->style(m_current.row, m_current.col).readOnly) {
            m_hooks->readOnlyCellTouched(*this, m_current.row, m_current.col);
        }
        return false;
    }
    if (m_hooks != nullptr && !m_hooks->startEditing(*this, m_current.row, m_current.col)) {
        return false;
    }
    m_editing = true;
    m_editText = std::move(initialText);
    notifyEdit();
    return true;
}

void Grid::setEditText(std::string text) {
    if (m_editing) {
        m_editText = std::move(text);
        notifyEdit();
    }
}

bool Grid::endEdit() {
    if (!m_editing) {
        return true;
    }
    const CellPos cell = m_current;
    if (m_hooks != nullptr && !m_hooks->validateCell(*this, cell.row, cell.col)) {
        // The program has told the user why; the cell stays current, in edit, empty.
        m_editText.clear();
        notifyEdit();
        return false;
    }
    m_editing = false;
    const bool changed = m_editText != m_state->text(cell.row, cell.col);
    if (changed) {
        remember();
        m_state->setText(cell.row, cell.col, std::move(m_editText));
    }
    m_editText.clear();
    notifyEdit();
    if (changed) {
        notifyCells({cell.row, cell.col, cell.row, cell.col});
        if (m_hooks != nullptr) {
            m_hooks->cellChanged(*this, cell.row, cell.col);
        }
    }
    return true;
}

void Grid::cancelEdit() {
    if (m_editing) {
        m_editing = false;
        m_editText.clear();
        notifyEdit();
    }
}

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

// ---- undo and redo ----

void Grid::remember() {
    m_undo.push_back({*m_state, m_current});
    if (m_undo.size() > kUndoDepth) {
        m_undo.erase(m_undo.begin());
    }
    m_redo.clear();
}

void Grid::rememberForUndo() {
    remember();
}

bool Grid::undo() {
    cancelEdit();
    if (m_undo.empty()) {
        return false;
    }
    m_redo.push_back({*m_state, m_current});
    *m_state = std::move(m_undo.back().state);
    m_current = m_undo.back().current;
    m_undo.pop_back();
    clampCurrent();
    notifyLayout();
    notifyCurrent();
    return true;
}

bool Grid::redo() {
    cancelEdit();
    if (m_redo.empty()) {
        return false;
    }
    m_undo.push_back({*m_state, m_current});
    *m_state = std::move(m_redo.back().state);
    m_current = m_redo.back().current;
    m_redo.pop_back();
    clampCurrent();
    notifyLayout();
    notifyCurrent();
    return true;
}

// ---- find and replace ----

bool Grid::matches(const std::string& cellText, const FindOptions& options) const {
    if (options.text.empty()) {
        return false;
    }
    if (options.wholeCell) {
        return options.matchCase ? cellText == options.text : folded(cellText) == folded(options.text);
    }
    return options.matchCase ? cellText.find(options.text) != std::string::npos
                             : folded(cellText).find(folded(options.text)) != std::string::npos;
}

std::optional<CellPos> Grid::find(const FindOptions& options) {
    m_lastFind = options;
    const std::int32_t rows = rowCount();
    const std::int32_t cols = colCount();
    if (rows < 1 || cols < 1) {
        return std::nullopt;
    }
    const std::int64_t total = std::int64_t{rows} * cols;
    const std::int64_t start = std::int64_t{m_current.row - 1} * cols + (m_current.col - 1);
    for (std::int64_t step = 1; step <= total; ++step) {
        const std::int64_t at = (start + step) % total;
        const CellPos cell{static_cast<std::int32_t>(at / cols) + 1,
                           static_cast<std::int32_t>(at % cols) + 1};
        if (matches(m_state->text(cell.row, cell.col), options)) {
            if (!moveCurrentCell(cell)) {
                return std::nullopt;
            }
            scrollTo(cell);
            return cell;
        }
    }
    return std::nullopt;
}

std::optional<CellPos> Grid::findAgain() {
    if (!m_lastFind) {
        return std::nullopt;
    }
    return find(*m_lastFind);
}

std::optional<CellPos> Grid::replace(const FindOptions& options, const std::string& replacement) {
    const CellPos cell = m_current;
    if (isEditable(cell.row, cell.col) && matches(m_state->text(cell.row, cell.col), options)) {
        cancelEdit();
        remember();
        const std::string& old = m_state->text(cell.row, cell.col);
        m_state->setText(cell.row, cell.col,
                         options.wholeCell ? replacement
                                           : replacedAll(old, options.text, replacement, options.matchCase));
        notifyCells({cell.row, cell.col, cell.row, cell.col});
        if (m_hooks != nullptr) {
            m_hooks->cellChanged(*this, cell.row, cell.col);
        }
    }
    return find(options);
}

int Grid::replaceAll(const FindOptions& options, const std::string& replacement) {
    m_lastFind = options;
    cancelEdit();
    std::vector<CellPos> found;
    for (std::int32_t r = 1; r <= rowCount(); ++r) {
        for (std::int32_t c = 1; c <= colCount(); ++c) {
            if (isEditable(r, c) && matches(m_state->text(r, c), options)) {
                found.push_back({r, c});
            }
        }
    }
    if (found.empty()) {
        return 0;
    }
    remember();
    for (const CellPos& cell : found) {
        const std::string& old = m_state->text(cell.row, cell.col);
        m_state->setText(cell.row, cell.col,
                         options.wholeCell ? replacement
                                           : replacedAll(old, options.text, replacement, options.matchCase));
    }
    notifyLayout();
    if (m_hooks != nullptr) {
        for (const CellPos& cell : found) {
            m_hooks->cellChanged(*this, cell.row, cell.col);
        }
    }
    return static_cast<int>(found.size());
}

// ---- zoom and modes ----

void Grid::zoomIn() {
    if (canZoomIn()) {
        m_state->settings().zoom = zoom() * 11 / 10;
        notifyLayout();
    }
}

void Grid::zoomOut() {
    if (canZoomOut()) {
        m_state->settings().zoom = zoom() * 10 / 11;
        notifyLayout();
    }
}

void Grid::zoomNormal() {
    m_state->settings().zoom = 100;
    notifyLayout();
}

void Grid::toggleReadOnly() {
    cancelEdit();
    m_state->settings().readOnly = !m_state->settings().readOnly;
    notifyLayout();
}

void Grid::togglePrintLike() {
    m_state->settings().printLike = !m_state->settings().printLike;
    notifyLayout();
}

// ---- formatting and structure ----

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
