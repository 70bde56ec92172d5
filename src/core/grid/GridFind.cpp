// Find, find again and replace.
#include "grid/Grid.h"

namespace kv {

namespace {

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

} // namespace kv
