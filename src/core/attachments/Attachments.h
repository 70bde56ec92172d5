// The receipts of the open company's vouchers: those saved in the company's
// database and those attached since the last save (the document's pending
// records), together; the "has receipts" mark of the voucher list and the
// journal; attaching files to a registered voucher; the names of extracted
// copies.
#pragma once

#include "attachments/AttachmentStore.h"
#include "model/CompanyRecords.h"
#include "model/TallvingeDoc.h"
#include "storage/LocalClock.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kMsgUnderlagIngetVerifikat = "Verifikatet finns inte i den öppna perioden: ";
inline constexpr const char* kMsgUnderlagRedanBifogat = "Underlaget är redan bifogat till verifikatet: ";
inline constexpr const char* kMsgUnderlagEjRegistrerat =
    "\n\nVerifikatet är inte registrerat. Ta bort underlaget ur listan eller välj det på nytt och tryck OK "
    "igen.";
// The mark a voucher with receipts gets in the window program's journal.
inline constexpr const char* kAttachmentMark = "[U]";

// The receipts of voucher in the open period of doc, saved ones first, in
// the order they were added. Throws DatabaseError.
std::vector<AttachmentRecord> voucherAttachments(const CTallvingeDoc& doc, std::int32_t voucher);

// Every receipt of the open period of doc (saved, then pending), in the
// order they were added. Throws DatabaseError.
std::vector<AttachmentRecord> periodAttachments(const CTallvingeDoc& doc);

// Whether a voucher of the open period has receipts, for the lines of the
// voucher list and the journal: the database is asked once (one query) for
// the company and period open, and again only when the company or period
// changes, a save writes pending records or pending records leave the
// document with a change taken back; the pending records are looked at on
// each question. A database that
// cannot be read marks nothing and says why in failure().
class AttachmentMarks {
public:
    [[nodiscard]] bool has(const CTallvingeDoc& doc, std::int32_t voucher);
    // The next question reads the database again.
    void forget();
    [[nodiscard]] const std::string& failure() const { return m_failure; }

private:
    void refresh(const CTallvingeDoc& doc);

    bool m_read = false;
    std::string m_path;
    std::int32_t m_period = -1;
    std::size_t m_pendingSeen = 0;
    std::uint64_t m_saves = 0;
    std::set<std::int32_t> m_saved;
    std::set<std::int32_t> m_pending;
    std::string m_failure;
};

// Stores the files at paths and records them for the registered voucher of
// the open period, as one change of the document, and gives the records
// made: a file whose content the voucher has already is not recorded again; nothing is on disk in the
// database until the company is saved. Throws AttachmentError (a file
// refused, the company never saved, no such voucher): then nothing is
// recorded, and storing removes what it wrote when it goes without keep().
std::vector<AttachmentRecord> attachToVoucher(CTallvingeDoc& doc, std::int32_t voucher,
                                              const std::vector<std::string>& paths,
                                              AttachmentStoring& storing, const LocalClock& clock);

// The company closes without saving: the stored files of its receipts
// attached since the last save go from the store, unless a saved record
// names them too. Nothing goes when the database cannot be read.
void removeUnsavedAttachmentFiles(const CTallvingeDoc& doc);

// The name of an extracted copy: the voucher's number in four digits, the
// receipt's running number among the voucher's, and the original name made
// safe (no folder, no "..", no control characters), e.g. "0012-1-kvitto.pdf".
std::string extractedAttachmentName(std::int32_t voucher, std::size_t running, const std::string& fileName);

// "850 byte", "12,4 kB", "3,1 MB": a file's size as the user is shown it.
std::string attachmentSizeText(std::uint64_t size);

} // namespace kv
