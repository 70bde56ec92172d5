// The fields of a grid-state object ("CGXGridParam") in the company files.
#pragma once

#include "grid/GridState.h"
#include "storage/Archive.h"

#include <memory>

namespace kv {

void writeGridState(ArchiveWriter& out, const GridState& grid);
GridState readGridState(ArchiveReader& in);

// A grid-state reference: null, or a new object with its fields.
void writeGridStateRef(ArchiveWriter& out, const GridState* grid);
std::unique_ptr<GridState> readGridStateRef(ArchiveReader& in);

} // namespace kv
