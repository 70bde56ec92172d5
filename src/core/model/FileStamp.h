// What tells one version of a file from another without reading it: the
// file's device and inode (a save by renaming gives a new one), its size and
// when its bytes last changed. The company keeps the stamp of the file it
// read or wrote, so that a save never writes over a file another program
// put there meanwhile.
#pragma once

#include <cstdint>

namespace kv {

struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0; // since the epoch

    bool operator==(const FileStamp&) const = default;
};

} // namespace kv
