#include "storage/CompanyBackups.h"

#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

constexpr int kMaxSequence = 99;

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The number written with exactly count digits at text's start, or -1.
int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) {
        return -1;
    }
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool validMoment(const LocalTime& time) {
    const std::chrono::year_month_day date{std::chrono::year(time.year),
                                           std::chrono::month(static_cast<unsigned>(time.month)),
                                           std::chrono::day(static_cast<unsigned>(time.day))};
    return date.ok() && time.hour < 24 && time.minute < 60 && time.second < 61;
}

std::vector<BackupName> backupsIn(const std::string& folder) {
    std::vector<BackupName> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        if (const auto name = parseBackupFolderName(entries->path().filename().string())) {
            names.push_back(*name);
        }
    }
    return names;
}

// True for what this program puts in a backup: company, period, database and temporary files.
bool isBackupFile(const std::filesystem::directory_entry& entry) {
    std::error_code error;
    const auto kind = entry.symlink_status(error).type();
    const std::string name = entry.path().filename().string();
    return !error &&
           (kind == std::filesystem::file_type::regular || kind == std::filesystem::file_type::symlink) &&
           (endsWith(name, ".bok") || endsWith(name, ".per") || endsWith(name, kDatabaseExtension) ||
            endsWith(name, ".tmp"));
}

// True for the folder of receipts a backup holds (Name_underlag/).
bool isReceiptFolder(const std::filesystem::directory_entry& entry) {
    std::error_code error;
    return entry.symlink_status(error).type() == std::filesystem::file_type::directory && !error &&
           endsWith(entry.path().filename().string(), kAttachmentFolderSuffix);
}

// Removes a backup with the files this program put there. A backup that
// holds anything else (the user saved a company there, or put a file there)
// is the user's now and stays whole.
void removeBackup(const std::string& path) {
    struct stat own {};
    if (::lstat(path.c_str(), &own) != 0) {
        return;
    }
    if (S_ISLNK(own.st_mode)) {
        ::unlink(path.c_str());
        return;
    }
    if (!S_ISDIR(own.st_mode)) {
        return;
    }
    std::vector<std::string> files;
    std::error_code error;
    std::filesystem::directory_iterator entries(path, error);
    std::vector<std::string> folders;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        if (isReceiptFolder(*entries)) {
            // The receipts' links: every name in it must be a stored receipt's.
            std::error_code inner;
            std::filesystem::directory_iterator receipts(entries->path(), inner);
            for (; !inner && receipts != std::filesystem::directory_iterator(); receipts.increment(inner)) {
                const std::string name = receipts->path().filename().string();
                if (!isAttachmentStoredName(name) && !endsWith(name, ".tmp")) {
                    return;
                }
                files.push_back(receipts->path().string());
            }
            if (inner) {
                return;
            }
            folders.push_back(entries->path().string());
            continue;
        }
        if (!isBackupFile(*entries)) {
            return;
        }
        files.push_back(entries->path().string());
    }
    if (error) {
        return;
    }
    for (const std::string& file : files) {
        ::unlink(file.c_str());
    }
    for (const std::string& folder : folders) {
        ::rmdir(folder.c_str());
    }
    ::rmdir(path.c_str());
}

void thinBackups(const std::string& folder, const LocalTime& now, const BackupName& kept) {
    for (const BackupName& name : backupsToRemove(backupsIn(folder), now, kept)) {
        removeBackup(folder + backupFolderName(name));
    }
}

// Claims a fresh folder for a backup made at now: the first free name of that second.
std::optional<BackupName> claimBackupFolder(const std::string& folder, const LocalTime& now, int& errnum) {
    for (int sequence = 1; sequence <= kMaxSequence; ++sequence) {
        const BackupName name{now, sequence};
        if (::mkdir((folder + backupFolderName(name)).c_str(), 0777) == 0) {
            return name;
        }
        if (errno != EEXIST) {
            errnum = errno;
            return std::nullopt;
        }
    }
    errnum = EEXIST;
    return std::nullopt;
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

std::string backupFolderName(const BackupName& name) {
    char text[40];
    const LocalTime& t = name.time;
    std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d-%02d-%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    std::string result = text;
    if (name.sequence > 1) {
        std::snprintf(text, sizeof text, "_%02d", name.sequence);
        result += text;
    }
    return result;
}

std::optional<BackupName> parseBackupFolderName(std::string_view text) {
    // 2024-05-03_14-22-07, then optionally _02 to _99.
    if (text.size() != 19 && text.size() != 22) {
        return std::nullopt;
    }
    for (const auto& [at, separator] : std::initializer_list<std::pair<std::size_t, char>>{
             {4, '-'}, {7, '-'}, {10, '_'}, {13, '-'}, {16, '-'}}) {
        if (text[at] != separator) {
            return std::nullopt;
        }
    }
    BackupName name;
    name.time = {digitsAt(text, 0, 4),  digitsAt(text, 5, 2),  digitsAt(text, 8, 2),
                 digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2)};
    const LocalTime& t = name.time;
    if (t.year < 0 || t.month < 0 || t.day < 0 || t.hour < 0 || t.minute < 0 || t.second < 0 ||
        !validMoment(t)) {
        return std::nullopt;
    }
    if (text.size() == 22) {
        name.sequence = text[19] == '_' ? digitsAt(text, 20, 2) : -1;
        if (name.sequence < 2) {
            return std::nullopt;
        }
    }
    return name;
}

