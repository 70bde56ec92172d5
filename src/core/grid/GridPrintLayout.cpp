#include "grid/GridPrintLayout.h"

#include <algorithm>
#include <cmath>

namespace kv {

HAlign displayAlign(const CellStyle& style, std::int32_t row, std::int32_t col) {
    if (style.align != HAlign::Default) {
        return style.align;
    }
    return row == 0 || col == 0 ? HAlign::Center : HAlign::Left;
}

namespace {

struct Column {
    std::int32_t col = 0;
    std::int32_t width = 0;
};

// What every page shares: the columns, their bands and the row heights.
class PagePlan {
public:
    PagePlan(const GridState& state, const GridPrintMetrics& metrics, std::size_t headingLines)
        : m_state(state), m_metrics(metrics) {
        m_rowTitles = anyText(1, state.rowCount(), 0, 0);
        m_columnTitles = anyText(0, 0, m_rowTitles ? 0 : 1, state.colCount());
        m_titleWidth = m_rowTitles ? std::min(deviceWidth(0), metrics.pageWidth / 2) : 0;
        m_headingHeight =
            headingLines == 0 ? 0 : static_cast<std::int32_t>(headingLines) * lineHeight() + lineHeight() / 2;
        m_bodyTop = m_headingHeight + (m_columnTitles ? rowHeight(0) : 0);
        m_bodyBottom = metrics.pageHeight - lineHeight() - lineHeight() / 2;
        makeBands();
        makeRowBlocks();
    }

    [[nodiscard]] bool fits() const { return m_bodyBottom > m_bodyTop; }
    [[nodiscard]] const std::vector<std::vector<Column>>& bands() const { return m_bands; }
    [[nodiscard]] const std::vector<std::pair<std::int32_t, std::int32_t>>& rowBlocks() const {
        return m_blocks;
    }

    PrintedPage page(const std::vector<Column>& band, std::pair<std::int32_t, std::int32_t> rows,
                     const std::vector<std::string>& heading) const {
        PrintedPage out;
        std::int32_t y = 0;
        for (std::size_t i = 0; i < heading.size(); ++i) {
            CellStyle style;
            style.bold = i == 0;
            style.align = HAlign::Left;
            out.cells.push_back({{0, y, m_metrics.pageWidth, lineHeight()}, heading[i], style});
            y += lineHeight();
        }
        y = m_headingHeight;
        if (m_columnTitles) {
            const std::int32_t right = placeRow(out, band, 0, y);
            y += rowHeight(0);
            out.rules.push_back({0, right, y});
        }
        for (std::int32_t row = rows.first; row <= rows.second; ++row) {
            placeRow(out, band, row, y);
            y += rowHeight(row);
        }
        return out;
    }

    [[nodiscard]] std::int32_t lineHeight() const { return std::max(1, m_metrics.lineHeight); }

private:
    [[nodiscard]] bool anyText(std::int32_t top, std::int32_t bottom, std::int32_t left,
                               std::int32_t right) const {
        for (std::int32_t r = top; r <= bottom; ++r) {
            for (std::int32_t c = left; c <= right; ++c) {
                if (!m_state.text(r, c).empty()) {
                    return true;
                }
            }
        }
        return false;
    }

    [[nodiscard]] bool rowHasContent(std::int32_t row) const {
        for (std::int32_t c = m_rowTitles ? 0 : 1; c <= m_state.colCount(); ++c) {
            if (!m_state.text(row, c).empty() || m_state.style(row, c).background) {
                return true;
            }
        }
        return false;
    }

    [[nodiscard]] std::int32_t deviceWidth(std::int32_t col) const {
        const std::int32_t pixels =
            m_state.columnWidth(col) > 0 ? m_state.columnWidth(col) : GridState::kDefaultColumnWidth;
        const double width = std::round(pixels * m_metrics.pixelScale);
        return static_cast<std::int32_t>(
            std::clamp(width, 1.0, static_cast<double>(std::max(1, m_metrics.pageWidth))));
    }

