#include "archive/ArchiveVerify.h"

#include "archive/ArchiveNames.h"
#include "archive/YearArchive.h"
#include "storage/Sha256.h"

#include <nlohmann/json.hpp>
#include <zip.h>

#include <map>
#include <memory>
#include <optional>
#include <set>

namespace kv {

namespace {

constexpr std::size_t kReadBlock = 1u << 16;

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

std::string openFailure(int code) {
    switch (code) {
    case ZIP_ER_NOENT:
        return "filen finns inte";
    case ZIP_ER_NOZIP:
        return "filen är inget zip-arkiv";
    case ZIP_ER_INCONS:
    case ZIP_ER_CRC:
        return "arkivet är skadat";
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
        return "filen kan inte läsas";
    case ZIP_ER_MEMORY:
        return "arkivet är för stort";
    default:
        break;
    }
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return "arkivet kan inte läsas (" + text + ")";
}

// What one entry holds: its size and hash, read no further than limit bytes
// so that an entry that unpacks to far more than it claims stops at once.
struct EntryRead {
    std::uint64_t size = 0;
    std::string sha256;
    bool overLimit = false;
    std::optional<std::string> error;
    std::string bytes; // kept only when asked for
};

EntryRead readEntry(zip_t* archive, zip_uint64_t index, std::uint64_t limit, bool keep) {
    EntryRead out;
    const std::unique_ptr<zip_file_t, EntryCloser> file(zip_fopen_index(archive, index, 0));
    if (!file) {
        out.error = zip_strerror(archive);
        return out;
    }
    Sha256 hash;
    std::string block(kReadBlock, '\0');
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), block.data(), block.size());
        if (got < 0) {
            out.error = zip_file_strerror(file.get());
            return out;
        }
        if (got == 0) {
            break;
        }
        const auto piece = std::string_view(block.data(), static_cast<std::size_t>(got));
        hash.update(piece);
        out.size += static_cast<std::uint64_t>(got);
        if (keep) {
            out.bytes.append(piece);
        }
        if (out.size > limit) {
            out.overLimit = true;
            return out;
        }
    }
    out.sha256 = hash.hexDigest();
    return out;
}

struct Listed {
    std::string path;
    std::string sha256;
    std::uint64_t size = 0;
};

// The files manifest.json lists, or why it cannot be read.
std::vector<Listed> listedFiles(const std::string& text, std::vector<std::string>& problems) {
    std::vector<Listed> files;
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object() || !json.contains("filer") || !json["filer"].is_array()) {
        problems.push_back(std::string(kManifestName) + ": kan inte läsas (ingen lista \"filer\")");
        return files;
    }
    for (const nlohmann::json& entry : json["filer"]) {
        if (!entry.is_object() || !entry.contains("fil") || !entry["fil"].is_string() ||
            !entry.contains("sha256") || !entry["sha256"].is_string() || !entry.contains("storlek") ||
            !entry["storlek"].is_number_unsigned()) {
            problems.push_back(std::string(kManifestName) +
                               ": en fil i listan saknar namn, sha256 eller storlek");
            continue;
        }
        files.push_back({entry["fil"].get<std::string>(), entry["sha256"].get<std::string>(),
                         entry["storlek"].get<std::uint64_t>()});
    }
    return files;
}

} // namespace

ArchiveCheck verifyArchive(const std::string& path, const ArchiveLimits& limits) {
    ArchiveCheck check;
    int code = 0;
    const std::unique_ptr<zip_t, ZipCloser> archive(
        zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!archive) {
        throw YearArchiveError("Arkivet " + path + " kan inte kontrolleras: " + openFailure(code));
    }
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count < 0 || static_cast<std::uint64_t>(count) > limits.entries) {
        throw YearArchiveError("Arkivet " + path + " kan inte kontrolleras: det har för många filer");
    }
    // The entries by name; a name twice is a fault of its own.
    std::map<std::string, zip_uint64_t> entries;
    for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
        const char* name = zip_get_name(archive.get(), i, ZIP_FL_ENC_RAW);
        if (name == nullptr) {
            throw YearArchiveError("Arkivet " + path +
                                   " kan inte kontrolleras: " + openFailure(ZIP_ER_INCONS));
        }
        if (!entries.emplace(name, i).second) {
            check.problems.push_back(std::string(name) + ": finns två gånger i arkivet");
        }
    }
    const auto manifestAt = entries.find(kManifestName);
    if (manifestAt == entries.end()) {
        throw YearArchiveError("Arkivet " + path + " kan inte kontrolleras: det saknar " + kManifestName);
    }
    const EntryRead manifest = readEntry(archive.get(), manifestAt->second, limits.manifestBytes, true);
    if (manifest.error || manifest.overLimit) {
        throw YearArchiveError("Arkivet " + path + " kan inte kontrolleras: " + kManifestName +
                               (manifest.overLimit ? " är för stor" : " kan inte läsas: " + *manifest.error));
    }
    std::set<std::string> seen{kManifestName};
    for (const Listed& file : listedFiles(manifest.bytes, check.problems)) {
        if (!seen.insert(file.path).second) {
            check.problems.push_back(file.path + ": står två gånger i " + kManifestName);
            continue;
        }
        ++check.filesChecked;
        const auto at = entries.find(file.path);
        if (at == entries.end()) {
            check.problems.push_back(file.path + ": saknas i arkivet");
            continue;
        }
        const EntryRead read = readEntry(archive.get(), at->second, file.size, false);
        if (read.error) {
            check.problems.push_back(file.path + ": kan inte läsas (" + *read.error + ")");
        } else if (read.overLimit || read.size != file.size) {
            check.problems.push_back(file.path + ": storleken skiljer sig (" + std::to_string(file.size) +
                                     " byte enligt " + kManifestName + ", " +
                                     (read.overLimit ? "fler" : std::to_string(read.size)) + " i arkivet)");
        } else if (read.sha256 != file.sha256) {
            check.problems.push_back(file.path + ": innehållet skiljer sig (SHA-256 stämmer inte med " +
                                     kManifestName + ")");
        }
    }
    for (const auto& [name, index] : entries) {
        if (seen.count(name) == 0) {
            check.problems.push_back(name + ": finns i arkivet men inte i " + kManifestName +
                                     (isUnsafeEntryName(name) ? " (farligt filnamn)" : ""));
        }
    }
    check.ok = check.problems.empty();
    return check;
}

} // namespace kv
