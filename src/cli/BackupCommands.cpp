#include "BackupCommands.h"

#include "CliCompany.h"
#include "CliMessages.h"

#include "backup/BackupFlow.h"
#include "backup/BackupListModel.h"
#include "storage/BackupList.h"
#include "storage/BackupRestore.h"
#include "storage/CompanyFiles.h"

#include <iostream>

namespace kv::cli {

const char* const kBackupCommandsHelp =
    R"(Säkerhetskopior:
  kvistoran-cli backups FIL.bok
      Listar säkerhetskopiorna av företaget, den senaste först: namn, när
      den sparades, period, antal verifikat, det senaste verifikatets datum
      och text, och om säkerhetskopian är skadad. Varje sparande över en
      tidigare version gör en säkerhetskopia i mappen FIL_säkerhetskopior
      bredvid företagsfilen.
  kvistoran-cli restore FIL.bok SÄKERHETSKOPIA UT.bok
      Sparar säkerhetskopian (ett namn ur listan ovan, eller sökvägen till
      en säkerhetskopias mapp) som ett eget företag i UT.bok. Perioder som
      säkerhetskopian saknar kopieras från FIL:s periodmapp. FIL ändras
      inte; UT.bok får inte finnas sedan tidigare.
)";

namespace {

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

int listCommand(const std::string& company) {
    const std::vector<BackupSummary> backups = listBackups(fullPath(company));
    if (backups.empty()) {
        std::cerr << kMsgNoBackups << '\n';
        return 0;
    }
    std::vector<std::string> names;
    for (const BackupSummary& backup : backups) {
        names.push_back(backupFolderName(backup.name));
    }
    const BackupListModel list(backups, companyTitleOf(company));
    std::cout << "Namn";
    for (const std::string& title : BackupListModel::columnTitles()) {
        std::cout << '\t' << title;
    }
    std::cout << '\n';
    for (std::size_t row = 0; row < list.rowCount(); ++row) {
        std::cout << names[row];
        for (const std::string& cell : list.cells(row)) {
            std::cout << '\t' << oneLine(cell);
        }
        std::cout << '\n';
    }
    return 0;
}

int restoreCommand(const std::string& company, const std::string& backup, const std::string& out) {
    if (!endsWith(out, ".bok")) {
        return failWith("företagsfilen måste sluta på .bok: " + out);
    }
    const std::string companyPath = fullPath(company);
    std::string folder = backup;
    if (backup.find('/') == std::string::npos) {
        if (!parseBackupFolderName(backup)) {
            return failWith("okänd säkerhetskopia: " + backup + " (se kvistoran-cli backups " + company +
                            ")");
        }
        folder = backupFolderPath(companyPath) + backup;
    }
    const auto lock = lockCompany(out, "restore");
    if (!lock) {
        return 1;
    }
    const FileReport report = restoreBackup(fullPath(folder), companyPath, fullPath(out));
    if (!report.ok) {
        std::string joined;
        for (const std::string& message : report.messages) {
            joined += (joined.empty() ? "" : ": ") + message;
        }
        return failWith(joined);
    }
    printNotes(report.messages);
    return 0;
}

} // namespace

std::optional<int> runBackupCommand(const std::vector<std::string>& args) {
    if (args.empty() || (args[0] != "backups" && args[0] != "restore")) {
        return std::nullopt;
    }
    if (args.size() == 2 && args[0] == "backups") {
        return listCommand(args[1]);
    }
    if (args.size() == 4 && args[0] == "restore") {
        return restoreCommand(args[1], args[2], args[3]);
    }
    return failWith("felaktiga argument till " + args[0] + "; se kvistoran-cli --help");
}

} // namespace kv::cli
