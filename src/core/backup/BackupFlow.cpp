#include "backup/BackupFlow.h"

#include "backup/BackupListModel.h"
#include "storage/BackupList.h"
#include "storage/BackupRestore.h"
#include "storage/CompanyFiles.h"

namespace kv {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The answer of a save dialog as a company path: ".bok" added to a name without extension.
std::string companyPathOf(const std::string& chosen) {
    const std::string full = fullPath(chosen);
    return fileNameOf(full).find('.') == std::string::npos ? full + ".bok" : full;
}

} // namespace

std::string backupOpensMessage(const std::string& backupTime, const std::string& copyPath,
                               const std::string& companyTitle) {
    return "Säkerhetskopian från " + backupTime + " är sparad som ett eget företag i filen " + copyPath +
           ". Den öppnas nu i stället för " + companyTitle + ".";
}

std::string backupKeptMessage(const std::string& copyPath) {
    return "Säkerhetskopian finns sparad som företaget " + copyPath +
           " och kan öppnas med Arkiv - Öppna ett företag.";
}

std::optional<std::string> restoreChosenBackup(const CTallvingeDoc& doc, Prompter& prompter) {
    const std::string companyPath = doc.pathName();
    std::vector<BackupSummary> backups = listBackups(companyPath);
    if (backups.empty()) {
        prompter.say(MessageKind::Information, kMsgNoBackups);
        return std::nullopt;
    }
    BackupListModel list(std::move(backups), doc.title());
    if (prompter.show(list) != Answer::Ok || !list.accepted()) {
        return std::nullopt;
    }
    const BackupSummary& chosen = list.chosen();
    const std::string suggested =
        folderOf(companyPath) + companyTitleOf(companyPath) + "_" + backupFolderName(chosen.name) + ".bok";
    const auto name = prompter.chooseBackupCopyName(suggested);
    if (!name || name->empty()) {
        return std::nullopt;
    }
    const std::string target = companyPathOf(*name);
    const FileReport report = restoreBackup(chosen.folder, companyPath, target);
    for (const std::string& text : report.messages) {
        prompter.message(text);
    }
    if (!report.ok) {
        return std::nullopt;
    }
    prompter.say(MessageKind::Information,
                 backupOpensMessage(backupTimeText(chosen.name), target, doc.title()));
    return target;
}

} // namespace kv
