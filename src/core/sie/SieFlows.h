// The SIE commands of the menu "Arkiv" as the user meets them: the export
// of the open company, a new company from a SIE file, and a file's vouchers
// added to the open company.
#pragma once

#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"
#include "storage/TemplateStore.h"

#include <functional>
#include <string>

namespace kv {

inline constexpr const char* kMsgValjImportmall =
    "Välj den kontoplanmall som det nya företaget ska utgå från. Konton i SIE-filen som mallen saknar läggs "
    "till i kontoplanen, och momsreglerna blir mallens.";

// "Exportera SIE-fil...": checks that the books make a valid file, asks
// where to write it, writes it and tells what it holds.
void runSieExport(const CTallvingeDoc& doc, Prompter& prompter);

// "Importera SIE-fil...": asks for the file and the chart template, reads
// the file and builds the company, shows the summary and, on the user's
// yes, asks where to save the company, saves it and opens it with
// openCompany. A file that cannot be imported is refused whole; nothing is
// written before the user has said yes and chosen the name.
void runSieImport(Prompter& prompter, TemplateStore& templates,
                  const std::function<bool(const std::string&)>& openCompany);

// "Läs in verifikat från SIE-fil...": asks for the file, reads it, shows
// what adding its vouchers to the open period would do and, on the user's
// yes, adds them as one change; the user saves the company as after any
// voucher.
void runSieAdd(CTallvingeDoc& doc, Prompter& prompter);

// The path with the extension added when its file name has none.
std::string withExtension(const std::string& path, const char* extension);

// The name a file dialog offers for a company name: without the characters
// a file name cannot hold.
std::string fileNameFor(const std::string& companyName, const char* extension);

} // namespace kv
