// The printed form of a cell grid: which cells go on which page and where,
// for a device given by its measures. The window program only paints the
// result, so page breaking is tested without a printer.
#pragma once

#include "grid/GridState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

struct PrintRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const PrintRect&) const = default;
    [[nodiscard]] std::int32_t right() const { return x + width; }
    [[nodiscard]] std::int32_t bottom() const { return y + height; }
};

// A text in its box. The alignment of the style is resolved (never Default);
// the row and column say where the cell came from (-1 for heading and footer).
struct PrintedCell {
    PrintRect rect;
    std::string text;
    CellStyle style;
    std::int32_t row = -1;
    std::int32_t col = -1;
};

// A horizontal line, under the column titles.
struct PrintedRule {
    std::int32_t x1 = 0;
    std::int32_t x2 = 0;
    std::int32_t y = 0;
};

struct PrintedPage {
    std::vector<PrintedCell> cells;
    std::vector<PrintedRule> rules;
};

// Device units throughout, origin at the top left of the printable area.
struct GridPrintMetrics {
    std::int32_t pageWidth = 0;
    std::int32_t pageHeight = 0;
    double pixelScale = 1.0;     // device units per pixel of a column width (at zoom 100)
    std::int32_t lineHeight = 0; // one line of text in the grid's font
    std::int32_t fontSize = 10;  // points of the grid's font; cells with larger fonts get taller rows
};

// Where a cell's text stands when the program gave it no alignment: titles
// (row 0 and column 0) centred, everything else to the left.
[[nodiscard]] HAlign displayAlign(const CellStyle& style, std::int32_t row, std::int32_t col);

// Pages in the order they print: all rows of the first band of columns, then
// the next band (a grid wider than the page is cut into bands). Each page
// repeats the heading lines and the column titles and ends with "page / pages"
// centred at the bottom. The row titles print, on every band, only when the
// program wrote some; trailing rows without content are left out. Returns no
// pages for a device without room.
[[nodiscard]] std::vector<PrintedPage> layoutGridPages(const GridState& state,
                                                       const GridPrintMetrics& metrics,
                                                       const std::vector<std::string>& heading = {});

} // namespace kv
