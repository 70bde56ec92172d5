// Pages of listings as a PDF file, without any window system: A4 pages at
// 300 device units per inch, the text in the PDF base font Helvetica (the
// metric twin of the page font Arial), encoded as Windows-1252.
#pragma once

#include "reports/PageLayout.h"

#include <string>
#include <vector>

namespace kv {

// Measures texts in Helvetica at 10 points, in units of 1/300 inch.
class HelveticaMeasurer final : public TextMeasurer {
public:
    [[nodiscard]] std::int32_t width(const std::string& utf8) const override;
};

// An A4 page with 6.35 mm margins, as the listings print on it.
[[nodiscard]] PrintDevice a4PdfDevice();

// The PDF file of the pages laid out for a4PdfDevice().
[[nodiscard]] std::string pdfDocument(const std::vector<ListingPage>& pages, const std::string& title);

} // namespace kv
