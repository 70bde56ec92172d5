// "Arkiv → Skapa årsarkiv...": the questions and messages of writing the open
// period's archive from the window program. The window program draws the
// reports and hands its drawing in as the writer; the rest is here.
#pragma once

#include "archive/YearArchive.h"
#include "interaction/AppServices.h"
#include "interaction/CommandRegistry.h"
#include "model/TallvingeDoc.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kMsgArkivSparaForst =
    "Företaget har ändringar som inte är sparade. Årsarkivet visar bokföringen som den är sparad, så "
    "företaget sparas först. Vill du fortsätta ?";
inline constexpr const char* kMsgArkivSkapat = "Årsarkivet är skapat: ";
inline constexpr const char* kMsgArkivKanEjSkapas = "Årsarkivet kunde inte skapas: ";

// Writes the archive of the open period of doc at path with the attachments
// given. Throws YearArchiveError or DocumentRefusal, whose texts are the user's.
using YearArchiveWriter = std::function<void(const CTallvingeDoc& doc, const std::string& path,
                                             const std::vector<ArchiveAttachment>& attachments)>;

// What the save dialog offers: "Firma-2026.zip" beside the company file
// ("Firma-2025-2026.zip" for a period over two calendar years).
[[nodiscard]] std::string suggestedArchivePath(const CTallvingeDoc& doc);

// The chosen name as the archive's path: ".zip" added unless it ends so, so
// that no answer writes a zip over the company's own files.
[[nodiscard]] std::string archivePathOf(const std::string& chosen);

// The whole command: books that cannot be archived are refused; unsaved
// changes (or a company never saved) are saved first when the user agrees;
// then the name, the writing and the message of how it went. The path
// written, or nothing when the user stopped or the writing failed.
std::optional<std::string> runYearArchive(AppServices& app, const YearArchiveWriter& write);

// "Skapa årsarkiv...": enabled with books to report on; the window program
// carries it out (performWindowCommand), since it draws the reports.
void registerArchiveCommands(CommandRegistry& commands, AppServices& app);

} // namespace kv
