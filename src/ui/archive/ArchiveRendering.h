// The year's archive drawn by the window program's own print code: each
// report of the open period printed as the window prints it, on a PDF/A-1b
// page with its fonts embedded, then written into the zip with the SIE file
// and the attachments. Needs no window; runs on the offscreen platform.
#pragma once

#include "archive/ArchivePlan.h"
#include "archive/YearArchive.h"
#include "model/TallvingeDoc.h"

#include <ctime>
#include <string>
#include <vector>

namespace kv::ui {

// The printed pages of one report as the bytes of a PDF/A-1b file. Throws
// DocumentRefusal when the report cannot be made (a statement of charts
// that are not approved), YearArchiveError when the PDF cannot be written.
[[nodiscard]] std::string reportPdf(const CTallvingeDoc& doc, const PlannedReport& report);

// Every file of the open period's archive: the reports, the SIE file and the
// attachments.
[[nodiscard]] std::vector<ArchiveFile>
archiveFiles(const CTallvingeDoc& doc, const std::vector<ArchiveAttachment>& attachments, std::time_t now);

// Writes the archive of the open period at path, whole or not at all.
// Throws YearArchiveError or DocumentRefusal, whose texts are the user's.
void writeArchiveOf(const CTallvingeDoc& doc, const std::string& path,
                    const std::vector<ArchiveAttachment>& attachments);

} // namespace kv::ui
