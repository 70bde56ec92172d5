#include "archive/YearArchive.h"

#include "archive/ArchiveNames.h"
#include "storage/FileIo.h"
#include "storage/OutputPaths.h"
#include "storage/Sha256.h"

#include <nlohmann/json.hpp>
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <memory>
#include <unistd.h>

namespace kv {

namespace {

constexpr std::size_t kReadBlock = 1u << 20;

struct Hashed {
    std::string sha256;
    std::uint64_t size = 0;
};

Hashed hashOf(const ArchiveFile& file) {
    if (file.sourceFile.empty()) {
        return {sha256Hex(file.bytes), file.bytes.size()};
    }
    const FileHandle in(::open(file.sourceFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (!in.isOpen()) {
        throw YearArchiveError("Kan ej läsa underlaget " + file.sourceFile + ": " + describeFileError(errno));
    }
    Sha256 hash;
    Hashed out;
    std::string block(kReadBlock, '\0');
    for (;;) {
        const ssize_t got = ::read(in.fd(), block.data(), block.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw YearArchiveError("Kan ej läsa underlaget " + file.sourceFile + ": " +
                                   describeFileError(errno));
        }
        if (got == 0) {
            break;
        }
        hash.update(std::string_view(block.data(), static_cast<std::size_t>(got)));
        out.size += static_cast<std::uint64_t>(got);
    }
    out.sha256 = hash.hexDigest();
    return out;
}

// Files that are compressed already are stored as they are.
bool storedAsIs(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) {
        return false;
    }
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    static const char* const kPacked[] = {"pdf", "jpg",  "jpeg", "png",  "gif",
                                          "zip", "heic", "webp", "xlsx", "docx"};
    for (const char* packed : kPacked) {
        if (ext == packed) {
            return true;
        }
    }
    return false;
}

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

class ZipWriter {
public:
    ZipWriter(const std::string& path) : m_path(path) {
        if (const auto refused = outputRefusal(path, OutputKind::Zip)) {
            throw YearArchiveError(*refused);
        }
        m_temp = path + ".tmp-XXXXXX";
        const int fd = ::mkstemp(m_temp.data());
        if (fd < 0) {
            throw YearArchiveError("Kan ej skriva arkivet " + path + ": " + describeFileError(errno));
        }
        ::close(fd);
        int error = 0;
        m_zip.reset(zip_open(m_temp.c_str(), ZIP_TRUNCATE, &error));
        if (!m_zip) {
            zip_error_t described;
            zip_error_init_with_code(&described, error);
            const std::string reason = zip_error_strerror(&described);
            zip_error_fini(&described);
            ::unlink(m_temp.c_str());
            throw YearArchiveError("Kan ej skriva arkivet " + path + ": " + reason);
        }
    }
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;
    ~ZipWriter() {
        if (!m_done) {
            m_zip.reset();
            ::unlink(m_temp.c_str());
        }
    }

    void add(const std::string& name, const std::string* bytes, const std::string& sourceFile,
             std::uint64_t size) {
        zip_source_t* source =
            bytes != nullptr
                ? zip_source_buffer(m_zip.get(), bytes->data(), bytes->size(), 0)
                : zip_source_file(m_zip.get(), sourceFile.c_str(), 0, static_cast<zip_int64_t>(size));
        if (source == nullptr) {
            fail();
        }
        const zip_int64_t index = zip_file_add(m_zip.get(), name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            if (zip_error_code_zip(zip_get_error(m_zip.get())) == ZIP_ER_EXISTS) {
                throw YearArchiveError("Kan ej skriva arkivet " + m_path + ": två filer heter " + name);
            }
            fail();
        }
        if (storedAsIs(name)) {
            zip_set_file_compression(m_zip.get(), static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
        }
    }

    // Writes the zip whole under its temporary name, then gives it its own.
    void commit() {
        if (zip_close(m_zip.get()) != 0) {
            fail();
        }
        static_cast<void>(m_zip.release()); // closed: nothing left to discard
        const FileHandle written(::open(m_temp.c_str(), O_RDONLY | O_CLOEXEC));
        if (!written.isOpen() || ::fsync(written.fd()) != 0 ||
            ::rename(m_temp.c_str(), m_path.c_str()) != 0) {
            const int error = errno;
            ::unlink(m_temp.c_str());
            m_done = true;
            throw YearArchiveError("Kan ej skriva arkivet " + m_path + ": " + describeFileError(error));
        }
        m_done = true;
        const std::size_t slash = m_path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : m_path.substr(0, slash + 1);
        const FileHandle directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (directory.isOpen()) {
            ::fsync(directory.fd());
        }
    }

private:
    [[noreturn]] void fail() {
        throw YearArchiveError("Kan ej skriva arkivet " + m_path + ": " + zip_strerror(m_zip.get()));
    }

    std::string m_path;
    std::string m_temp;
    std::unique_ptr<zip_t, ZipCloser> m_zip;
    bool m_done = false;
};

} // namespace

std::vector<ArchiveFile> attachmentFiles(const std::vector<ArchiveAttachment>& attachments) {
    std::vector<ArchiveFile> files;
    files.reserve(attachments.size());
    std::map<std::int32_t, int> running;
    for (const ArchiveAttachment& attachment : attachments) {
        ArchiveFile file;
        file.path =
            attachmentEntryName(attachment.voucher, ++running[attachment.voucher], attachment.originalName);
        file.description =
            "Underlag till verifikat " + std::to_string(attachment.voucher) + ": " + attachment.originalName;
        file.sourceFile = attachment.storedPath;
        file.expectedSha256 = attachment.sha256;
        file.expectedSize = attachment.size;
        files.push_back(std::move(file));
    }
    return files;
}

std::string manifestJson(const ArchiveHeader& header, const std::vector<ManifestEntry>& files) {
    nlohmann::ordered_json json;
    json["program"] = "Kvistoran";
    json["programversion"] = header.programVersion;
    json["skapad"] = header.created;
    json["foretag"] = header.company;
    if (!header.orgNumber.empty()) {
        json["organisationsnummer"] = header.orgNumber;
    }
    json["period"] = {{"fran", header.periodFrom}, {"till", header.periodTo}};
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const ManifestEntry& file : files) {
        list.push_back({{"fil", file.path},
                        {"sha256", file.sha256},
                        {"storlek", file.size},
                        {"innehall", file.description}});
    }
    json["filer"] = std::move(list);
    // Names that are not valid UTF-8 are written with replacement characters, never refused.
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

void writeYearArchive(const std::string& path, const ArchiveHeader& header,
                      const std::vector<ArchiveFile>& files) {
    std::vector<ManifestEntry> listed;
    listed.reserve(files.size());
    for (const ArchiveFile& file : files) {
        if (file.path == kManifestName || isUnsafeEntryName(file.path)) {
            throw YearArchiveError("Kan ej skriva arkivet " + path + ": otillåtet filnamn " + file.path);
        }
        const Hashed hashed = hashOf(file);
        if (!file.expectedSha256.empty() &&
            (hashed.sha256 != file.expectedSha256 || hashed.size != file.expectedSize)) {
            throw YearArchiveError("Kan ej skriva arkivet " + path + ": filen " + file.sourceFile + " (" +
                                   file.description +
                                   ") har ändrats sedan den bifogades; den är inte längre densamma som "
                                   "företagets databas beskriver.");
        }
        listed.push_back({file.path, hashed.sha256, hashed.size, file.description});
    }
    const std::string manifest = manifestJson(header, listed);
    ZipWriter writer(path);
    writer.add(kManifestName, &manifest, {}, manifest.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const ArchiveFile& file = files[i];
        writer.add(file.path, file.sourceFile.empty() ? &file.bytes : nullptr, file.sourceFile,
                   listed[i].size);
    }
    writer.commit();
}

} // namespace kv
