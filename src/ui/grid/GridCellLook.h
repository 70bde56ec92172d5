// How a cell's style looks in Qt terms, on screen and on paper alike.
#pragma once

#include "grid/GridState.h"

#include <QColor>
#include <QFont>

namespace kv::ui {

// The cell's font: the grid's font with the cell's face, size and emphasis,
// scaled by the zoom in percent.
[[nodiscard]] QFont cellFont(const QFont& gridFont, const CellStyle& style, int zoom = 100);
// The grid's font scaled by the zoom.
[[nodiscard]] QFont zoomedFont(const QFont& gridFont, int zoom);
[[nodiscard]] QColor toQColor(Rgb colour);
[[nodiscard]] Rgb toRgb(const QColor& colour);
[[nodiscard]] Qt::Alignment toQtAlignment(HAlign align);

// The height of a row of text in font: the font's line spacing, or the
// height of the Swedish capitals' dots and rings where they reach higher,
// with padding above and below that grows with the zoom in percent.
[[nodiscard]] int textRowHeight(const QFont& font, int zoom = 100);

} // namespace kv::ui
