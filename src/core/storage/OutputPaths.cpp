#include "storage/OutputPaths.h"

#include "storage/CompanyBackups.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"
#include "storage/CompanyLock.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace kv {

namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 5> kCompanyExtensions = {".bok", ".per", ".kvdb", ".mal", ".mal.bak"};
constexpr std::array<std::string_view, 3> kCompanyFolderSuffixes = {"_perioder", kAttachmentFolderSuffix,
                                                                    kBackupFolderSuffix};

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The path with its links and "..", as far as it exists, resolved.
fs::path resolved(const std::string& path) {
    std::error_code error;
    const fs::path full = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? fs::path(path).lexically_normal() : full;
}

bool isCompanyFileName(const std::string& name) {
    const std::string lower = lowered(name);
    const auto endsWith = [&lower](std::string_view suffix) { return lower.ends_with(suffix); };
    if (std::any_of(kCompanyExtensions.begin(), kCompanyExtensions.end(), endsWith)) {
        return true;
    }
    // SQLite's files beside a database, and the lock beside a company.
    return endsWith(".kvdb-journal") || endsWith(".kvdb-wal") || endsWith(".kvdb-shm") ||
           (lower.starts_with(".") && endsWith(std::string(".bok") + kLockFileSuffix));
}

bool inCompanyFolder(const fs::path& path) {
    for (const fs::path& part : path) {
        const std::string name = part.string();
        for (const std::string_view suffix : kCompanyFolderSuffixes) {
            if (name.size() > suffix.size() && name.ends_with(suffix)) {
                return true;
            }
        }
    }
    return false;
}

std::string refused(const fs::path& path, const std::string& reason) {
    return fileFailureMessage(kMsgKanEjSkriva, path.string(), reason);
}

const char* kindName(OutputKind kind) {
    switch (kind) {
    case OutputKind::Zip:
        return "ingen zip-fil";
    case OutputKind::Pdf:
        return "ingen PDF-fil";
    case OutputKind::Text:
        return "ingen textfil";
    case OutputKind::Receipt:
        break;
    }
    return "ingen PDF-, JPEG- eller PNG-fil";
}

// Whether bytes, the start of an existing file, are of the kind.
bool startsAs(std::string_view bytes, OutputKind kind) {
    if (bytes.empty()) {
        return true;
    }
    switch (kind) {
    case OutputKind::Zip:
        return bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06");
    case OutputKind::Pdf:
        return bytes.starts_with("%PDF-");
    case OutputKind::Text:
        return bytes.find('\0') == std::string_view::npos;
    case OutputKind::Receipt:
        break;
    }
    return bytes.starts_with("%PDF-") || bytes.starts_with("\xFF\xD8\xFF") ||
           bytes.starts_with(std::string_view("\x89PNG\r\n\x1A\n", 8));
}

} // namespace

std::optional<std::string> outputFolderRefusal(const std::string& folder) {
    const fs::path where = resolved(folder);
    if (inCompanyFolder(where)) {
        return refused(where, kMsgOutputIsCompanyFile);
    }
    return std::nullopt;
}

std::optional<std::string> outputRefusalReason(const std::string& path, OutputKind kind) {
    const fs::path where = resolved(path);
    if (isCompanyFileName(where.filename().string()) || inCompanyFolder(where.parent_path())) {
        return std::string(kMsgOutputIsCompanyFile);
    }
    std::error_code error;
    if (!fs::is_regular_file(where, error)) {
        return std::nullopt; // nothing there, or the writer says what stands there
    }
    std::ifstream file(where, std::ios::binary);
    std::string start(std::size_t{1} << 16, '\0');
    file.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    if (!file.bad() && !startsAs(start, kind)) {
        return std::string("Det finns redan en fil med det namnet, och den är ") + kindName(kind) +
               ". Den skrivs inte över: välj ett annat namn.";
    }
    return std::nullopt;
}

std::optional<std::string> outputRefusal(const std::string& path, OutputKind kind) {
    if (auto reason = outputRefusalReason(path, kind)) {
        return refused(resolved(path), *reason);
    }
    return std::nullopt;
}

} // namespace kv
