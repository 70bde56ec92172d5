#include "storage/SaveRecovery.h"

#include "storage/CompanyDatabase.h"
#include "storage/FileIo.h"
#include "storage/Sha256.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>

namespace kv {

namespace {

namespace fs = std::filesystem;

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool plainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// Where one file of a pending save stands on the disk now, or nothing when
// the database names a file no save of this company writes (a damaged or
// foreign record, which is never acted on).
struct SaveFilePaths {
    std::string target; // with its links followed
    std::string temporary;
    std::string kept; // empty when the save made the file
};

std::optional<SaveFilePaths> pathsOf(const std::string& companyPath, const SaveFileRecord& file) {
    const std::string periodFolder = companyTitleOf(companyPath) + "_perioder/";
    const bool isCompany = file.target == fileNameOf(companyPath);
    const bool isPeriod = file.target.starts_with(periodFolder) &&
                          plainName(file.target.substr(periodFolder.size())) && file.target.ends_with(".per");
    if (!isCompany && !isPeriod) {
        return std::nullopt;
    }
    SaveFilePaths paths;
    paths.target = folderOf(companyPath) + file.target;
    std::error_code error;
    const fs::path resolved = fs::canonical(paths.target, error);
    if (!error) {
        paths.target = resolved.string();
    }
    const std::string name = fileNameOf(paths.target);
    const auto belongs = [&name](const std::string& leftover) {
        return plainName(leftover) && leftoverFileOf(leftover) == name;
    };
    if (!belongs(file.temporary) || (!file.kept.empty() && !belongs(file.kept))) {
        return std::nullopt;
    }
    paths.temporary = folderOf(paths.target) + file.temporary;
    paths.kept = file.kept.empty() ? std::string() : folderOf(paths.target) + file.kept;
    return paths;
}

// True when the file at path is the one the save wrote.
bool holdsSaved(const std::string& path, const SaveFileRecord& file) {
    try {
        const FileHandle handle = openLockedForReading(path);
        FileSource source(handle.fd());
        if (source.remaining() != file.size) {
            return false;
        }
        Sha256 digest;
        std::string block(std::size_t{1} << 16, '\0');
        for (std::size_t got = source.read(block.data(), block.size()); got > 0;
             got = source.read(block.data(), block.size())) {
            digest.update(std::string_view(block.data(), got));
        }
        return digest.hexDigest() == file.sha256;
    } catch (const FileError&) {
        return false;
    }
}

bool present(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Puts back what a save that did not get through put in place: a file it
// replaced from its second name, a file it made removed. A file that is no
// longer the save's (another save came since) is left as it is. False when
// a file could not be put back.
bool takeBack(const std::vector<std::pair<SaveFilePaths, bool>>& files) {
    for (const auto& [paths, inPlace] : files) {
        if (!inPlace) {
            continue;
        }
        if (paths.kept.empty()) {
            if (::unlink(paths.target.c_str()) != 0 && errno != ENOENT) {
                return false;
            }
        } else if (!present(paths.kept) || ::rename(paths.kept.c_str(), paths.target.c_str()) != 0) {
            return false;
        }
    }
    return true;
}

void removeLeftovers(const SaveFilePaths& paths) {
    ::unlink(paths.temporary.c_str());
    if (!paths.kept.empty()) {
        ::unlink(paths.kept.c_str());
    }
}

// Settles one pending save; false when it stays pending.
bool settle(const std::string& companyPath, const std::string& database, const PendingSave& save,
            FileReport& report) {
    std::vector<std::pair<SaveFilePaths, bool>> files;
    bool allInPlace = !save.files.empty();
    for (const SaveFileRecord& file : save.files) {
        const std::optional<SaveFilePaths> paths = pathsOf(companyPath, file);
        if (!paths) {
            report.note(kMsgSaveNotSettled);
            return false;
        }
        const bool inPlace = holdsSaved(paths->target, file);
        allInPlace = allInPlace && inPlace;
        files.emplace_back(*paths, inPlace);
    }
    if (!allInPlace && !takeBack(files)) {
        report.note(kMsgSaveNotSettled);
        return false;
    }
    try {
        settlePendingSave(database, save.id, allInPlace);
    } catch (const DatabaseError& error) {
        report.note(std::string(kMsgSaveNotSettled) + "\n\n" + error.what());
        return false;
    }
    for (const auto& [paths, inPlace] : files) {
        removeLeftovers(paths);
    }
    report.inform(allInPlace ? kMsgSaveFinishedAfterCrash : kMsgSaveTakenBackAfterCrash);
    return true;
}

// The entries of folder, by name; none when it cannot be read.
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        names.push_back(entries->path().filename().string());
    }
    return names;
}

// The temporary and kept files of killed saves of the company file and of
// its period files.
void removeSaveLeftovers(const std::string& companyPath) {
    const std::string companyName = fileNameOf(companyPath);
    const std::string folder = folderOf(companyPath);
    for (const std::string& name : namesIn(folder.empty() ? "." : folder)) {
        if (leftoverFileOf(name) == companyName) {
            removeWhenUnused(folder + name);
        }
    }
    const std::string periodFolder = periodFolderPath(companyPath);
    const std::string title = companyTitleOf(companyPath);
    for (const std::string& name : namesIn(periodFolder)) {
        const std::optional<std::string> file = leftoverFileOf(name);
        if (file && file->starts_with(title) && file->ends_with(".per")) {
            removeWhenUnused(periodFolder + name);
        }
    }
}

// The receipts' store: what no record names goes, the rest is read-only.
void tidyAttachmentStore(const std::string& companyPath) {
    const std::string database = companyDatabasePath(companyPath);
    if (!fileExists(database)) {
        return;
    }
    std::set<std::string> recorded;
    try {
        for (const auto& [sha256, kind] : recordedAttachmentFiles(database)) {
            if (const auto name = attachmentStoredNameOf(sha256, kind)) {
                recorded.insert(*name);
            }
        }
    } catch (const DatabaseError&) {
        return; // what the records name cannot be known: nothing goes
    }
    const std::string folder = attachmentFolderPath(companyPath);
    for (const std::string& name : namesIn(folder)) {
        const std::string path = folder + name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            continue;
        }
        if (leftoverFileOf(name)) {
            removeWhenUnused(path);
        } else if (isAttachmentStoredName(name) && !recorded.contains(name)) {
            ::unlink(path.c_str());
        } else if (isAttachmentStoredName(name) && (info.st_mode & 0222) != 0) {
            ::chmod(path.c_str(), info.st_mode & 07555);
        }
    }
}

} // namespace

FileReport settleInterruptedSaves(const std::string& companyPath) {
    FileReport report;
    const std::string database = companyDatabasePath(companyPath);
    std::vector<PendingSave> saves;
    try {
        saves = readPendingSaves(database);
    } catch (const DatabaseError&) {
        return report; // the database's own refusal is told where it is used
    }
    for (const PendingSave& save : saves) {
        if (!settle(companyPath, database, save, report)) {
            break; // the older one first: a later save is settled only after it
        }
    }
    return report;
}

FileReport recoverCompany(const std::string& companyPath) {
    FileReport report = settleInterruptedSaves(companyPath);
    for (std::size_t i = 0; i < report.messages.size(); ++i) {
        if (!report.informs(i)) {
            return report; // a save is still pending: its files stay
        }
    }
    removeSaveLeftovers(companyPath);
    tidyAttachmentStore(companyPath);
    return report;
}

} // namespace kv
