// Find, find again and replace.
#include "grid/Grid.h"

#include "grid/GridMessages.h"

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

// The cell's text after the replacement; a whole-cell match replaces it all.
std::string replacedText(const std::string& cellText, const FindOptions& options,
                         const std::string& replacement) {
    return options.wholeCell ? replacement
                             : replacedAll(cellText, options.text, replacement, options.matchCase);
}

FindOutcome notFound(const FindOptions& options) {
    return {std::nullopt, 0, gridNotFoundMessage(options.text)};
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

bool Grid::anyCellMatches(const FindOptions& options) const {
    for (std::int32_t r = 1; r <= rowCount(); ++r) {
        for (std::int32_t c = 1; c <= colCount(); ++c) {
            if (matches(m_state->text(r, c), options)) {
                return true;
            }
        }
    }
    return false;
}

FindOutcome Grid::find(const FindOptions& options) {
    m_lastFind = options;
    const std::int32_t rows = rowCount();
    const std::int32_t cols = colCount();
    if (rows < 1 || cols < 1) {
        return notFound(options);
    }
    const std::int64_t total = std::int64_t{rows} * cols;
    const std::int64_t start = std::int64_t{m_current.row - 1} * cols + (m_current.col - 1);
    for (std::int64_t step = 1; step <= total; ++step) {
        const std::int64_t at = (start + step) % total;
        const CellPos cell{static_cast<std::int32_t>(at / cols) + 1,
                           static_cast<std::int32_t>(at % cols) + 1};
        if (matches(m_state->text(cell.row, cell.col), options)) {
            if (!moveCurrentCell(cell)) {
                return {}; // the program refused the open edit and has told the user
            }
            scrollTo(cell);
            return {cell, 0, std::nullopt};
        }
    }
    return notFound(options);
}

FindOutcome Grid::findAgain() {
    if (!m_lastFind) {
        return {};
    }
    return find(*m_lastFind);
}

FindOutcome Grid::replace(const FindOptions& options, const std::string& replacement) {
    if (isReadOnly()) {
        m_lastFind = options;
        return {std::nullopt, 0, gridReadOnlyReplaceMessage()};
    }
    const CellPos cell = m_current;
    std::int32_t replacedCount = 0;
    if (isEditable(cell.row, cell.col) && matches(m_state->text(cell.row, cell.col), options)) {
        cancelEdit();
        remember();
        m_state->setText(cell.row, cell.col,
                         replacedText(m_state->text(cell.row, cell.col), options, replacement));
        replacedCount = 1;
        notifyCells({cell.row, cell.col, cell.row, cell.col});
        if (m_hooks != nullptr) {
            m_hooks->cellChanged(*this, cell.row, cell.col);
        }
    }
    FindOutcome outcome = find(options);
    outcome.replaced = replacedCount;
    return outcome;
}

FindOutcome Grid::replaceAll(const FindOptions& options, const std::string& replacement) {
    m_lastFind = options;
    if (isReadOnly()) {
        return {std::nullopt, 0, gridReadOnlyReplaceMessage()};
    }
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
        // Matches only in protected cells were found all the same: none replaced.
        return anyCellMatches(options) ? FindOutcome{std::nullopt, 0, gridReplacedMessage(0)}
                                       : notFound(options);
    }
    remember();
    for (const CellPos& cell : found) {
        m_state->setText(cell.row, cell.col,
                         replacedText(m_state->text(cell.row, cell.col), options, replacement));
    }
    notifyLayout();
    if (m_hooks != nullptr) {
        for (const CellPos& cell : found) {
            m_hooks->cellChanged(*this, cell.row, cell.col);
        }
    }
    const auto count = static_cast<std::int32_t>(found.size());
    return {std::nullopt, count, gridReplacedMessage(count)};
}

} // namespace kv
