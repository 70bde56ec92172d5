// Checks a year's archive against its manifest.json: every file listed is
// there with its size and SHA-256, and no file is there that is not listed.
// The zip is read in memory only; nothing is unpacked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

struct ArchiveCheck {
    bool ok = false;
    std::size_t filesChecked = 0;
    // What differs, one line each, in Swedish; the file named first.
    std::vector<std::string> problems;
};

// Limits that keep a hostile archive from taking the machine.
struct ArchiveLimits {
    std::uint64_t manifestBytes = 16u << 20;
    std::uint64_t entries = 1'000'000;
};

[[nodiscard]] ArchiveCheck verifyArchive(const std::string& path, const ArchiveLimits& limits = {});

} // namespace kv
