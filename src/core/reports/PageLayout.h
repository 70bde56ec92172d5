// Pages of a listing for a device given by its measures: which lines go on
// which page and where each text stands. The window program paints the
// result on a printer, a PDF file or the preview; the command-line tool
// writes it as PDF. Nothing here needs a printer.
#pragma once

#include "reports/Listing.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

// Device units throughout, origin at the top left of the printable area.
struct PrintDevice {
    std::int32_t width = 0;      // printable width
    std::int32_t height = 0;     // printable height
    std::int32_t lineHeight = 0; // h: one line of the page font (Arial, 10 points)
    std::int32_t dpi = 300;      // the fixed positions are written for 300 dots per inch
};

// The width of a text in the page font, in device units.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    [[nodiscard]] virtual std::int32_t width(const std::string& utf8) const = 0;
};

struct PagePlacement {
    std::int32_t x = 0; // left edge of the text
    std::int32_t y = 0; // top of its line
    std::string text;
};

struct ListingPage {
    std::vector<PagePlacement> texts;
};

// C(p): a layout value of the listing's column rule on this device.
[[nodiscard]] std::int32_t columnX(std::int32_t p, const PrintDevice& device);
// A fixed position of the reference page (300 dpi) on this device.
[[nodiscard]] std::int32_t fixedX(std::int32_t units, const PrintDevice& device);

// Listing lines that fit on a page of the device: its lines less twelve for
// the heading, the footer and the margin (at least one).
[[nodiscard]] int linesPerPageOn(const PrintDevice& device);
// The lines per page a window prints with. Without a printer to ask at
// start-up it is 20, which only stands in until printing starts on a real
// device (a printer, or the page of a PDF file): that device's room then
// counts, and from there the value is only ever lowered.
inline constexpr int kLinesPerPageWithoutPrinter = 20;
struct PageLines {
    int lines = kLinesPerPageWithoutPrinter;
    bool fromDevice = false; // settled by a real device, not the stand-in

    bool operator==(const PageLines&) const = default;
};
// The lines per page in force after printing starts on the device.
[[nodiscard]] PageLines linesWhenPrinting(PageLines current, const PrintDevice& device);
// Pages of a listing of lineCount lines: at least one, which holds the
// heading when the listing is empty.
[[nodiscard]] int pageCount(std::size_t lineCount, int linesPerPage);

// Page number (1 to pageCount) of the listing, with its heading and the
// footer "n / m" centred at the bottom. No text runs into the next one on
// its line or past the right edge: it is cut short.
[[nodiscard]] ListingPage layoutListingPage(const Listing& listing, const PrintDevice& device,
                                            const TextMeasurer& measurer, int linesPerPage, int page);

} // namespace kv
