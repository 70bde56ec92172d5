// The year's archive: one zip with the period's reports as PDF files, its SIE
// file, the vouchers' attachments and manifest.json, which names every file
// with its SHA-256 and size, so that the archive can be checked years later.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv {

// A failure to write or read an archive, told in Swedish.
class YearArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One file of the archive: its bytes, or the file on disk they are read from.
struct ArchiveFile {
    std::string path;        // inside the zip, e.g. "rapporter/huvudbok-konton.pdf"
    std::string description; // what it is, in Swedish
    std::string bytes;
    std::string sourceFile; // when not empty, the bytes are this file's
    // What the file on disk must be (a receipt as it was attached): when
    // given, a file that differs is refused instead of archived.
    std::string expectedSha256;
    std::uint64_t expectedSize = 0;
};

// A voucher's attachment as the company keeps it.
struct ArchiveAttachment {
    std::int32_t voucher = 0;
    std::string originalName;
    std::string storedPath;
    std::string sha256; // as recorded when attached; empty: not checked
    std::uint64_t size = 0;
};

// What manifest.json says of the archive besides its files.
struct ArchiveHeader {
    std::string company;
    std::string orgNumber;  // empty when the company keeps none
    std::string periodFrom; // "2026-01-01"
    std::string periodTo;   // "2026-12-31"
    std::string programVersion;
    std::string created; // "2026-12-10T09:40:49Z"
};

inline constexpr const char* kManifestName = "manifest.json";

// The attachments as files of the archive: "underlag/0012-1-kvitto.pdf",
// numbered per voucher in the order given. A stored file whose size or
// SHA-256 is no longer what was recorded stops the writing: the archive
// never vouches for a receipt that changed after it was attached.
[[nodiscard]] std::vector<ArchiveFile> attachmentFiles(const std::vector<ArchiveAttachment>& attachments);

// What a file listed in the manifest is.
struct ManifestEntry {
    std::string path;
    std::string sha256;
    std::uint64_t size = 0;
    std::string description;
};
[[nodiscard]] std::string manifestJson(const ArchiveHeader& header, const std::vector<ManifestEntry>& files);

// Writes the archive at path: under a temporary name beside it first, renamed
// into place only when whole, so a failure leaves no archive and an archive
// that was there as it was. Two files of one name are refused. Throws
// YearArchiveError.
void writeYearArchive(const std::string& path, const ArchiveHeader& header,
                      const std::vector<ArchiveFile>& files);

} // namespace kv
