// The files of a company: the company file, the period folder with one file
// per period, and the shared chart-template file; when each is written and
// read, and the messages the user gets when that fails.
#pragma once

#include "model/TallvingeDoc.h"
#include "storage/Archive.h"
#include "storage/CompanyArchive.h"
#include "storage/LocalClock.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr const char* kMsgKanEjSparaPerioden = "Kan ej spara perioden/filen";
inline constexpr const char* kMsgKanEjSkriva = "Kan ej skriva till filen";
inline constexpr const char* kMsgKanEjOppna = "Kan ej öppna filen";
inline constexpr const char* kMsgKanEjLasa = "Kan ej läsa från filen";
inline constexpr const char* kMsgAnnatForetag = "Filen hör till ett annat företag: ";
inline constexpr const char* kMsgAnnanPeriod = "Filen hör till en annan period av företaget.";
inline constexpr const char* kMsgKanEjSparaForetaget = "Det gick inte att spara företaget i filen";
inline constexpr const char* kTemplateFileName = "mallalternativ.mal";
inline constexpr const char* kTemplateFolderName = "bokforingsmallar";

// What a file operation has to tell the user, in order, and whether it succeeded.
struct FileReport {
    bool ok = true;
    std::vector<std::string> messages;
    // Per message: true when it only informs (a first run's template file),
    // false for a failure or a warning.
    std::vector<bool> informing;
    // A save found another program's company file where the company's own
    // stood: the user may save under another name instead.
    bool changedElsewhere = false;

    void fail(std::string message) {
        ok = false;
        add(std::move(message), false);
    }
    void note(std::string message) { add(std::move(message), false); }
    void inform(std::string message) { add(std::move(message), true); }
    [[nodiscard]] bool informs(std::size_t message) const {
        return message < informing.size() && informing[message];
    }

private:
    void add(std::string message, bool onlyInforms) {
        messages.push_back(std::move(message));
        informing.resize(messages.size() - 1, false);
        informing.push_back(onlyInforms);
    }
};

// A failure as the user sees it: what failed, which file, and why.
std::string fileFailureMessage(const char* what, const std::string& path, const std::string& reason);

// Reads a whole archive file under its lock. Returns the reason for the user
// when the file cannot be opened or read, or an empty text on success.
std::string readArchiveAt(const std::string& path, const std::function<void(ArchiveReader&)>& read);

// The path made absolute against the working folder, as a company's path is
// kept (its first three characters are stored in the company file).
std::string fullPath(const std::string& path);

// Paths. For the company file P = D + T + ".bok":
// period folder D + T + "_perioder/", period file n: folder + T + n + ".per".
std::string fileNameOf(const std::string& path);
std::string companyTitleOf(const std::string& path); // the file name minus its last four characters
std::string periodFolderPath(const std::string& companyPath);
// The folder of the company's receipts: D + T + "_underlag/" for the company
// file D + T + ".bok" (see attachments/AttachmentStore.h).
inline constexpr const char* kAttachmentFolderSuffix = "_underlag";
std::string attachmentFolderPath(const std::string& companyPath);
// True for the name of a stored receipt: 64 lower-case hex digits and
// ".pdf", ".jpg" or ".png".
bool isAttachmentStoredName(std::string_view name);
// The stored name of a receipt of the SHA-256 and kind ("pdf", "jpeg",
// "png") a record gives; nothing for a kind this program never writes.
std::optional<std::string> attachmentStoredNameOf(const std::string& sha256, const std::string& kind);
// Gives every stored receipt of the folder from a name in the folder to
// (made when missing). A stored receipt is a read-only file that never
// changes, so a hard link is a copy that takes no room; a file that can be
// written (a store from before receipts were read-only) is never shared but
// copied, and the copy is read-only, so that one edit in place cannot reach
// both. A receipt already in to is left as it is; anything else in from is
// not taken. Nothing when from does not exist. Throws FileError.
void linkAttachmentFolder(const std::string& from, const std::string& to);
std::string periodFilePath(const std::string& companyPath, int index);
// The name used when another period is opened: built from the full path and
// the stored file name; the same as periodFilePath for a name ending in ".bok".
std::string periodFilePathForOpening(const std::string& companyPath, const std::string& storedFileName,
                                     int index);

