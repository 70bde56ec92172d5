#include "reports/PageLayout.h"

#include "reports/ReportText.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

// Cells 1 to 5 of a listing with fixed columns, and cells 6 and 7, which end there.
constexpr std::array<std::int32_t, 8> kFixedColumns = {0, 345, 525, 785, 1015, 1305, 1950, 2305};
constexpr std::int32_t kCellIndent = 150;

struct Item {
    std::int32_t left = 0;
    std::string text;
    std::int32_t width = 0;
};

// The longest start of text no wider than room.
std::string cutToWidth(const std::string& text, std::int32_t room, const TextMeasurer& measurer) {
    std::size_t low = 0;
    std::size_t high = characterCount(text);
    while (low < high) {
        const std::size_t mid = (low + high + 1) / 2;
        if (measurer.width(firstCharacters(text, mid)) <= room) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    return firstCharacters(text, low);
}

// Places the texts of one line: a heading text that would run into the one
// before it moves right; every text is cut where the next begins or the page ends.
void placeLine(std::vector<Item> items, std::int32_t y, bool shiftHeadings, const PrintDevice& device,
               const TextMeasurer& measurer, ListingPage& page) {
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return a.left < b.left; });
    const std::int32_t gap = std::max(1, measurer.width(" "));
    for (std::size_t i = 0; i < items.size(); ++i) {
        Item& item = items[i];
        item.left = std::max(item.left, 0);
        if (shiftHeadings && i > 0) {
            const Item& before = items[i - 1];
            item.left = std::max(item.left, before.left + before.width + gap);
        }
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        Item& item = items[i];
        std::int32_t limit = device.width;
        if (i + 1 < items.size()) {
            limit = std::min(limit, items[i + 1].left - gap);
        }
        if (item.left + item.width > limit) {
            item.text = cutToWidth(item.text, limit - item.left, measurer);
        }
        if (!item.text.empty()) {
            page.texts.push_back({item.left, y, std::move(item.text)});
        }
    }
}

Item makeItem(std::string text, std::int32_t x, bool rightAligned, const TextMeasurer& measurer) {
    const std::int32_t width = measurer.width(text);
    return {rightAligned ? x - width : x, std::move(text), width};
}

std::vector<Item> listingItems(const Listing& listing, const CUtskriftsrad& line, const PrintDevice& device,
                               const TextMeasurer& measurer) {
    std::vector<Item> items;
    for (std::size_t cell = 0; cell < line.m_text.size(); ++cell) {
        const std::string& text = line.m_text[cell];
        if (text.empty()) {
            continue;
        }
        std::int32_t x = line.m_x[cell];
        bool right = false;
        if (listing.placement == ListingPlacement::FixedColumns) {
            x = cell == 0 ? fixedX(line.m_x[0] != 0 ? line.m_x[0] : kCellIndent, device)
                          : columnX(kFixedColumns[cell], device);
            if (cell == 5) {
                x += fixedX(listing.cell5Shift, device);
            }
            right = cell >= 6;
        } else {
            right = cell >= listing.rightFrom;
        }
        items.push_back(makeItem(text, x, right, measurer));
    }
    return items;
}

} // namespace

std::int32_t columnX(std::int32_t p, const PrintDevice& device) {
    const std::int64_t scaled = std::int64_t{device.width} * p;
    return static_cast<std::int32_t>((scaled + 2322) / 2323);
}

std::int32_t fixedX(std::int32_t units, const PrintDevice& device) {
    return static_cast<std::int32_t>(std::lround(static_cast<double>(units) * device.dpi / 300.0));
}

int linesPerPageOn(const PrintDevice& device) {
    if (device.lineHeight <= 0) {
        return 1;
    }
    return std::max(1, device.height / device.lineHeight - 12);
}

PageLines linesWhenPrinting(PageLines current, const PrintDevice& device) {
    const int room = linesPerPageOn(device);
    if (!current.fromDevice || current.lines <= 0) {
        return {room, true};
    }
    return {std::min(current.lines, room), true};
}

int pageCount(std::size_t lineCount, int linesPerPage) {
    const auto perPage = static_cast<std::size_t>(std::max(1, linesPerPage));
    return std::max(1, static_cast<int>((lineCount + perPage - 1) / perPage));
}

ListingPage layoutListingPage(const Listing& listing, const PrintDevice& device, const TextMeasurer& measurer,
                              int linesPerPage, int page) {
    ListingPage out;
    const std::int32_t h = std::max(1, device.lineHeight);
    const int pages = pageCount(listing.size(), linesPerPage);
    // The heading, line by line.
    std::vector<std::int32_t> headingLines;
    for (const HeadingText& text : listing.heading) {
        if (std::find(headingLines.begin(), headingLines.end(), text.line) == headingLines.end()) {
            headingLines.push_back(text.line);
        }
    }
    for (const std::int32_t line : headingLines) {
        std::vector<Item> items;
        for (const HeadingText& text : listing.heading) {
            if (text.line == line) {
                const std::int32_t x = (text.scaled ? columnX(text.x, device) : fixedX(text.x, device)) +
                                       fixedX(text.shift, device);
                items.push_back(makeItem(text.text, x, text.rightAligned, measurer));
            }
        }
        placeLine(std::move(items), line * h, true, device, measurer, out);
    }
    // The page's slice of the listing.
    const auto perPage = static_cast<std::size_t>(std::max(1, linesPerPage));
    const std::size_t first = static_cast<std::size_t>(std::max(0, page - 1)) * perPage;
    const std::size_t last = std::min(first + perPage, listing.size());
    for (std::size_t i = first; i < last; ++i) {
        const auto y =
            static_cast<std::int32_t>(listing.firstLine + static_cast<std::int32_t>(i - first)) * h;
        placeLine(listingItems(listing, listing.line(i), device, measurer), y, false, device, measurer, out);
    }
    // The footer.
    const std::string footer = std::to_string(page) + " / " + std::to_string(pages);
    out.texts.push_back({(device.width - measurer.width(footer)) / 2, device.height - h, footer});
    return out;
}

} // namespace kv
