// Company files under 1 MB built to make the reader take as much memory as it
// can: grid states with cells far to the right, the most objects the bytes can
// hold, texts that grow when they become UTF-8, and a file of zeros.
#pragma once

#include <string>
#include <vector>

namespace kv::bench {

struct HostileFile {
    std::string name;
    std::string bytes;
};

// The largest input the memory bound is promised for.
inline constexpr std::size_t kHostileFileLimit = (std::size_t{1} << 20) - 1;

std::vector<HostileFile> hostileFiles();

} // namespace kv::bench
