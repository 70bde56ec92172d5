#include "storage/BackupList.h"

#include "storage/CompanyArchive.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"

#include <algorithm>
#include <filesystem>

namespace kv {

namespace {

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The period index of a period file named title + n + ".per", or -1.
std::int32_t periodIndexOf(const std::string& name, const std::string& title) {
    if (!name.starts_with(title) || !endsWith(name, ".per")) {
        return -1;
    }
    const std::string digits = name.substr(title.size(), name.size() - title.size() - 4);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) {
        return -1;
    }
    return static_cast<std::int32_t>(std::stol(digits));
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        names.push_back(entries->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Checks the backup's period files: each must read and belong to the company file.
std::string periodDamageOf(const BackupFiles& files, const std::string& companyFileName) {
    for (const auto& [index, path] : files.periodFiles) {
        bool belongs = false;
        std::int32_t period = -1;
        const std::string reason = readArchiveAt(path, [&](ArchiveReader& in) {
            belongs = readPeriodArchiveOwner(in) == companyFileName;
            period = readPeriodArchiveBody(in).m_nAktuellPeriod;
        });
        if (!reason.empty()) {
            return fileNameOf(path) + ": " + reason;
        }
        if (!belongs) {
            return fileNameOf(path) + ": Periodfilen hör inte till företagsfilen.";
        }
        if (period != index) {
            return fileNameOf(path) + ": " + kMsgAnnanPeriod;
        }
    }
    return {};
}

} // namespace

BackupFiles backupFilesIn(const std::string& folder) {
    BackupFiles files;
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        files.problem = kMsgBackupNotFolder;
        return files;
    }
    const std::vector<std::string> names = namesIn(folder);
    for (const std::string& name : names) {
        if (endsWith(name, ".bok") && !name.starts_with(".")) {
            if (!files.companyFile.empty()) {
                files.problem = kMsgBackupTwoCompanyFiles;
                return files;
            }
            files.companyFile = folder + name;
        }
    }
    if (files.companyFile.empty()) {
        files.problem = kMsgBackupNoCompanyFile;
        return files;
    }
    const std::string title = companyTitleOf(files.companyFile);
    for (const std::string& name : names) {
        const std::int32_t index = periodIndexOf(name, title);
        if (index >= 0) {
            files.periodFiles[index] = folder + name;
        } else if (name == title + kDatabaseExtension) {
            files.databaseFile = folder + name;
        }
    }
    return files;
}

BackupSummary readBackup(const std::string& folder, const BackupName& name) {
    BackupSummary summary;
    summary.name = name;
    summary.folder = folder;
    const BackupFiles files = backupFilesIn(folder);
    if (!files.problem.empty()) {
        summary.damage = files.problem;
        return summary;
    }
    CompanyState company;
    const std::string reason =
        readArchiveAt(files.companyFile, [&company](ArchiveReader& in) { company = readCompanyArchive(in); });
    if (!reason.empty()) {
        summary.damage = reason;
        return summary;
    }
    summary.franManad = company.m_nFranManad;
    summary.franAr = company.m_nFranAr;
    summary.tillManad = company.m_nTillManad;
    summary.tillAr = company.m_nTillAr;
    summary.voucherCount = company.m_verifikat.size();
    if (!company.m_verifikat.empty()) {
        const CEttVerifikat& last = company.m_verifikat.back();
        summary.lastVoucher = BackupVoucher{last.m_nVernr, last.m_nTransDag, last.m_nTransManad,
                                            last.m_nTransAr, last.m_strVertext};
    }
    summary.periodDamage = periodDamageOf(files, company.m_strFilnamn);
    return summary;
}

std::vector<BackupSummary> listBackups(const std::string& companyPath) {
    const std::string folder = backupFolderPath(companyPath);
    std::vector<BackupSummary> backups;
    for (const std::string& entry : namesIn(folder)) {
        if (const auto name = parseBackupFolderName(entry)) {
            backups.push_back(readBackup(folder + entry + "/", *name));
        }
    }
    std::sort(backups.begin(), backups.end(),
              [](const BackupSummary& a, const BackupSummary& b) { return b.name < a.name; });
    return backups;
}

} // namespace kv
