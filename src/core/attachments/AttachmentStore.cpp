#include "attachments/AttachmentStore.h"

#include "storage/FileIo.h"
#include "storage/Sha256.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>

namespace kv {

namespace {

constexpr std::string_view kPdfMagic = "%PDF-";
constexpr std::string_view kJpegMagic = "\xFF\xD8\xFF";
constexpr std::string_view kPngMagic{"\x89PNG\r\n\x1A\n", 8};

std::string megabytes(std::uint64_t size) {
    // Rounded up, so that a file just above the limit never reads as the limit.
    return std::to_string((size + 1024 * 1024 - 1) / (1024 * 1024)) + " MB";
}

std::string refusal(const std::string& file, const std::string& reason) {
    return std::string(kMsgUnderlagKanEjLasas) + "\n" + file + "\n\n" + reason;
}

bool isHexDigest(std::string_view text) {
    if (text.size() != 64) {
        return false;
    }
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<AttachmentKind> attachmentKindOf(std::string_view bytes) {
    if (bytes.starts_with(kPdfMagic)) {
        return AttachmentKind::Pdf;
    }
    if (bytes.starts_with(kJpegMagic)) {
        return AttachmentKind::Jpeg;
    }
    if (bytes.starts_with(kPngMagic)) {
        return AttachmentKind::Png;
    }
    return std::nullopt;
}

const char* attachmentKindName(AttachmentKind kind) {
    switch (kind) {
    case AttachmentKind::Jpeg:
        return "jpeg";
    case AttachmentKind::Png:
        return "png";
    case AttachmentKind::Pdf:
        break;
    }
    return "pdf";
}

std::optional<AttachmentKind> attachmentKindNamed(std::string_view name) {
    for (const AttachmentKind kind : {AttachmentKind::Pdf, AttachmentKind::Jpeg, AttachmentKind::Png}) {
        if (name == attachmentKindName(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

const char* attachmentKindExtension(AttachmentKind kind) {
    switch (kind) {
    case AttachmentKind::Jpeg:
        return ".jpg";
    case AttachmentKind::Png:
        return ".png";
    case AttachmentKind::Pdf:
        break;
    }
    return ".pdf";
}

const char* attachmentKindTitle(AttachmentKind kind) {
    switch (kind) {
    case AttachmentKind::Jpeg:
        return "JPEG";
    case AttachmentKind::Png:
        return "PNG";
    case AttachmentKind::Pdf:
        break;
    }
    return "PDF";
}

std::string attachmentStoredName(const std::string& sha256, AttachmentKind kind) {
    return sha256 + attachmentKindExtension(kind);
}

std::string attachmentStoredPath(const std::string& companyPath, const AttachmentRecord& record) {
    const std::optional<AttachmentKind> kind = attachmentKindNamed(record.kind);
    if (!kind || !isHexDigest(record.sha256)) {
        throw AttachmentError(
            std::string(kMsgUnderlagSaknas) + "\n" + record.fileName + "\n\n" +
            "Företagets databas beskriver underlaget på ett sätt som programmet inte känner "
            "igen (" +
            record.kind + ").");
    }
    return attachmentFolderPath(companyPath) + attachmentStoredName(record.sha256, *kind);
}

AttachmentKind checkAttachmentBytes(std::string_view bytes, const std::string& fileName) {
    if (bytes.size() > kAttachmentMaxBytes) {
        throw AttachmentError(refusal(fileName, "Filen är för stor (" + megabytes(bytes.size()) + ", högst " +
                                                    megabytes(kAttachmentMaxBytes) + " per underlag)."));
    }
    if (bytes.empty()) {
        throw AttachmentError(refusal(fileName, kMsgUnderlagTom));
    }
    const std::optional<AttachmentKind> kind = attachmentKindOf(bytes);
    if (!kind) {
        throw AttachmentError(refusal(fileName, kMsgUnderlagFelSort));
    }
    return *kind;
}

namespace {

// The bytes of the regular file at path, refused by its size before they are read.
std::string readCheckedBytes(const std::string& path) {
    try {
        const FileHandle handle = openLockedForReading(path);
        FileSource source(handle.fd());
        if (source.remaining() > kAttachmentMaxBytes) {
            throw AttachmentError(refusal(path, "Filen är för stor (" + megabytes(source.remaining()) +
                                                    ", högst " + megabytes(kAttachmentMaxBytes) +
                                                    " per underlag)."));
        }
        std::string bytes(static_cast<std::size_t>(source.remaining()), '\0');
        bytes.resize(source.read(bytes.data(), bytes.size()));
        return bytes;
    } catch (const FileError& error) {
        throw AttachmentError(refusal(path, error.reason()));
    }
}

} // namespace

CheckedAttachment checkAttachmentFile(const std::string& path) {
    const std::string bytes = readCheckedBytes(path);
    const AttachmentKind kind = checkAttachmentBytes(bytes, path);
    return {path, fileNameOf(path), bytes.size(), sha256Hex(bytes), kind};
}

std::string readStoredAttachment(const std::string& companyPath, const AttachmentRecord& record) {
    const std::string path = attachmentStoredPath(companyPath, record);
    const auto missing = [&](const std::string& reason) {
        return AttachmentError(std::string(kMsgUnderlagSaknas) + "\n" + path + "\n\n" + reason);
    };
    if (!fileExists(path)) {
        throw missing("Filen saknas i företagets mapp för underlag (" + record.fileName + ").");
    }
    std::string bytes;
    try {
        const FileHandle handle = openLockedForReading(path);
        FileSource source(handle.fd());
        if (source.remaining() != record.size) {
            throw missing("Filen har ändrats sedan den bifogades: den är inte lika stor som då.");
        }
        bytes.resize(static_cast<std::size_t>(source.remaining()));
        bytes.resize(source.read(bytes.data(), bytes.size()));
    } catch (const FileError& error) {
        throw missing(error.reason());
    }
    if (bytes.size() != record.size || sha256Hex(bytes) != record.sha256) {
        throw missing("Filen har ändrats sedan den bifogades: innehållet är inte detsamma.");
    }
    return bytes;
}

AttachmentStoring::AttachmentStoring(std::string companyPath) : m_companyPath(std::move(companyPath)) {}

AttachmentStoring::~AttachmentStoring() {
    for (const std::string& path : m_written) {
        ::unlink(path.c_str());
    }
    if (m_madeFolder && !m_written.empty()) {
        ::rmdir(attachmentFolderPath(m_companyPath).c_str()); // only when empty
    }
}

AttachmentRecord AttachmentStoring::store(const std::string& sourcePath, std::int32_t period,
                                          std::int32_t voucher, const LocalTime& addedAt) {
    const std::string bytes = readCheckedBytes(sourcePath);
    const AttachmentKind kind = checkAttachmentBytes(bytes, sourcePath);
    AttachmentRecord record{voucher,
                            period,
                            fileNameOf(sourcePath),
                            bytes.size(),
                            sha256Hex(bytes),
                            attachmentTimeText(addedAt),
                            attachmentKindName(kind)};
    const std::string folder = attachmentFolderPath(m_companyPath);
    const std::string target = folder + attachmentStoredName(record.sha256, kind);
    const auto failed = [&](const std::string& reason) {
        return AttachmentError(std::string(kMsgUnderlagKanEjSparas) + "\n" + target + "\n\n" + reason);
    };
    if (!fileExists(folder)) {
        if (!makeFolder(folder)) {
            throw failed("Mappen för underlag kunde inte skapas.");
        }
        m_madeFolder = true;
    }
    const bool existed = fileExists(target);
    if (existed) {
        // The same content is stored once; what stands there is checked, so
        // that a damaged file is not taken for the receipt.
        try {
            readStoredAttachment(m_companyPath, record);
            return record;
        } catch (const AttachmentError&) {
            // Repaired below with the receipt's bytes, and never removed again:
            // other vouchers may name it. What stands there goes first: a link
            // put there is never written through, and a stored file is
            // read-only (its other names, in backups, keep what they hold).
            if (::unlink(target.c_str()) != 0 && errno != ENOENT) {
                throw failed(describeFileError(errno));
            }
        }
    }
    try {
        AtomicFileWriter file(target, kStoredAttachmentMode);
        file.write(bytes.data(), bytes.size());
        file.commit();
    } catch (const FileError& error) {
        throw failed(error.reason());
    }
    if (!existed) {
        m_written.push_back(target);
    }
    return record;
}

std::string attachmentTimeText(const LocalTime& time) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second);
    return text.data();
}

} // namespace kv
