// A report as it shows on the screen: lines of placed texts. Each text knows
// its column of the report's table (or none, for headings and notes), so that
// the same form also prints as aligned text, CSV or JSON.
#pragma once

#include "grid/GridState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

enum class TextAlign { Left, Right };

inline constexpr Rgb kReportOrange = rgb(229, 81, 1);
inline constexpr Rgb kReportRed = rgb(200, 0, 0);

struct FormCell {
    std::string text;
    std::int32_t column = -1; // the table's column, or -1 for a free text
    std::int32_t x = 0;       // screen pixels; a right-aligned text ends here
    TextAlign align = TextAlign::Left;
    std::optional<Rgb> color; // black when none
    bool rule = false;        // a line of underscores that only decorates
};

struct FormLine {
    std::int32_t y = 0; // screen pixels, top of the text
    std::vector<FormCell> cells;
};

struct ReportForm {
    std::vector<std::string> columns; // the table's column titles
    std::vector<FormLine> lines;      // top to bottom
    std::int32_t height = 0;          // screen pixels the form needs
};

// How the screen measures: its width and vertical resolution, in pixels.
struct ScreenMeasures {
    std::int32_t width = 800;
    std::int32_t dpiY = 96;
};

// ceil(value * dpiY / 96): a vertical distance written for a 96-dpi screen.
[[nodiscard]] std::int32_t screenY(std::int32_t value, const ScreenMeasures& screen);

} // namespace kv
