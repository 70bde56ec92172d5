// Zoom and the display modes: write protection and the print-like view.
#include "grid/Grid.h"

namespace kv {

void Grid::zoomIn() {
    if (canZoomIn()) {
        m_state->settings().zoom = zoom() * 11 / 10;
        notifyLayout();
    }
}

void Grid::zoomOut() {
    if (canZoomOut()) {
        m_state->settings().zoom = zoom() * 10 / 11;
        notifyLayout();
    }
}

void Grid::zoomNormal() {
    m_state->settings().zoom = 100;
    notifyLayout();
}

void Grid::toggleReadOnly() {
    cancelEdit();
    m_state->settings().readOnly = !m_state->settings().readOnly;
    notifyLayout();
}

void Grid::togglePrintLike() {
    m_state->settings().printLike = !m_state->settings().printLike;
    notifyLayout();
}

} // namespace kv
