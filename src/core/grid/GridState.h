// The persistent state of a cell grid: cells with text and style, row and
// column counts, column widths and the display settings. Row 0 holds the
// column titles and column 0 the row titles; data starts at row 1, column 1.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

enum class HAlign : std::int32_t { Default = 0, Left = 1, Center = 2, Right = 3 };

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;
constexpr Rgb rgb(int r, int g, int b) {
    return (static_cast<Rgb>(r & 0xFF) << 16) | (static_cast<Rgb>(g & 0xFF) << 8) |
           static_cast<Rgb>(b & 0xFF);
}

struct CellStyle {
    bool readOnly = false;
    std::optional<Rgb> background;
    std::optional<Rgb> textColor;
    std::string fontFace;      // empty: the grid's font
    std::int32_t fontSize = 0; // points; 0: the grid's size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    HAlign align = HAlign::Default;

    bool operator==(const CellStyle&) const = default;
};

struct GridCell {
    std::string text;
    CellStyle style;

    bool operator==(const GridCell&) const = default;
    [[nodiscard]] bool isDefault() const { return text.empty() && style == CellStyle{}; }
};

struct CellPos {
    std::int32_t row = 0;
    std::int32_t col = 0;
    bool operator==(const CellPos&) const = default;
};

struct CellRange {
    std::int32_t top = 0;
    std::int32_t left = 0;
    std::int32_t bottom = 0; // inclusive
    std::int32_t right = 0;  // inclusive

    bool operator==(const CellRange&) const = default;
    [[nodiscard]] bool contains(std::int32_t row, std::int32_t col) const {
        return row >= top && row <= bottom && col >= left && col <= right;
    }
};

struct GridSettings {
    std::int32_t zoom = 100; // percent
    bool readOnly = false;   // the whole grid refuses edits by the user
    bool printLike = false;  // display as printed

    bool operator==(const GridSettings&) const = default;
};

class GridState {
public:
    static constexpr std::int32_t kMaxRows = 100000;
    static constexpr std::int32_t kMaxCols = 256;
    static constexpr std::int32_t kMaxColumnWidth = 10000;
    // The width of a column whose width was never set, in pixels at zoom 100.
    static constexpr std::int32_t kDefaultColumnWidth = 80;

    GridState();

    bool operator==(const GridState& other) const;

    // Counts exclude the title row and column: rows run 0..rowCount().
    [[nodiscard]] std::int32_t rowCount() const { return static_cast<std::int32_t>(m_rows.size()) - 1; }
    [[nodiscard]] std::int32_t colCount() const { return m_colCount; }
    void setRowCount(std::int32_t rows);
    void setColCount(std::int32_t cols);

    [[nodiscard]] bool isValid(std::int32_t row, std::int32_t col) const;
    [[nodiscard]] const GridCell& cell(std::int32_t row, std::int32_t col) const;
    [[nodiscard]] const std::string& text(std::int32_t row, std::int32_t col) const;
    [[nodiscard]] const CellStyle& style(std::int32_t row, std::int32_t col) const;
    // Writes go through even on read-only cells: read-only stops the user, not the program.
    void setText(std::int32_t row, std::int32_t col, std::string text);
    void setStyle(std::int32_t row, std::int32_t col, const CellStyle& style);
    void setCell(std::int32_t row, std::int32_t col, GridCell cell);
    template <typename Change> void changeStyle(const CellRange& range, Change change);

    // Pixels, at zoom 100; 0 means the grid's default width.
    [[nodiscard]] std::int32_t columnWidth(std::int32_t col) const;
    void setColumnWidth(std::int32_t col, std::int32_t width);

    // Rows at and below pos move down; pos may be rowCount()+1 to append.
    void insertRows(std::int32_t pos, std::int32_t count);
    void removeRows(std::int32_t first, std::int32_t last);
    void insertCols(std::int32_t pos, std::int32_t count);
    void removeCols(std::int32_t first, std::int32_t last);

    [[nodiscard]] const GridSettings& settings() const { return m_settings; }
    GridSettings& settings() { return m_settings; }

    // Visits every cell that differs from an empty default cell, row by row.
    template <typename Visit> void forEachStoredCell(Visit visit) const;

private:
    GridCell* mutableCell(std::int32_t row, std::int32_t col);

    std::vector<std::vector<GridCell>> m_rows; // each row sized lazily up to colCount()+1
    std::int32_t m_colCount = 0;
    std::vector<std::int32_t> m_columnWidths; // colCount()+1 entries
    GridSettings m_settings;
};

template <typename Change> void GridState::changeStyle(const CellRange& range, Change change) {
    for (std::int32_t r = range.top; r <= range.bottom; ++r) {
        for (std::int32_t c = range.left; c <= range.right; ++c) {
            if (GridCell* target = mutableCell(r, c)) {
                change(target->style);
            }
        }
    }
}

template <typename Visit> void GridState::forEachStoredCell(Visit visit) const {
    for (std::int32_t r = 0; r < static_cast<std::int32_t>(m_rows.size()); ++r) {
        const auto& row = m_rows[static_cast<std::size_t>(r)];
        for (std::int32_t c = 0; c < static_cast<std::int32_t>(row.size()); ++c) {
            const GridCell& current = row[static_cast<std::size_t>(c)];
            if (!current.isDefault()) {
                visit(r, c, current);
            }
        }
    }
}

} // namespace kv
