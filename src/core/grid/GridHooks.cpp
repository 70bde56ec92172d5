// What a grid does when the program overrides none of its hooks: allows everything.
#include "grid/Grid.h"

namespace kv {

bool GridHooks::validateCell(Grid&, std::int32_t, std::int32_t) {
    return true;
}
bool GridHooks::startEditing(Grid&, std::int32_t, std::int32_t) {
    return true;
}
void GridHooks::currentCellMoving(Grid&, CellPos, CellPos) {}
bool GridHooks::mayMoveCurrentCell(Grid&, CellPos, CellPos) {
    return true;
}
void GridHooks::cellChanged(Grid&, std::int32_t, std::int32_t) {}
bool GridHooks::keyDown(Grid&, const GridKey&) {
    return false;
}
bool GridHooks::clearCells(Grid&) {
    return true;
}
bool GridHooks::cut(Grid&) {
    return true;
}
bool GridHooks::copy(Grid&) {
    return true;
}
bool GridHooks::paste(Grid&) {
    return true;
}
void GridHooks::readOnlyCellTouched(Grid&, std::int32_t, std::int32_t) {}

} // namespace kv