std::string backupFolderPath(const std::string& companyPath) {
    const std::string folder = periodFolderPath(companyPath);
    const std::string suffix = "_perioder/";
    return folder.substr(0, folder.size() - suffix.size()) + kBackupFolderSuffix + "/";
}

std::string templateBackupPath(const std::string& templateFile) {
    return templateFile + kTemplateBackupSuffix;
}

std::vector<BackupName> backupsToRemove(std::vector<BackupName> backups, const LocalTime& now,
                                        const BackupName& kept) {
    // Newest first.
    std::sort(backups.begin(), backups.end(), [](const BackupName& a, const BackupName& b) { return b < a; });
    const long today = dayNumber(now);
    std::map<long, bool> dayHasOne;
    std::vector<BackupName> removed;
    for (std::size_t i = 0; i < backups.size(); ++i) {
        const BackupName& name = backups[i];
        const long day = dayNumber(name.time);
        // Newest first: the first backup met of a day is the newest of that day.
        const bool newestOfRecentDay = today - day < kBackupDays && !dayHasOne[day];
        dayHasOne[day] = true;
        if (i >= kBackupsKept && !newestOfRecentDay && name != kept) {
            removed.push_back(name);
        }
    }
    return removed;
}

CompanyBackup::CompanyBackup(const std::string& companyPath, const std::string& replacedFile,
                             std::int32_t periodIndex, const LocalClock& clock)
    : m_folder(backupFolderPath(companyPath)), m_now(clock()) {
    std::error_code error;
    std::filesystem::create_directories(m_folder, error);
    if (error || !std::filesystem::is_directory(m_folder, error)) {
        const int errnum = error ? error.value() : ENOTDIR;
        m_notes.push_back(fileFailureMessage(kMsgBackupFailed, m_folder, describeFileError(errnum)));
        return;
    }
    int errnum = 0;
    m_name = claimBackupFolder(m_folder, m_now, errnum);
    if (!m_name) {
        m_notes.push_back(fileFailureMessage(kMsgBackupFailed, m_folder, describeFileError(errnum)));
        return;
    }
    const std::string backup = m_folder + backupFolderName(*m_name) + "/";
    try {
        linkOrCopyFile(replacedFile, backup + fileNameOf(companyPath));
    } catch (const FileError& failure) {
        removeBackup(backup);
        m_name.reset();
        m_notes.push_back(fileFailureMessage(kMsgBackupFailed, backup, failure.reason()));
        return;
    }
    // The database as it stands before this save: copied, never linked, since
    // SQLite changes its file in place.
    const std::string database = companyDatabasePath(companyPath);
    if (fileExists(database)) {
        try {
            copyDatabase(database, backup + fileNameOf(database));
        } catch (const DatabaseError& failure) {
            m_notes.push_back(std::string(kMsgBackupDatabaseFailed) + "\n\n" + failure.what());
        }
    }
    // The receipts, by hard link (a stored receipt never changes), so that
    // the database's records find their files in the backup too.
    try {
        linkAttachmentFolder(attachmentFolderPath(companyPath),
                             backup + companyTitleOf(companyPath) + kAttachmentFolderSuffix + "/");
    } catch (const FileError& failure) {
        m_notes.push_back(fileFailureMessage(kMsgBackupAttachmentsFailed, attachmentFolderPath(companyPath),
                                             failure.reason()));
    }
    const std::string period = periodFilePath(companyPath, periodIndex);
    if (!isRegularFile(period)) {
        return; // a period saved for the first time replaces nothing
    }
    try {
        linkOrCopyFile(std::filesystem::canonical(period).string(), backup + fileNameOf(period));
    } catch (const FileError& failure) {
        m_notes.push_back(fileFailureMessage(kMsgBackupPeriodFailed, period, failure.reason()));
    } catch (const std::filesystem::filesystem_error& failure) {
        m_notes.push_back(
            fileFailureMessage(kMsgBackupPeriodFailed, period, describeFileError(failure.code().value())));
    }
}

CompanyBackup::~CompanyBackup() {
    if (!m_kept) {
        if (m_name) {
            removeBackup(m_folder + backupFolderName(*m_name));
        }
        ::rmdir(m_folder.c_str()); // when this save made it, and it holds nothing
    }
}

void CompanyBackup::keep() {
    if (m_name && !m_kept) {
        m_kept = true;
        thinBackups(m_folder, m_now, *m_name);
    }
}

std::optional<std::string> keepPreviousVersion(const std::string& replacedFile,
                                               const std::string& backupPath) {
    std::random_device random;
    const auto slash = backupPath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : backupPath.substr(0, slash + 1);
    const std::string temp =
        folder + "." + fileNameOf(backupPath) + "." + std::to_string(random() % 1000000000U) + ".tmp";
    try {
        linkOrCopyFile(replacedFile, temp);
    } catch (const FileError& failure) {
        return failure.reason();
    }
    // The new version takes the name in one step; the one kept before goes.
    if (::rename(temp.c_str(), backupPath.c_str()) != 0) {
        const int errnum = errno;
        ::unlink(temp.c_str());
        return describeFileError(errnum);
    }
    return std::nullopt;
}

} // namespace kv
