// SHA-256 of a file's bytes, to know a file read in before by its content
// whatever it is named.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// The 64 lower-case hex digits of the SHA-256 of bytes.
std::string sha256Hex(std::string_view bytes);

} // namespace kv
