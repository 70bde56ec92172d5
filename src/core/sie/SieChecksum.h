// The checksum of a SIE file ("#KSUMMA"): a CRC-32 over the label and the
// field contents of every record between the opening "#KSUMMA" and the
// closing one, as the file's bytes hold them, without the blanks, quotes and
// braces between them and without the line ends.
#pragma once

#include <cstdint>
#include <string_view>

namespace kv {

class SieChecksum {
public:
    void add(std::string_view bytes);
    // The CRC-32 of everything added, as the closing "#KSUMMA" states it.
    [[nodiscard]] std::uint32_t value() const { return m_crc ^ 0xFFFFFFFFu; }

private:
    std::uint32_t m_crc = 0xFFFFFFFFu;
};

} // namespace kv
