// Advance widths of the PDF base fonts Helvetica and Helvetica-Bold (metric
// twins of Arial), in 1/1000 em, by Windows-1252 byte.
#pragma once

#include <array>
#include <cstdint>

namespace kv {

extern const std::array<std::uint16_t, 256> kHelveticaWidths;
extern const std::array<std::uint16_t, 256> kHelveticaBoldWidths;

} // namespace kv
