#include "sie/SieFiles.h"

#include "sie/SieBooks.h"
#include "storage/FileIo.h"
#include "storage/OutputPaths.h"

#include <cerrno>

namespace kv {

std::string readSieFile(const std::string& path) {
    const FileHandle handle = openLockedForReading(path);
    FileSource source(handle.fd());
    if (source.remaining() > kMaxSieFileBytes) {
        throw SieReadError(0, "Filen är för stor för att vara en SIE-fil som programmet kan läsa in (" +
                                  std::to_string(source.remaining() / (1024 * 1024)) + " MB).");
    }
    std::string bytes(static_cast<std::size_t>(source.remaining()), '\0');
    bytes.resize(source.read(bytes.data(), bytes.size()));
    return bytes;
}

void writeSieFile(const std::string& path, const std::string& bytes) {
    if (auto refused = outputRefusalReason(path, OutputKind::Text)) {
        throw FileError("write " + path, EPERM, std::move(*refused));
    }
    AtomicFileWriter file(path);
    file.write(bytes.data(), bytes.size());
    file.commit();
}

} // namespace kv
