// Opening a company after a program was killed while it saved (a power cut,
// a kill, a laptop's battery). The company's database records every save
// with records as pending, with what its files will be, until the save is
// done (see CompanyFiles.h); here a pending save is settled by what stands on
// the disk: when every file it wrote is in place, the save is finished (its
// records count); when not, the files it put in place are put back and its
// records go. Either way the files and the database agree afterwards, nothing
// is booked twice, and nothing the user was told was saved is lost.
//
// Only the program that holds the company's lock (CompanyLock.h) settles a
// save: another may be saving it at the very moment.
#pragma once

#include "storage/CompanyFiles.h"

#include <string>

namespace kv {

inline constexpr const char* kMsgSaveFinishedAfterCrash =
    "Förra gången företaget sparades avbröts programmet (det stängdes av, eller datorn stannade) innan "
    "sparandet var helt klart. Filerna hann komma på plats, så sparandet har nu slutförts.";
inline constexpr const char* kMsgSaveTakenBackAfterCrash =
    "Förra gången företaget sparades avbröts programmet (det stängdes av, eller datorn stannade) innan "
    "sparandet var klart. Företaget är som det var sparat dessförinnan: det som inte hann sparas behöver "
    "göras om.";
inline constexpr const char* kMsgSaveNotSettled =
    "Ett sparande av företaget som avbröts kunde inte slutföras eller tas tillbaka nu. Det görs nästa gång "
    "företaget öppnas.";

// Settles every pending save of the company at companyPath. The report
// informs of each save settled and notes what could not be; it never fails.
FileReport settleInterruptedSaves(const std::string& companyPath);

// What opening a company for writing does first: settles the pending saves,
// then, when none is left, removes the temporary and kept files that a
// killed save left beside the company file and in its period folder, and
// tidies the receipts' store: a stored file that no record of the database
// names (a receipt attached but never saved) goes, and every stored file is
// made read-only. Nothing is removed from the store when the database is
// missing or cannot be read.
FileReport recoverCompany(const std::string& companyPath);

} // namespace kv
