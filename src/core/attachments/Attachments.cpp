#include "attachments/Attachments.h"

#include "storage/CompanyDatabase.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>

namespace kv {

namespace {

std::vector<AttachmentRecord> savedAttachments(const CTallvingeDoc& doc) {
    if (doc.pathName().empty()) {
        return {};
    }
    return readAttachments(doc.pathName(), doc.state().m_nAktuellPeriod);
}

bool isPendingOfOpenPeriod(const CTallvingeDoc& doc, const AttachmentRecord& record) {
    return record.period == doc.state().m_nAktuellPeriod;
}

} // namespace

std::vector<AttachmentRecord> voucherAttachments(const CTallvingeDoc& doc, std::int32_t voucher) {
    std::vector<AttachmentRecord> records;
    if (!doc.pathName().empty()) {
        records = readVoucherAttachments(doc.pathName(), doc.state().m_nAktuellPeriod, voucher);
    }
    for (const AttachmentRecord& record : doc.pendingRecords().attachments) {
        if (isPendingOfOpenPeriod(doc, record) && record.voucher == voucher) {
            records.push_back(record);
        }
    }
    return records;
}

void removeUnsavedAttachmentFiles(const CTallvingeDoc& doc) {
    const std::vector<AttachmentRecord>& unsaved = doc.pendingRecords().attachments;
    if (unsaved.empty() || doc.pathName().empty() || doc.isReadOnly()) {
        return;
    }
    std::set<std::string> recorded;
    try {
        for (const auto& [sha256, kind] : recordedAttachmentFiles(companyDatabasePath(doc.pathName()))) {
            recorded.insert(sha256 + "." + kind);
        }
    } catch (const DatabaseError&) {
        return;
    }
    for (const AttachmentRecord& record : unsaved) {
        if (recorded.contains(record.sha256 + "." + record.kind)) {
            continue;
        }
        try {
            const std::string path = attachmentStoredPath(doc.pathName(), record);
            ::unlink(path.c_str());
        } catch (const AttachmentError&) {
            // A record this program never writes names no file of the store.
        }
    }
}

std::vector<AttachmentRecord> periodAttachments(const CTallvingeDoc& doc) {
    std::vector<AttachmentRecord> records = savedAttachments(doc);
    for (const AttachmentRecord& record : doc.pendingRecords().attachments) {
        if (isPendingOfOpenPeriod(doc, record)) {
            records.push_back(record);
        }
    }
    return records;
}

bool AttachmentMarks::has(const CTallvingeDoc& doc, std::int32_t voucher) {
    refresh(doc);
    return m_saved.contains(voucher) || m_pending.contains(voucher);
}

void AttachmentMarks::forget() {
    m_read = false;
}

void AttachmentMarks::refresh(const CTallvingeDoc& doc) {
    const std::vector<AttachmentRecord>& pending = doc.pendingRecords().attachments;
    const std::int32_t period = doc.state().m_nAktuellPeriod;
    // Pending records that left the document went into the database (a
    // save) or away with their change: either way the database is asked again.
    const bool stale = !m_read || m_path != doc.pathName() || m_period != period ||
                       m_saves != doc.pendingSaves() || pending.size() < m_pendingSeen;
    if (stale) {
        m_read = true;
        m_path = doc.pathName();
        m_period = period;
        m_saves = doc.pendingSaves();
        m_saved.clear();
        m_failure.clear();
        if (!m_path.empty()) {
            try {
                const std::vector<std::int32_t> vouchers = readVouchersWithAttachments(m_path, period);
                m_saved.insert(vouchers.begin(), vouchers.end());
            } catch (const DatabaseError& error) {
                m_failure = error.what();
            }
        }
        m_pending.clear();
        m_pendingSeen = 0;
    }
    for (; m_pendingSeen < pending.size(); ++m_pendingSeen) {
        if (pending[m_pendingSeen].period == period) {
            m_pending.insert(pending[m_pendingSeen].voucher);
        }
    }
}

std::vector<AttachmentRecord> attachToVoucher(CTallvingeDoc& doc, std::int32_t voucher,
                                              const std::vector<std::string>& paths,
                                              AttachmentStoring& storing, const LocalClock& clock) {
    if (doc.pathName().empty()) {
        throw AttachmentError(kMsgUnderlagEjSparatForetag);
    }
    const auto& vouchers = doc.state().m_verifikat;
    const bool found = std::any_of(vouchers.begin(), vouchers.end(),
                                   [voucher](const CEttVerifikat& v) { return v.m_nVernr == voucher; });
    if (!found) {
        throw AttachmentError(kMsgUnderlagIngetVerifikat + std::to_string(voucher) + ".");
    }
    // Read first: a database that cannot take the records refuses now.
    std::vector<AttachmentRecord> kept = voucherAttachments(doc, voucher);
    const LocalTime now = clock();
    std::vector<AttachmentRecord> records;
    for (const std::string& path : paths) {
        AttachmentRecord record = storing.store(path, doc.state().m_nAktuellPeriod, voucher, now);
        const auto sameContent = [&](const AttachmentRecord& other) { return other.sha256 == record.sha256; };
        if (std::none_of(kept.begin(), kept.end(), sameContent)) {
            kept.push_back(record);
            records.push_back(std::move(record));
        }
    }
    doc.recordAttachments(records);
    return records;
}

std::string extractedAttachmentName(std::int32_t voucher, std::size_t running, const std::string& fileName) {
    std::array<char, 16> number{};
    std::snprintf(number.data(), number.size(), "%04d", voucher);
    std::string name;
    for (const char c : fileName) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            continue; // control characters
        }
        name += c == '/' || c == '\\' ? '_' : c;
    }
    // No ".." anywhere (and no name of dots alone), so the copy stays in its folder.
    for (std::size_t at = name.find(".."); at != std::string::npos; at = name.find("..")) {
        name.replace(at, 2, "_");
    }
    if (name.empty() || name == ".") {
        name = "underlag";
    }
    return std::string(number.data()) + "-" + std::to_string(running) + "-" + name;
}

std::string attachmentSizeText(std::uint64_t size) {
    const auto decimal = [](std::uint64_t value, std::uint64_t unit, const char* name) {
        const std::uint64_t tenths = (value * 10 + unit / 2) / unit;
        return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " " + name;
    };
    if (size < 1024) {
        return std::to_string(size) + " byte";
    }
    if (size < 1024 * 1024) {
        return decimal(size, 1024, "kB");
    }
    return decimal(size, 1024 * 1024, "MB");
}

} // namespace kv
