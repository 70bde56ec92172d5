// Prints a listing's pages, as the core lays them out for the printer (or
// PDF file) and its page font, on the printer or in the preview.
#pragma once

#include "reports/Listing.h"
#include "reports/PageLayout.h"

#include <QFont>
#include <QString>

class QPrinter;

namespace kv::ui {

// The page font: Arial at 10 points.
[[nodiscard]] QFont pageFont();
// The printable area of the printer and the height of a line of the page font.
[[nodiscard]] PrintDevice printDeviceOf(QPrinter& printer);

// A printer that writes an A4 PDF/A-1b file at 300 dots per inch, as
// "Spara som PDF..." and the year's archive write them.
void setUpPdfPrinter(QPrinter& pdf, const QString& fileName, const QString& title);

// The pages within the printer's page range (all when none is chosen).
void printListing(QPrinter& printer, const Listing& listing, int linesPerPage);

} // namespace kv::ui
