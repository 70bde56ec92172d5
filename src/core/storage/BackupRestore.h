// Taking a backup back: the company it holds is written as a company of its
// own under a new name, beside or apart from the company it was made of,
// which is never written to.
#pragma once

#include "storage/CompanyFiles.h"

#include <string>

namespace kv {

inline constexpr const char* kMsgRestoreOverCompany =
    "Säkerhetskopian kan inte sparas över företaget som den är gjord av, eller i dess periodmapp eller "
    "mapp för säkerhetskopior. Välj ett annat namn.";
inline constexpr const char* kMsgRestoreTargetExists =
    "Det finns redan en fil med det namnet. Säkerhetskopian sparas bara under ett nytt namn.";
inline constexpr const char* kMsgRestorePeriodFolderExists =
    "Det finns redan en periodmapp för det namnet. Säkerhetskopian sparas bara under ett nytt namn.";
inline constexpr const char* kMsgRestoreUnreadable = "Säkerhetskopian kan inte läsas";
inline constexpr const char* kMsgRestorePeriodFailed =
    "En periodfil kunde inte kopieras till det nya företaget; den perioden saknas där.";

// Writes the company that the backup folder holds as a company of its own
// at targetPath, which must not exist yet, nor lie in the company at
// companyPath (the one the backup was made of), its period folder or its
// backups. The new company gets every period: the open one from the backup's
// company file, the others from the backup's period files or, where the
// backup has none, from companyPath's period folder (the report says which),
// and the backup's copy of the company's database when it holds one (a
// backup made before the company had a database gives a company without
// one). On failure nothing is left at targetPath.
FileReport restoreBackup(const std::string& backupFolder, const std::string& companyPath,
                         const std::string& targetPath);

// "1.2012 - 12.2012".
std::string periodText(std::int32_t franManad, std::int32_t franAr, std::int32_t tillManad,
                       std::int32_t tillAr);

} // namespace kv
