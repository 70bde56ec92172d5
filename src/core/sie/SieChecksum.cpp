#include "sie/SieChecksum.h"

#include <array>

namespace kv {

namespace {

// The reflected table of the polynomial 0x04C11DB7, as zip and Ethernet use it.
constexpr std::array<std::uint32_t, 256> makeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t crc = i;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) != 0 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
        table[i] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = makeTable();

} // namespace

void SieChecksum::add(std::string_view bytes) {
    std::uint32_t crc = m_crc;
    for (const char c : bytes) {
        crc = kTable[(crc ^ static_cast<unsigned char>(c)) & 0xFFu] ^ (crc >> 8);
    }
    m_crc = crc;
}

} // namespace kv
