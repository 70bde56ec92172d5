// SIE files on disk: read whole under the same rules as the company files
// (regular files only, never more than a SIE file may hold), written
// atomically.
#pragma once

#include <string>

namespace kv {

// The bytes of the file. Throws FileError when it cannot be read, and
// SieReadError when it is larger than any SIE file the program reads.
std::string readSieFile(const std::string& path);

// Replaces the file with the bytes, or leaves it as it was. Throws FileError.
void writeSieFile(const std::string& path, const std::string& bytes);

} // namespace kv
