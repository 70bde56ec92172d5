// Where the program may write what the user asks for (a report as PDF or a
// workbook, a SIE file, the year's archive, extracted receipts): never over a
// company's own files — a company file, a period file, a database, a
// template file or the lock beside a company, nor anything in a company's
// folders of periods, receipts or backups — and over an existing file only
// when it is of the kind being written, so that a mistyped name cannot
// replace a company with a zip.
#pragma once

#include <optional>
#include <string>

namespace kv {

// What an output is, as its first bytes tell it.
enum class OutputKind {
    Zip,     // the year's archive, an Excel workbook
    Pdf,     // a report as PDF
    Text,    // a CSV or text report, JSON, a SIE file
    Receipt, // an extracted receipt: PDF, JPEG or PNG
};

inline constexpr const char* kMsgOutputIsCompanyFile =
    "Filen hör till ett företag (företagsfilen, en periodfil, databasen, en mallfil eller en fil i "
    "företagets mappar för perioder, underlag och säkerhetskopior) och skrivs aldrig över av en utskrift "
    "eller export. Välj ett annat namn.";

// Why nothing may be written at path as kind, in a message for the user; nothing when it may.
std::optional<std::string> outputRefusal(const std::string& path, OutputKind kind);
// Only the reason, for a message that names the file itself.
std::optional<std::string> outputRefusalReason(const std::string& path, OutputKind kind);

// The same for a folder that files are written into.
std::optional<std::string> outputFolderRefusal(const std::string& folder);

} // namespace kv
