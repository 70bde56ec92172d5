// The memory of a report run: one region, mapped with all its pages at once,
// from which every allocation of the run is cut and which is given back only
// when the process ends. Reading a company makes about a million small
// objects; cutting them from one region spares the allocator's work and one
// page fault per page, which is most of the time a report takes.
#pragma once

#include <cstddef>

namespace kv::cli {

// From now on, new takes its memory from a region of bytes (further requests
// fall back to the heap once it is used up) and delete of such memory does
// nothing. For a process that ends after one task only. False when the
// region could not be had, or in a build checked by AddressSanitizer, whose
// leak check must see every allocation.
bool useReportArena(std::size_t bytes);

} // namespace kv::cli
