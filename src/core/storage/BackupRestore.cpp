#include "storage/BackupRestore.h"

#include "storage/BackupList.h"
#include "storage/CompanyArchive.h"
#include "storage/CompanyDatabase.h"
#include "storage/FileIo.h"

#include <filesystem>
#include <sys/stat.h>

namespace kv {

namespace {

namespace fs = std::filesystem;

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// The path with its links and "..", as far as it exists, resolved.
fs::path resolved(const std::string& path) {
    const fs::path plain = withoutTrailingSlash(path);
    std::error_code error;
    const fs::path full = fs::weakly_canonical(fs::absolute(plain, error), error);
    return error ? plain.lexically_normal() : full;
}

// True when path is folder or lies inside it.
bool within(const fs::path& path, const fs::path& folder) {
    auto inner = path.begin();
    for (auto outer = folder.begin(); outer != folder.end(); ++outer, ++inner) {
        if (inner == path.end() || *inner != *outer) {
            return false;
        }
    }
    return true;
}

bool present(const std::string& path) {
    struct stat info {};
    return ::lstat(withoutTrailingSlash(path).c_str(), &info) == 0;
}

// Why the backup may not be written at target, if it may not.
std::optional<std::string> refusal(const std::string& companyPath, const std::string& target) {
    const fs::path where = resolved(target);
    if (where == resolved(companyPath) || within(where, resolved(periodFolderPath(companyPath))) ||
        within(where, resolved(backupFolderPath(companyPath))) ||
        resolved(periodFolderPath(target)) == resolved(periodFolderPath(companyPath))) {
        return std::string(kMsgRestoreOverCompany);
    }
    if (present(target)) {
        return fileFailureMessage(kMsgRestoreTargetExists, target, "Välj ett annat namn.");
    }
    if (present(companyDatabasePath(target))) {
        return fileFailureMessage(kMsgRestoreTargetExists, companyDatabasePath(target),
                                  "Välj ett annat namn.");
    }
    if (present(periodFolderPath(target))) {
        return fileFailureMessage(kMsgRestorePeriodFolderExists, periodFolderPath(target),
                                  "Välj ett annat namn.");
    }
    if (present(attachmentFolderPath(target))) {
        return fileFailureMessage(kMsgRestoreTargetExists, attachmentFolderPath(target),
                                  "Välj ett annat namn.");
    }
    return std::nullopt;
}

// Copies the file of period index, which belongs to owner, as period file
// target of the company file newOwner; returns the reason when it could not.
std::optional<std::string> copyPeriodFile(const std::string& source, const std::string& owner,
                                          std::int32_t index, const std::string& target,
                                          const std::string& newOwner) {
    bool belongs = false;
    CompanyState period;
    const std::string reason = readArchiveAt(source, [&](ArchiveReader& in) {
        belongs = readPeriodArchiveOwner(in) == owner;
        if (belongs) {
            period = readPeriodArchiveBody(in);
        }
    });
    if (!reason.empty()) {
        return reason;
    }
    if (!belongs) {
        return std::string("Periodfilen hör inte till företaget.");
    }
    if (period.m_nAktuellPeriod != index) {
        return std::string(kMsgAnnanPeriod);
    }
    try {
        AtomicFileWriter file(target);
        ArchiveWriter out(file);
        writePeriodArchive(out, period, newOwner);
        file.commit();
    } catch (const FileError& error) {
        return error.reason();
    } catch (const ArchiveError& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

void removeRestored(const std::string& target) {
    std::error_code ignored;
    fs::remove(target, ignored);
    fs::remove_all(withoutTrailingSlash(periodFolderPath(target)), ignored);
    removeDatabase(companyDatabasePath(target));
    fs::remove_all(withoutTrailingSlash(attachmentFolderPath(target)), ignored);
}

// Every period but the open one, into the new company's period folder.
void copyOtherPeriods(const CompanyState& company, const BackupFiles& files, const std::string& owner,
                      const std::string& companyPath, const std::string& target, FileReport& report) {
    std::string fromCompany;
    for (std::size_t i = 0; i < company.m_perioder.size(); ++i) {
        const auto index = static_cast<std::int32_t>(i);
        if (index == company.m_nAktuellPeriod) {
            continue;
        }
        const auto kept = files.periodFiles.find(index);
        const bool inBackup = kept != files.periodFiles.end();
        const std::string source =
            inBackup ? kept->second : periodFilePathForOpening(companyPath, owner, index);
        if (const auto reason =
                copyPeriodFile(source, owner, index, periodFilePath(target, index), fileNameOf(target))) {
            report.note(fileFailureMessage(kMsgRestorePeriodFailed, source, *reason));
            continue;
        }
        if (!inBackup) {
            const CPeriod& period = company.m_perioder[i];
            fromCompany +=
                (fromCompany.empty() ? "" : ", ") +
                periodText(period.m_nFranManad, period.m_nFranAr, period.m_nTillManad, period.m_nTillAr);
        }
    }
    if (!fromCompany.empty()) {
        report.note("Säkerhetskopian innehåller inte perioderna " + fromCompany +
                    ". De har kopierats från företagets periodmapp " + periodFolderPath(companyPath) +
                    " så som de är sparade nu.");
    }
}

} // namespace

std::string periodText(std::int32_t franManad, std::int32_t franAr, std::int32_t tillManad,
                       std::int32_t tillAr) {
    return std::to_string(franManad) + "." + std::to_string(franAr) + " - " + std::to_string(tillManad) +
           "." + std::to_string(tillAr);
}

FileReport restoreBackup(const std::string& backupFolder, const std::string& companyPath,
                         const std::string& targetPath) {
    FileReport report;
    if (const auto refused = refusal(companyPath, targetPath)) {
        report.fail(*refused);
        return report;
    }
    const BackupFiles files = backupFilesIn(withoutTrailingSlash(backupFolder) + "/");
    if (!files.problem.empty()) {
        report.fail(fileFailureMessage(kMsgRestoreUnreadable, backupFolder, files.problem));
        return report;
    }
    CTallvingeDoc doc;
    const FileReport opened = openCompany(doc, files.companyFile);
    if (!opened.ok) {
        report.messages = opened.messages;
        report.ok = false;
        return report;
    }
    const std::string owner = doc.state().m_strFilnamn;
    // Nothing stands at the target (refused above), so this save keeps no backup.
    const FileReport saved = saveCompany(doc, targetPath);
    report.messages = saved.messages;
    if (!saved.ok) {
        removeRestored(targetPath);
        report.ok = false;
        return report;
    }
    // The database as the backup has it; a backup made before the company
    // had one gives a company without one.
    if (!files.databaseFile.empty()) {
        try {
            copyDatabase(files.databaseFile, companyDatabasePath(targetPath));
        } catch (const DatabaseError& error) {
            removeRestored(targetPath);
            report.fail(error.what());
            return report;
        }
    }
    // The receipts the backup holds, linked as the backup holds them.
    try {
        linkAttachmentFolder(attachmentFolderPath(files.companyFile), attachmentFolderPath(targetPath));
    } catch (const FileError& error) {
        removeRestored(targetPath);
        report.fail(fileFailureMessage(kMsgRestoreUnreadable, attachmentFolderPath(files.companyFile),
                                       error.reason()));
        return report;
    }
    copyOtherPeriods(doc.state(), files, owner, companyPath, targetPath, report);
    return report;
}

} // namespace kv
