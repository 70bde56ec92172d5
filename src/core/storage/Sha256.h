// SHA-256 of a file's bytes, to know a file read in before by its content
// whatever it is named.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// The hash of bytes given in pieces, for files read a block at a time.
class Sha256 {
public:
    Sha256();
    void update(std::string_view bytes);
    // The 64 lower-case hex digits of the bytes given so far.
    [[nodiscard]] std::string hexDigest() const;

private:
    std::array<std::uint32_t, 8> m_state;
    std::array<unsigned char, 64> m_buffer{};
    std::size_t m_buffered = 0;
    std::uint64_t m_length = 0;
};

// The 64 lower-case hex digits of the SHA-256 of bytes.
std::string sha256Hex(std::string_view bytes);

} // namespace kv
