// The backups of a company as the user looks through them: what each one
// holds, read with the archive reader like any file from outside, so that a
// damaged backup is listed as damaged, never taken for a good one.
#pragma once

#include "storage/CompanyBackups.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kMsgBackupNotFolder = "Säkerhetskopian är inte en mapp.";
inline constexpr const char* kMsgBackupNoCompanyFile = "Säkerhetskopian saknar företagsfil.";
inline constexpr const char* kMsgBackupTwoCompanyFiles = "Säkerhetskopian har mer än en företagsfil.";

// The files of one backup folder: its company file, and its period files by period index.
struct BackupFiles {
    std::string companyFile;
    std::map<std::int32_t, std::string> periodFiles;
    // The company's database as it was; empty for a backup made before the company had one.
    std::string databaseFile;
    // Why the folder holds no usable company file; empty when it does.
    std::string problem;
};
BackupFiles backupFilesIn(const std::string& folder);

struct BackupVoucher {
    std::int32_t number = 0;
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
    std::string text;
};

// What one backup holds.
struct BackupSummary {
    BackupName name;
    std::string folder; // ends in '/'
    // Why the backup cannot be opened; empty when its company file reads.
    std::string damage;
    // Why one of its period files cannot be read; the company opens without it.
    std::string periodDamage;
    // The open period of the company then.
    std::int32_t franManad = 0;
    std::int32_t franAr = 0;
    std::int32_t tillManad = 0;
    std::int32_t tillAr = 0;
    std::size_t voucherCount = 0;
    std::optional<BackupVoucher> lastVoucher;

    [[nodiscard]] bool opens() const { return damage.empty(); }
};

// The backups of the company at companyPath, newest first.
std::vector<BackupSummary> listBackups(const std::string& companyPath);
// The backup in folder (ending in '/'), read as the list reads it.
BackupSummary readBackup(const std::string& folder, const BackupName& name);

} // namespace kv
