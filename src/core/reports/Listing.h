// The printed form of a report: prepared lines of eight text cells, each with
// its x position, which printing cuts into pages.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv {

struct CUtskriftsrad {
    std::array<std::string, 8> m_text;
    std::array<std::int32_t, 8> m_x{};
};

// How the cells of a listing's lines stand on the page.
enum class ListingPlacement {
    FixedColumns, // cell 0 at its own x, cells 1 to 5 and 6 to 7 at the page's columns
    OwnPositions, // every cell at its own x; cells from rightFrom (5) on end there
};

// A page heading text at a layout position: x is a device position of the
// reference page (fixed) or a column value p of the rule C(p) (scaled).
struct HeadingText {
    std::string text;
    std::int32_t x = 0;
    std::int32_t line = 0; // in text lines from the top
    bool scaled = false;
    bool rightAligned = false;
    std::int32_t shift = 0; // device units added after scaling
};

struct Listing {
    std::vector<HeadingText> heading;
    // The prepared lines; or, for a listing too long to keep, their number
    // and the maker of each line, called as the pages are laid out.
    std::vector<CUtskriftsrad> lines;
    std::size_t madeCount = 0;
    std::function<CUtskriftsrad(std::size_t)> makeLine;
    ListingPlacement placement = ListingPlacement::FixedColumns;
    std::int32_t firstLine = 8;  // the listing starts this many text lines down
    std::int32_t cell5Shift = 0; // device units added to cell 5 (the trial balance's 150)
    std::size_t rightFrom = 5;   // own positions: the first cell that ends at its x

    [[nodiscard]] std::size_t size() const { return makeLine ? madeCount : lines.size(); }
    [[nodiscard]] CUtskriftsrad line(std::size_t index) const {
        return makeLine ? makeLine(index) : lines[index];
    }
};

// The 87 underscores under the page heading.
inline const std::string kHeadingRule(87, '_');

} // namespace kv