// The chart-template folder of this user, from the values of the environment
// variables KVISTORAN_MALLAR, XDG_DATA_HOME and HOME (null when unset), which
// the programs read at start-up: the chosen folder when given, else
// XDG_DATA_HOME (or ~/.local/share) + "/kvistoran/bokforingsmallar".
std::string defaultTemplateFolder(const char* chosen, const char* dataHome, const char* home);
std::string templateFilePath(const std::string& folder);
// "Kontoplanmallarna sparas i / läses från filen ..." with the real path.
std::string templateFileMessage(const std::string& folder);

inline constexpr const char* kMsgReadOnlyNotSaved =
    "Företaget är öppnat skrivskyddat, eftersom ett annat program hade det öppet. Ingenting sparas.";
inline constexpr const char* kMsgChangedElsewhere =
    "Företagsfilen har ändrats av ett annat program sedan den öppnades här (till exempel i en synkroniserad "
    "mapp eller på en nätverksdisk). Företaget sparades inte, så att det andra programmets ändringar inte "
    "skrivs över. Spara under ett annat namn och jämför de två.";

// Saves the company as P: the company file and, on the way, the open
// period's file. When a company file stands at P, it and the period file
// being replaced are first kept as a backup named by clock's time (see
// CompanyBackups.h); a backup that cannot be made is told in the report and
// the save goes on.
//
// The save is refused while another program holds the company's lock (see
// CompanyLock.h), for a company opened read-only, and when the file at P is
// not the one the company was read from or last saved as (changedElsewhere).
//
// Without records for the database, the period file is put in place and then
// the company file; a period file that fails leaves the company file saved
// and the document modified. With records (see CompanyDatabase.h), the
// database coordinates: both files are written whole under temporary names,
// the records are committed as a pending save with what the files will be,
// the files are renamed into place, and the save is marked done. A failure
// at any step puts everything back as it was and leaves the records pending
// in the document; a crash at any step is settled by the next opening (see
// SaveRecovery.h).
FileReport saveCompany(CTallvingeDoc& doc, const std::string& path, const LocalClock& clock);
FileReport saveCompany(CTallvingeDoc& doc, const std::string& path); // the computer's clock
// For tests: the points of a save where a hook may throw (FileError, or
// DatabaseError) to make the save fail there, or kill the process. The
// steps of a save with records, in order: both files written whole, the
// records written, inside SQLite's commit of them, committed, the period
// file in place, the company file in place, the save marked done. A save
// without records passes the two "in place" steps only. An empty hook
// removes it.
enum class SaveStep {
    FilesWritten,
    RecordsWritten,
    RecordsCommitting,
    RecordsCommitted,
    PeriodFileInPlace,
    CompanyFileInPlace,
    SaveDone,
};
using SaveStepHook = std::function<void(SaveStep)>;
void setSaveStepHook(SaveStepHook hook);
// Saves a company made elsewhere (from a SIE file) as a new company at path:
// refused when the company file, the period file or the database it would
// write is there already; a failure removes what it wrote, so that all of it is written or
// nothing.
FileReport saveNewCompany(CTallvingeDoc& doc, const std::string& path);
// Reads the company file only; on failure the document is left cleared. A
// file of another kind (a period file, the chart templates, a SIE file, a
// PDF) is named as such, with what to open instead.
FileReport openCompany(CTallvingeDoc& doc, const std::string& path);
// What a file that is not a company is, and what to open instead; nothing
// when it is not a file of a kind the program knows.
std::optional<std::string> otherFileKind(const std::string& path);

// The open period's file of the saved company.
FileReport writeOpenPeriodFile(CTallvingeDoc& doc);
// Reads period index of the company into the document when the file belongs
// to it; a failure leaves the document as it was.
FileReport readPeriodFile(CTallvingeDoc& doc, int index);

// What the file of period index holds, read into a fresh state; the document
// is not touched. Fails, with a message, when the file cannot be opened or
// read, when it was written by another company file, or when it holds
// another period than index.
struct PeriodFileContents {
    FileReport report;
    CompanyState period;
};
PeriodFileContents loadPeriodFile(const CTallvingeDoc& doc, int index);

// What the template file in folder holds. A file that is missing or cannot be
// read gives no templates and a report that says where the file is (and,
// when it could not be read, why); unreadable tells the second case.
// TemplateStore (storage/TemplateStore.h) keeps what was read.
struct TemplateFileContents {
    FileReport report;
    TemplateList templates;
    bool unreadable = false;
};
TemplateFileContents readTemplateFile(const std::string& folder);
// Writes templates as the template file in folder; the file replaced is kept
// beside it as mallalternativ.mal.bak.
FileReport writeTemplateFile(const std::string& folder, const TemplateList& templates);

} // namespace kv
