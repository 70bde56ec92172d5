// Paints the pages that the core lays out for a grid on a printer, a PDF
// file or the print preview.
#pragma once

#include "grid/GridPrintLayout.h"

#include <QFont>
#include <QStringList>

class QPainter;
class QPrinter;

namespace kv::ui {

// The measures of the printer and the grid's font, laid out by the core.
[[nodiscard]] std::vector<PrintedPage> gridPages(QPrinter& printer, const GridState& state,
                                                 const QFont& gridFont, const QStringList& heading);
// Paints one page on a device of the given resolution (dots per inch).
void paintGridPage(QPainter& painter, const PrintedPage& page, const QFont& gridFont, int resolution);
// Paints the pages within the printer's page range (all when none is chosen).
void paintGridPages(QPrinter& printer, const std::vector<PrintedPage>& pages, const QFont& gridFont);

} // namespace kv::ui