    // A line of the grid's font plus a quarter line of air; larger fonts make the row taller.
    [[nodiscard]] std::int32_t rowHeight(std::int32_t row) const {
        std::int64_t text = lineHeight();
        const std::int64_t base = std::max(1, m_metrics.fontSize);
        for (std::int32_t c = m_rowTitles ? 0 : 1; c <= m_state.colCount(); ++c) {
            const std::int64_t size = m_state.style(row, c).fontSize;
            if (size > base) {
                text = std::max(text, (lineHeight() * size + base - 1) / base);
            }
        }
        return static_cast<std::int32_t>(text) + std::max(1, lineHeight() / 4);
    }

    void makeBands() {
        const std::int32_t room = std::max(1, m_metrics.pageWidth - m_titleWidth);
        std::vector<Column> band;
        std::int32_t used = 0;
        for (std::int32_t c = 1; c <= m_state.colCount(); ++c) {
            const std::int32_t width = std::min(deviceWidth(c), room);
            if (!band.empty() && used + width > room) {
                m_bands.push_back(std::move(band));
                band.clear();
                used = 0;
            }
            band.push_back({c, width});
            used += width;
        }
        if (!band.empty() || m_bands.empty()) {
            m_bands.push_back(std::move(band));
        }
    }

    void makeRowBlocks() {
        std::int32_t last = m_state.rowCount();
        while (last > 0 && !rowHasContent(last)) {
            --last;
        }
        if (last == 0) {
            m_blocks.emplace_back(1, 0);
            return;
        }
        std::int32_t first = 1;
        std::int32_t y = m_bodyTop;
        for (std::int32_t row = 1; row <= last; ++row) {
            const std::int32_t height = rowHeight(row);
            if (row > first && y + height > m_bodyBottom) {
                m_blocks.emplace_back(first, row - 1);
                first = row;
                y = m_bodyTop;
            }
            y += height;
        }
        m_blocks.emplace_back(first, last);
    }

    // Places one grid row at height y; returns where the row ends on the right.
    std::int32_t placeRow(PrintedPage& page, const std::vector<Column>& band, std::int32_t row,
                          std::int32_t y) const {
        const std::int32_t height = rowHeight(row);
        std::int32_t x = 0;
        if (m_rowTitles) {
            place(page, row, 0, {x, y, m_titleWidth, height});
            x += m_titleWidth;
        }
        for (const Column& column : band) {
            place(page, row, column.col, {x, y, column.width, height});
            x += column.width;
        }
        return x;
    }

    void place(PrintedPage& page, std::int32_t row, std::int32_t col, PrintRect rect) const {
        const GridCell& cell = m_state.cell(row, col);
        if (cell.text.empty() && !cell.style.background) {
            return;
        }
        CellStyle style = cell.style;
        style.align = displayAlign(style, row, col);
        page.cells.push_back({rect, cell.text, style, row, col});
    }

    const GridState& m_state;
    const GridPrintMetrics& m_metrics;
    bool m_rowTitles = false;
    bool m_columnTitles = false;
    std::int32_t m_titleWidth = 0;
    std::int32_t m_headingHeight = 0;
    std::int32_t m_bodyTop = 0;
    std::int32_t m_bodyBottom = 0;
    std::vector<std::vector<Column>> m_bands;
    std::vector<std::pair<std::int32_t, std::int32_t>> m_blocks; // first and last row; last < first: none
};

} // namespace

std::vector<PrintedPage> layoutGridPages(const GridState& state, const GridPrintMetrics& metrics,
                                         const std::vector<std::string>& heading) {
    if (metrics.pageWidth <= 0 || metrics.pageHeight <= 0 || metrics.lineHeight <= 0 ||
        !(metrics.pixelScale > 0)) {
        return {};
    }
    const PagePlan plan(state, metrics, heading.size());
    if (!plan.fits()) {
        return {};
    }
    std::vector<PrintedPage> pages;
    for (const auto& band : plan.bands()) {
        for (const auto& rows : plan.rowBlocks()) {
            pages.push_back(plan.page(band, rows, heading));
        }
    }
    const std::string count = std::to_string(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        CellStyle style;
        style.align = HAlign::Center;
        const std::int32_t height = plan.lineHeight();
        pages[i].cells.push_back({{0, metrics.pageHeight - height, metrics.pageWidth, height},
                                  std::to_string(i + 1) + " / " + count,
                                  style});
    }
    return pages;
}

} // namespace kv
