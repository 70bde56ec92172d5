// "Arkiv - Säkerhetskopior...": the user looks through the backups of the
// open company and writes the one chosen as a company of its own.
#pragma once

#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"

#include <optional>
#include <string>

namespace kv {

inline constexpr const char* kMsgNoBackups =
    "Det finns ännu inga säkerhetskopior av företaget. En säkerhetskopia görs varje gång företaget sparas "
    "över en tidigare version.";
inline constexpr const char* kBackupCopyTitle = "Spara säkerhetskopian som ett eget företag";

// Lists the backups of the saved company doc; when the user opens one and
// names the new company, writes it there (never over doc's own files) and
// returns its path, for the caller to open in doc's place. Nothing when the
// user cancelled or the company could not be written (the user was told).
std::optional<std::string> restoreChosenBackup(const CTallvingeDoc& doc, Prompter& prompter);

// The message that the copy is written and now opens in place of the company.
std::string backupOpensMessage(const std::string& backupTime, const std::string& copyPath,
                               const std::string& companyTitle);
// The message that the copy stays on disk when the company could not be closed.
std::string backupKeptMessage(const std::string& copyPath);

} // namespace kv
