// The receipts and invoices ("underlag") kept with the vouchers. Beside the
// company file Firma.bok stands the folder Firma_underlag/, which holds each
// file once, named by the SHA-256 of its bytes and its kind
// ("<64 hex digits>.pdf"), so that the same receipt attached twice is one
// file. Which voucher has which file is the company's database's to say
// (AttachmentRecord); a file in the folder that no record names is no
// voucher's.
//
// Every file is treated as untrusted: only a regular file is read, at most
// kAttachmentMaxBytes of it, and its kind is told by its first bytes (PDF,
// JPEG or PNG), never by its name. A file is written to a temporary name in
// the folder, synced and then renamed, so that a full disk leaves no half
// file under a stored name.
#pragma once

#include "model/CompanyRecords.h"
#include "storage/CompanyFiles.h"
#include "storage/LocalClock.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// A stored receipt never changes: it is written read-only, so that an
// editor cannot change it in place (and with it the backups that share it).
inline constexpr unsigned int kStoredAttachmentMode = 0444;
// The largest file that is kept as a receipt.
inline constexpr std::uint64_t kAttachmentMaxBytes = 50ULL * 1024 * 1024;

inline constexpr const char* kMsgUnderlagKanEjLasas = "Underlaget kan inte bifogas";
inline constexpr const char* kMsgUnderlagKanEjSparas = "Underlaget kunde inte sparas i företagets mapp";
inline constexpr const char* kMsgUnderlagSaknas = "Underlaget kan inte visas";
inline constexpr const char* kMsgUnderlagFelSort =
    "Filen är ingen PDF-, JPEG- eller PNG-fil. Det avgörs av filens innehåll, inte av dess namn: filen "
    "kan vara skadad eller av ett annat slag.";
inline constexpr const char* kMsgUnderlagTom = "Filen är tom.";
inline constexpr const char* kMsgUnderlagEjSparatForetag =
    "Företaget har inte sparats ännu. Spara företaget först: underlagen sparas i en mapp bredvid "
    "företagsfilen.";

// What a receipt's bytes are.
enum class AttachmentKind { Pdf, Jpeg, Png };

// The kind the first bytes tell: "%PDF-", FF D8 FF, or PNG's eight-byte
// signature; nothing for anything else.
std::optional<AttachmentKind> attachmentKindOf(std::string_view bytes);
// "pdf", "jpeg", "png": as AttachmentRecord::kind holds it.
const char* attachmentKindName(AttachmentKind kind);
// The kind of a record's name; nothing for a name this program never writes.
std::optional<AttachmentKind> attachmentKindNamed(std::string_view name);
// ".pdf", ".jpg", ".png"
const char* attachmentKindExtension(AttachmentKind kind);
// "PDF", "JPEG", "PNG", as the user is shown it.
const char* attachmentKindTitle(AttachmentKind kind);

// A receipt that cannot be read, checked, stored or found: what() is the
// whole message for the user, in Swedish (what failed, the file, why).
class AttachmentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// attachmentFolderPath (storage/CompanyFiles.h): D + T + "_underlag/" for
// the company file D + T + ".bok".
// "<sha256><extension>": the name of the stored file of that content.
std::string attachmentStoredName(const std::string& sha256, AttachmentKind kind);
// Where the record's file stands in the store of the company at
// companyPath. Throws AttachmentError for a record whose hash or kind this
// program never writes (a damaged database), so that no path is made of it.
std::string attachmentStoredPath(const std::string& companyPath, const AttachmentRecord& record);

// A file chosen to be attached, read and checked.
struct CheckedAttachment {
    std::string sourcePath; // as chosen
    std::string fileName;   // without its folder
    std::uint64_t size = 0;
    std::string sha256;
    AttachmentKind kind = AttachmentKind::Pdf;

    bool operator==(const CheckedAttachment&) const = default;
};

// Checks bytes read from the file named fileName (for the message): not
// empty, at most kAttachmentMaxBytes, of a known kind. Throws AttachmentError.
AttachmentKind checkAttachmentBytes(std::string_view bytes, const std::string& fileName);
// Reads the regular file at path (at most kAttachmentMaxBytes, refused by
// its size before it is read) and checks it. Throws AttachmentError.
CheckedAttachment checkAttachmentFile(const std::string& path);

// The record's file read back from the store and checked against the record
// (size, hash, kind). Throws AttachmentError when it is missing or differs.
std::string readStoredAttachment(const std::string& companyPath, const AttachmentRecord& record);

// Files copied into the store of one company for one change. The files it
// wrote are removed again when it goes without keep() (the change they
// belonged to did not get through); a file that stood there already is
// never touched.
class AttachmentStoring {
public:
    explicit AttachmentStoring(std::string companyPath);
    AttachmentStoring(const AttachmentStoring&) = delete;
    AttachmentStoring& operator=(const AttachmentStoring&) = delete;
    ~AttachmentStoring();

    // Reads, checks and stores the file at sourcePath (the folder made when
    // missing) and gives its record for voucher of period, added at the
    // time given. Throws AttachmentError; nothing of this file is left then.
    AttachmentRecord store(const std::string& sourcePath, std::int32_t period, std::int32_t voucher,
                           const LocalTime& addedAt);
    // The change got through: the files stay.
    void keep() { m_written.clear(); }
    // The stored files this storing wrote (and would remove).
    [[nodiscard]] const std::vector<std::string>& written() const { return m_written; }

private:
    std::string m_companyPath;
    std::vector<std::string> m_written;
    bool m_madeFolder = false;
};

// "2026-12-10 14:03:25"
std::string attachmentTimeText(const LocalTime& time);

} // namespace kv
