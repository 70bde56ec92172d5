// The backups that every save keeps of what it replaces. Beside the company
// file Firma.bok stands the folder Firma_säkerhetskopior/, with one folder
// per backup named by the moment it was made ("2024-05-03_14-22-07", then
// "2024-05-03_14-22-07_02" and on for more in the same second), holding the
// replaced company file and the replaced file of the open period under their
// own names, a copy of the company's database (Name.kvdb) when it has one, and
// the receipts of Name_underlag/ (hard links) in a folder of that name. The
// latest ones and one a day for the last weeks are kept.
#pragma once

#include "storage/LocalClock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr const char* kBackupFolderSuffix = "_säkerhetskopior";
inline constexpr const char* kTemplateBackupSuffix = ".bak";
// The newest backups that are always kept, and the days back for which the
// newest backup of each day is kept too.
inline constexpr std::size_t kBackupsKept = 20;
inline constexpr long kBackupDays = 30;

inline constexpr const char* kMsgBackupFailed =
    "Ingen säkerhetskopia kunde göras av den tidigare versionen. Företaget sparas ändå.";
inline constexpr const char* kMsgBackupPeriodFailed =
    "Den tidigare periodfilen kom inte med i säkerhetskopian. Företaget sparas ändå.";
inline constexpr const char* kMsgBackupDatabaseFailed =
    "Företagets databas kom inte med i säkerhetskopian. Företaget sparas ändå.";
inline constexpr const char* kMsgBackupAttachmentsFailed =
    "Verifikatens underlag kom inte med i säkerhetskopian. Företaget sparas ändå.";
inline constexpr const char* kMsgTemplateBackupFailed =
    "Den tidigare versionen av mallfilen kunde inte sparas som säkerhetskopia. Mallfilen sparas ändå.";

// The name of one backup: when it was made, and its place among those of the same second.
struct BackupName {
    LocalTime time;
    int sequence = 1; // 1 to 99

    bool operator==(const BackupName&) const = default;
    // Older first.
    friend bool operator<(const BackupName& a, const BackupName& b) {
        return a.time < b.time || (a.time == b.time && a.sequence < b.sequence);
    }
};

std::string backupFolderName(const BackupName& name);
// Nothing for a name that is not a backup's.
std::optional<BackupName> parseBackupFolderName(std::string_view text);

// D + T + "_säkerhetskopior/" for the company file D + T + ".bok".
std::string backupFolderPath(const std::string& companyPath);
// The template file's one previous version: the file name with ".bak" added.
std::string templateBackupPath(const std::string& templateFile);

// The backups that the thinning removes: all but the newest kBackupsKept,
// the newest of each day of the last kBackupDays days up to now, and kept.
std::vector<BackupName> backupsToRemove(std::vector<BackupName> backups, const LocalTime& now,
                                        const BackupName& kept);

// A backup of the files a save is about to replace: the company file at
// companyPath (replacedFile is the file itself, its links followed) and,
// when there is one, the file of period periodIndex. The files are linked
// where the disk allows, else copied. Once the save has replaced a file,
// keep() makes the backup stay and thins the older ones; a backup that goes
// without keep() is removed, since the files it holds are still in place.
class CompanyBackup {
public:
    CompanyBackup(const std::string& companyPath, const std::string& replacedFile, std::int32_t periodIndex,
                  const LocalClock& clock);
    CompanyBackup(const CompanyBackup&) = delete;
    CompanyBackup& operator=(const CompanyBackup&) = delete;
    ~CompanyBackup();

    // What the user must be told of a backup that could not be made, in
    // whole or in part; the save goes on either way.
    [[nodiscard]] const std::vector<std::string>& notes() const { return m_notes; }
    void keep();

private:
    std::string m_folder; // the company's folder of backups
    LocalTime m_now;
    std::optional<BackupName> m_name; // the backup made, if any
    std::vector<std::string> m_notes;
    bool m_kept = false;
};

// Keeps replacedFile as backupPath, replacing the one kept before. Returns
// the reason when that failed.
std::optional<std::string> keepPreviousVersion(const std::string& replacedFile,
                                               const std::string& backupPath);

} // namespace kv
