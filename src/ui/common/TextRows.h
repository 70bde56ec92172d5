// Rows of a list as tall as their text needs: the dots of Å, Ä and Ö and the
// tails of g and j inside the row, whatever the font.
#pragma once

class QAbstractItemView;

namespace kv::ui {

// Gives the view's rows the height of a text row in its font (at least what
// the style would give them).
void fitRowsToFont(QAbstractItemView& view);

} // namespace kv::ui
