#include "storage/CompanyArchive.h"

#include "storage/GridStateArchive.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <system_error>
#include <thread>
#include <unordered_set>

namespace kv {

namespace {

// Fewest bytes each object can take in a file: a two-byte tag and its fields
// at their shortest (texts empty, lists empty).
constexpr std::size_t kMinVerifikatrad = 2 + 1 + 1 + 4 + 3 * 8;
constexpr std::size_t kMinVerifikat = 2 + 2 + 1 + 7 * 4 + 2 * 8 + 4 + 1 + 2 * 8;
constexpr std::size_t kMinKontorad = 2 + 4 * 4 + 3 * 8 + 1 + 1;
constexpr std::size_t kMinKonto = 2 + 4 + 5 * 1 + 2 * 4 + 2;
constexpr std::size_t kMinKontoplan = 2 + 1 + 2 * 4 + 2 + 2;
constexpr std::size_t kMinAutomoms = 2 + 8 + 4 * 4 + 1;
constexpr std::size_t kMinPeriod = 2 + 7 * 4 + 2;
constexpr std::size_t kMinReference = 2;

// Gives the whole pages of a list's room at once, where the system can: the
// reader fills every row of it next, and one call costs less than a page
// fault per page. The room was reserved from a count that the bytes left
// in the file bound.
template <typename T> void prefault(const std::vector<T>& list) {
#ifdef MADV_POPULATE_WRITE
    constexpr std::uintptr_t kPage = 4096;
    const auto begin = reinterpret_cast<std::uintptr_t>(list.data());
    const std::uintptr_t end = begin + list.capacity() * sizeof(T);
    const std::uintptr_t first = (begin + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t last = end & ~(kPage - 1);
    if (last > first + 16 * kPage) {
        static_cast<void>(::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE));
    }
#else
    static_cast<void>(list);
#endif
}

// ---- writing ----

void writeVerifikatrad(ArchiveWriter& out, const CVerifikatrad& rad) {
    out.writeNewObjectTag(ArchiveClass::Verifikatrad);
    out.writeText(rad.m_strRadtext);
    out.writeText(rad.m_strKontonamn);
    out.writeInt32(rad.m_nKonto);
    out.writeDouble(rad.m_dDebet);
    out.writeDouble(rad.m_dKredit);
    out.writeDouble(rad.m_dMoms);
}

void writeVerifikat(ArchiveWriter& out, const CEttVerifikat& ver) {
    out.writeNewObjectTag(ArchiveClass::EttVerifikat);
    out.writeCount(ver.m_rader.size());
    for (const auto& rad : ver.m_rader) {
        writeVerifikatrad(out, rad);
    }
    out.writeText(ver.m_strVertext);
    out.writeInt32(ver.m_nVernr);
    out.writeInt32(ver.m_nTransDag);
    out.writeInt32(ver.m_nTransAr);
    out.writeInt32(ver.m_nTransManad);
    out.writeInt32(ver.m_nBokfDag);
    out.writeInt32(ver.m_nBokfManad);
    out.writeInt32(ver.m_nBokfAr);
    out.writeDouble(ver.m_dDifferens);
    out.writeDouble(ver.m_dKontosaldo);
    out.writeInt32(ver.m_nAntalRader);
    out.writeText(ver.m_strText2);
    out.writeDouble(ver.m_dSumDebet);
    out.writeDouble(ver.m_dSumKredit);
}

void writeKontorad(ArchiveWriter& out, const CKontorad& rad) {
    out.writeNewObjectTag(ArchiveClass::Kontorad);
    out.writeInt32(rad.m_nVernr);
    out.writeInt32(rad.m_nDag);
    out.writeInt32(rad.m_nManad);
    out.writeInt32(rad.m_nAr);
    out.writeDouble(rad.m_dDebet);
    out.writeDouble(rad.m_dKredit);
    out.writeDouble(rad.m_dExtra);
    out.writeText(rad.m_strText);
    out.writeText(rad.m_strKontonamn);
}

void writeKontoFields(ArchiveWriter& out, const CKonto& konto) {
    out.writeInt32(konto.m_nKontonr);
    out.writeText(konto.m_strKolumn2);
    out.writeText(konto.m_strKolumn3);
    out.writeText(konto.m_strKolumn4);
    out.writeText(konto.m_strKolumn5);
    out.writeText(konto.m_strKolumn6);
    out.writeInt32(konto.m_nAnvands);
    out.writeInt32(konto.m_nMarkering);
    out.writeCount(konto.m_rader.size());
    for (const auto& rad : konto.m_rader) {
        writeKontorad(out, rad);
    }
}

// An owning list whose rows nothing else refers to.
void writeOwnedKontoList(ArchiveWriter& out, const KontoList& list) {
    out.writeCount(list.size());
    for (const auto& konto : list) {
        out.writeNewObjectTag(ArchiveClass::Konto);
        writeKontoFields(out, *konto);
    }
}

void writeSharedKontoList(ArchiveWriter& out, const std::vector<const CKonto*>& list) {
    out.writeCount(list.size());
    for (const CKonto* konto : list) {
        if (out.writeSharedObjectTag(konto, ArchiveClass::Konto)) {
            writeKontoFields(out, *konto);
        }
    }
}

std::vector<const CKonto*> rawList(const KontoList& list) {
    std::vector<const CKonto*> raw;
    raw.reserve(list.size());
    for (const auto& konto : list) {
        raw.push_back(konto.get());
    }
    return raw;
}

void writeAutomoms(ArchiveWriter& out, const CAutomoms& regel) {
    out.writeNewObjectTag(ArchiveClass::Automoms);
    out.writeDouble(regel.m_dMomssats);
    out.writeInt32(regel.m_nDebetkonto);
    out.writeInt32(regel.m_nKreditkonto);
    out.writeInt32(regel.m_nDebetMomskonto);
    out.writeInt32(regel.m_nKreditMomskonto);
    out.writeText(regel.m_strKommentar);
}

void writeAutomomsList(ArchiveWriter& out, const std::vector<CAutomoms>& list) {
    out.writeCount(list.size());
    for (const auto& regel : list) {
        writeAutomoms(out, regel);
    }
}

void writePeriod(ArchiveWriter& out, const CPeriod& period) {
    out.writeNewObjectTag(ArchiveClass::Period);
    out.writeInt32(period.m_nReserv1);
    out.writeInt32(period.m_nFranManad);
    out.writeInt32(period.m_nFranAr);
    out.writeInt32(period.m_nReserv2);
    out.writeInt32(period.m_nTillManad);
    out.writeInt32(period.m_nTillAr);
    out.writeInt32(period.m_nVinstradNy);
    writeOwnedKontoList(out, period.m_ingaende);
}

// The fields from m_nNastaVernr to m_nEndastAnvanda, shared by both files.
void writeOpening(ArchiveWriter& out, const CompanyState& doc) {
    out.writeInt32(doc.m_nNastaVernr);
    out.writeInt32(doc.m_nUtskrift1);
    out.writeInt32(doc.m_nUtskrift2);
    out.writeInt32(doc.m_bNyttForetag);
    writeGridStateRef(out, doc.m_pBalansGrid.get());
    writeGridStateRef(out, doc.m_pResultatGrid.get());
    out.writeInt32(doc.m_nReserv1);
    out.writeInt32(doc.m_nFranManad);
    out.writeInt32(doc.m_nFranAr);
    out.writeInt32(doc.m_nReserv2);
    out.writeInt32(doc.m_nTillManad);
    out.writeInt32(doc.m_nTillAr);
    out.writeInt32(doc.m_nEndastAnvanda);
}

// The fields from m_allaKonton to m_verifikat, shared by both files.
void writeBooks(ArchiveWriter& out, const CompanyState& doc) {
    writeSharedKontoList(out, rawList(doc.m_allaKonton));
    writeSharedKontoList(out, {doc.m_resKonton.begin(), doc.m_resKonton.end()});
    writeSharedKontoList(out, {doc.m_balKonton.begin(), doc.m_balKonton.end()});
    out.writeInt32Array(doc.m_balNummer);
    out.writeInt32Array(doc.m_resNummer);
    writeAutomomsList(out, doc.m_momsregler);
    out.writeCount(doc.m_verifikat.size());
    for (const auto& ver : doc.m_verifikat) {
        writeVerifikat(out, ver);
    }
}

// ---- reading ----

// Why a list that owns its objects cannot take this one.
[[noreturn]] [[gnu::cold]] [[gnu::noinline]] void refuseNotNew(ArchiveReader::RefKind kind,
                                                               ArchiveClass cls) {
    if (kind == ArchiveReader::RefKind::Null) {
        throw ArchiveError(std::string("Filen innehåller en tom plats i en lista av \"") +
                           archiveClassName(cls) + "\".");
    }
    throw ArchiveError(std::string("Filen innehåller samma \"") + archiveClassName(cls) +
                       "\" på två ställen i en lista som äger det.");
}

// A list that owns what it holds must hold new objects only.
inline ArchiveReader::ObjectRef requireNew(const ArchiveReader::ObjectRef& ref, ArchiveClass cls) {
    if (ref.kind != ArchiveReader::RefKind::New) {
        refuseNotNew(ref.kind, cls);
    }
    return ref;
}

void expectOwned(ArchiveReader& in, ArchiveClass cls) {
    requireNew(in.readObjectTag(cls), cls);
}

// The rows are read straight into their places in the lists: a company has
// a million of them, and every copy counts.
void readVerifikatrad(ArchiveReader& in, CVerifikatrad& rad) {
    expectOwned(in, ArchiveClass::Verifikatrad);
    in.readText(rad.m_strRadtext);
    in.readName(rad.m_strKontonamn);
    rad.m_nKonto = in.readInt32();
    rad.m_dDebet = in.readAmount();
    rad.m_dKredit = in.readAmount();
    rad.m_dMoms = in.readAmount();
}

void readVerifikat(ArchiveReader& in, CEttVerifikat& ver) {
    expectOwned(in, ArchiveClass::EttVerifikat);
    const std::size_t count = in.readCount(kMinVerifikatrad);
    ver.m_rader.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        readVerifikatrad(in, ver.m_rader.emplace_back());
    }
    in.readText(ver.m_strVertext);
    ver.m_nVernr = in.readInt32();
    ver.m_nTransDag = in.readInt32();
    ver.m_nTransAr = in.readInt32();
    ver.m_nTransManad = in.readInt32();
    ver.m_nBokfDag = in.readInt32();
    ver.m_nBokfManad = in.readInt32();
    ver.m_nBokfAr = in.readInt32();
    ver.m_dDifferens = in.readAmount();
    ver.m_dKontosaldo = in.readAmount();
    ver.m_nAntalRader = in.readInt32();
    in.readText(ver.m_strText2);
    ver.m_dSumDebet = in.readAmount();
    ver.m_dSumKredit = in.readAmount();
}

void readKontorad(ArchiveReader& in, CKontorad& rad) {
    expectOwned(in, ArchiveClass::Kontorad);
    rad.m_nVernr = in.readInt32();
    rad.m_nDag = in.readInt32();
    rad.m_nManad = in.readInt32();
    rad.m_nAr = in.readInt32();
    rad.m_dDebet = in.readAmount();
    rad.m_dKredit = in.readAmount();
    rad.m_dExtra = in.readAmount();
    in.readText(rad.m_strText);
    in.readName(rad.m_strKontonamn);
}

void readKontoFields(ArchiveReader& in, CKonto& konto) {
    konto.m_nKontonr = in.readInt32();
    konto.m_strKolumn2 = in.readText();
    konto.m_strKolumn3 = in.readText();
    konto.m_strKolumn4 = in.readText();
    konto.m_strKolumn5 = in.readText();
    konto.m_strKolumn6 = in.readText();
    konto.m_nAnvands = in.readInt32();
    konto.m_nMarkering = in.readInt32();
    const std::size_t count = in.readCount(kMinKontorad);
    konto.m_rader.reserve(count);
    prefault(konto.m_rader);
    for (std::size_t i = 0; i < count; ++i) {
        readKontorad(in, konto.m_rader.emplace_back());
    }
}

// An owning list of accounts; with bindRows the accounts can be referred to later.
KontoList readOwnedKontoList(ArchiveReader& in, bool bindRows) {
    const std::size_t count = in.readCount(kMinKonto);
    KontoList list;
    list.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto ref = requireNew(in.readObjectTag(ArchiveClass::Konto), ArchiveClass::Konto);
        auto konto = std::make_unique<CKonto>();
        if (bindRows) {
            in.bind(ref.number, konto.get());
        }
        readKontoFields(in, *konto);
        list.push_back(std::move(konto));
    }
    return list;
}

// A referring list: every element must be an account of m_allaKonton, once.
KontoRefs readReferringKontoList(ArchiveReader& in, std::unordered_set<const CKonto*>& used) {
    const std::size_t count = in.readCount(kMinReference);
    KontoRefs list;
    list.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto ref = in.readObjectTag(ArchiveClass::Konto);
        auto* konto = static_cast<CKonto*>(ref.object);
        if (ref.kind != ArchiveReader::RefKind::Back || konto == nullptr) {
            throw ArchiveError(
                "Filen innehåller ett konto i resultat- eller balansräkningen som inte finns bland "
                "företagets konton.");
        }
        if (!used.insert(konto).second) {
            throw ArchiveError("Filen innehåller samma konto två gånger i resultat- och balansräkningen.");
        }
        list.push_back(konto);
    }
    return list;
}

CAutomoms readAutomoms(ArchiveReader& in) {
    expectOwned(in, ArchiveClass::Automoms);
    CAutomoms regel;
    regel.m_dMomssats = in.readAmount();
    regel.m_nDebetkonto = in.readInt32();
    regel.m_nKreditkonto = in.readInt32();
    regel.m_nDebetMomskonto = in.readInt32();
    regel.m_nKreditMomskonto = in.readInt32();
    regel.m_strKommentar = in.readText();
    return regel;
}

std::vector<CAutomoms> readAutomomsList(ArchiveReader& in) {
    const std::size_t count = in.readCount(kMinAutomoms);
    std::vector<CAutomoms> list;
    list.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        list.push_back(readAutomoms(in));
    }
    return list;
}

CPeriod readPeriod(ArchiveReader& in) {
    expectOwned(in, ArchiveClass::Period);
    CPeriod period;
    period.m_nReserv1 = in.readInt32();
    period.m_nFranManad = in.readInt32();
    period.m_nFranAr = in.readInt32();
    period.m_nReserv2 = in.readInt32();
    period.m_nTillManad = in.readInt32();
    period.m_nTillAr = in.readInt32();
    period.m_nVinstradNy = in.readInt32();
    period.m_ingaende = readOwnedKontoList(in, false);
    return period;
}

void readOpening(ArchiveReader& in, CompanyState& doc) {
    doc.m_nNastaVernr = in.readInt32();
    doc.m_nUtskrift1 = in.readInt32();
    doc.m_nUtskrift2 = in.readInt32();
    doc.m_bNyttForetag = in.readInt32();
    doc.m_pBalansGrid = readGridStateRef(in);
    doc.m_pResultatGrid = readGridStateRef(in);
    doc.m_nReserv1 = in.readInt32();
    doc.m_nFranManad = in.readInt32();
    doc.m_nFranAr = in.readInt32();
    doc.m_nReserv2 = in.readInt32();
    doc.m_nTillManad = in.readInt32();
    doc.m_nTillAr = in.readInt32();
    doc.m_nEndastAnvanda = in.readInt32();
}

// A file ends with its last object: anything after it means the file is
// not what it seems (two files run together, or garbage after a crash).
void expectEnd(ArchiveReader& in) {
    if (!in.atEnd()) {
        throw ArchiveError("Filen är skadad: efter de sista uppgifterna följer ytterligare " +
                           std::to_string(in.remaining()) + " byte som inte hör till filen.");
    }
}

// What a crash or a failing disk often leaves: a file of zeros, which would
// otherwise pass for a company without texts and without anything in it.
bool holdsNothing(const CompanyState& doc) {
    return doc.m_strEnhet.empty() && doc.m_strFilnamn.empty() && !doc.m_pBalansGrid && !doc.m_pResultatGrid &&
           doc.m_allaKonton.empty() && doc.m_resKonton.empty() && doc.m_balKonton.empty() &&
           doc.m_balNummer.empty() && doc.m_resNummer.empty() && doc.m_momsregler.empty() &&
           doc.m_verifikat.empty() && doc.m_perioder.empty();
}

constexpr const char* kMsgNothingInFile = "Filen är skadad: den innehåller inga uppgifter, bara nollor. "
                                          "Så kan en fil se ut efter ett avbrott eller ett diskfel. "
                                          "Öppna en säkerhetskopia i stället.";

void readVouchers(ArchiveReader& in, std::vector<CEttVerifikat>& vouchers) {
    const std::size_t count = in.readCount(kMinVerifikat);
    vouchers.reserve(count);
    prefault(vouchers);
    for (std::size_t i = 0; i < count; ++i) {
        readVerifikat(in, vouchers.emplace_back());
    }
}

// ---- reading the vouchers on two threads ----

// Passing over what the books hold before and in their vouchers: the objects
// are numbered as reading them numbers them, and nothing is kept.
void skipKontoList(ArchiveReader& in) {
    const std::size_t count = in.readCount(kMinKonto);
    for (std::size_t i = 0; i < count; ++i) {
        expectOwned(in, ArchiveClass::Konto);
        in.skip(sizeof(std::int32_t));
        for (int column = 0; column < 5; ++column) {
            in.skipText();
        }
        in.skip(2 * sizeof(std::int32_t));
        const std::size_t rows = in.readCount(kMinKontorad);
        for (std::size_t r = 0; r < rows; ++r) {
            expectOwned(in, ArchiveClass::Kontorad);
            in.skip(4 * sizeof(std::int32_t) + 3 * sizeof(double));
            in.skipText();
            in.skipText();
        }
    }
}

void skipToVouchers(ArchiveReader& in) {
    skipKontoList(in);
    for (int list = 0; list < 2; ++list) {
        const std::size_t count = in.readCount(kMinReference);
        for (std::size_t i = 0; i < count; ++i) {
            static_cast<void>(in.readObjectTag(ArchiveClass::Konto));
        }
    }
    for (int list = 0; list < 2; ++list) {
        const std::size_t count = in.readCount(sizeof(std::int32_t));
        in.skip(count * sizeof(std::int32_t));
    }
    static_cast<void>(readAutomomsList(in));
}

void skipVerifikat(ArchiveReader& in) {
    expectOwned(in, ArchiveClass::EttVerifikat);
    const std::size_t rows = in.readCount(kMinVerifikatrad);
    for (std::size_t r = 0; r < rows; ++r) {
        expectOwned(in, ArchiveClass::Verifikatrad);
        in.skipText();
        in.skipText();
        in.skip(sizeof(std::int32_t) + 3 * sizeof(double));
    }
    in.skipText();
    in.skip(7 * sizeof(std::int32_t) + 2 * sizeof(double) + sizeof(std::int32_t));
    in.skipText();
    in.skip(2 * sizeof(double));
}

std::atomic<std::size_t> g_readOnSecondThread{0};
std::atomic<bool> g_awaitSecondThread{false};

// Below this many bytes a company is read on one thread: a second would
// gain less than it takes to start.
constexpr std::uint64_t kTwoThreadsFrom = std::uint64_t{4} << 20;

// The vouchers take half of a large company's file, after the accounts.
// While this thread reads the accounts, a second one passes over them and
// over the first vouchers until this thread is done with the accounts.
// From there the second reads the last vouchers while this one reads the
// first ones. The second's vouchers are taken only when this thread, done
// with its own, stands where the second began with the same numbers;
// otherwise, and whenever the second failed, this thread reads the rest
// itself, so that a damaged file is refused with the same words either way.
class TwoThreadVouchers {
public:
    explicit TwoThreadVouchers(const ArchiveReader& in) {
        if (in.remaining() < kTwoThreadsFrom) {
            return;
        }
        m_reader = in.twin();
        if (!m_reader) {
            return;
        }
        m_leaveFrom = in.remaining() / 3;
        try {
            m_thread = std::thread([this] { runSecond(); });
        } catch (const std::system_error&) {
            m_reader.reset(); // no thread to be had: one does it all
        }
    }
    TwoThreadVouchers(const TwoThreadVouchers&) = delete;
    TwoThreadVouchers& operator=(const TwoThreadVouchers&) = delete;
    ~TwoThreadVouchers() {
        m_arrived = true;
        m_stop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    // The vouchers, from where in stands after the accounts and the VAT rules.
    void read(ArchiveReader& in, std::vector<CEttVerifikat>& vouchers) {
        if (!m_thread.joinable()) {
            readVouchers(in, vouchers);
            return;
        }
        if (g_awaitSecondThread.load()) {
            m_split.wait(kUndecided); // the second decides at the latest where a third of the file is left
        }
        m_arrived = true;
        if (!m_amongVouchers) {
            decide(kAlone);
        }
        m_split.wait(kUndecided); // the second decides at its next voucher
        const std::int64_t split = m_split.load();
        if (split == kAlone) {
            readVouchers(in, vouchers);
            return;
        }
        const std::size_t count = in.readCount(kMinVerifikat);
        const std::size_t mine = std::min(static_cast<std::size_t>(split), count);
        for (std::size_t i = 0; i < mine; ++i) {
            readVerifikat(in, m_vouchers[i]); // m_vouchers holds m_count >= split
        }
        m_thread.join();
        if (m_secondRead && count == m_count && in.standsWhere(*m_reader, m_numbered, m_remaining)) {
            vouchers = std::move(m_vouchers);
            in.takeOver(*m_reader);
            g_readOnSecondThread.fetch_add(1, std::memory_order_relaxed);
            return;
        }
        m_vouchers.resize(mine);
        vouchers = std::move(m_vouchers);
        vouchers.reserve(count);
        for (std::size_t i = mine; i < count; ++i) {
            readVerifikat(in, vouchers.emplace_back());
        }
    }

private:
    static constexpr std::int64_t kUndecided = -1;
    static constexpr std::int64_t kAlone = -2; // the first thread reads them all

    void runSecond() noexcept {
        try {
            skipToVouchers(*m_reader);
            m_count = m_reader->readCount(kMinVerifikat);
            if (m_split.load() == kAlone) {
                return;
            }
            m_vouchers.reserve(m_count);
            prefault(m_vouchers);
            m_vouchers.resize(m_count);
            m_amongVouchers = true;
            std::size_t first = 0;
            while (first < m_count && !m_arrived && m_reader->remaining() > m_leaveFrom) {
                skipVerifikat(*m_reader);
                ++first;
            }
            m_numbered = m_reader->numbered();
            m_remaining = m_reader->remaining();
            if (!decide(static_cast<std::int64_t>(first))) {
                return; // the first thread reads them all
            }
            for (std::size_t i = first; i < m_count; ++i) {
                if (i % 1024 == 0 && m_stop) {
                    return;
                }
                readVerifikat(*m_reader, m_vouchers[i]);
            }
            m_secondRead = true;
        } catch (...) { // the first thread reads what is left
            decide(kAlone);
        }
    }

    // Sets the split unless the other thread has; false when it had.
    bool decide(std::int64_t split) {
        std::int64_t undecided = kUndecided;
        if (!m_split.compare_exchange_strong(undecided, split)) {
            return false;
        }
        m_split.notify_all();
        return true;
    }

    std::unique_ptr<ArchiveReader> m_reader; // the second thread's
    std::thread m_thread;
    std::atomic<bool> m_arrived = false;       // the first thread is at the vouchers (or gone)
    std::atomic<bool> m_amongVouchers = false; // the second is past the accounts
    std::atomic<bool> m_stop = false;
    // Where the second stops passing over vouchers and reads on, unless the
    // first arrives sooner: there both are done at about the same time, as
    // passing over a voucher takes about a quarter of the time reading it does.
    std::uint64_t m_leaveFrom = 0;
    // The first voucher the second thread reads, or one of the marks above;
    // decided once, by whichever thread sets it first.
    std::atomic<std::int64_t> m_split = kUndecided;
    // The second thread's, read by the first after the split or the join:
    std::size_t m_count = 0;
    std::vector<CEttVerifikat> m_vouchers; // m_count of them before the split
    std::size_t m_numbered = 0;            // where the second stood at the split
    std::uint64_t m_remaining = 0;
    bool m_secondRead = false;
};

void readBooks(ArchiveReader& in, CompanyState& doc) {
    TwoThreadVouchers vouchers(in);
    doc.m_allaKonton = readOwnedKontoList(in, true);
    std::unordered_set<const CKonto*> used;
    doc.m_resKonton = readReferringKontoList(in, used);
    doc.m_balKonton = readReferringKontoList(in, used);
    doc.m_balNummer = in.readInt32Array();
    doc.m_resNummer = in.readInt32Array();
    doc.m_momsregler = readAutomomsList(in);
    vouchers.read(in, doc.m_verifikat);
}

} // namespace

std::size_t detail::vouchersReadOnSecondThread() noexcept {
    return g_readOnSecondThread.load(std::memory_order_relaxed);
}

void detail::awaitSecondThread(bool await) noexcept {
    g_awaitSecondThread.store(await);
}

void writeCompanyArchive(ArchiveWriter& out, const CompanyState& doc,
                         const std::function<void()>& afterHeader) {
    writeCompanyArchive(out, doc, doc.m_strEnhet, doc.m_strFilnamn, afterHeader);
}

void writeCompanyArchive(ArchiveWriter& out, const CompanyState& doc, const std::string& enhet,
                         const std::string& filnamn, const std::function<void()>& afterHeader) {
    writeOpening(out, doc);
    out.writeText(enhet);
    out.writeText(filnamn);
    out.writeInt32(doc.m_nAktuellPeriod);
    out.writeInt32(doc.m_nVinstrad);
    if (afterHeader) {
        afterHeader();
    }
    writeBooks(out, doc);
    out.writeCount(doc.m_perioder.size());
    for (const auto& period : doc.m_perioder) {
        writePeriod(out, period);
    }
    out.flush();
}

void writePeriodArchive(ArchiveWriter& out, const CompanyState& doc, const std::string& companyFileName) {
    out.writeText(companyFileName);
    writeOpening(out, doc);
    out.writeInt32(doc.m_nAktuellPeriod);
    out.writeInt32(doc.m_nVinstrad);
    writeBooks(out, doc);
    out.flush();
}

void writeTemplateArchive(ArchiveWriter& out, const TemplateList& templates) {
    out.writeCount(templates.size());
    for (const auto& mall : templates) {
        out.writeNewObjectTag(ArchiveClass::Kontoplan);
        out.writeText(mall->m_strNamn);
        out.writeInt32(mall->m_nAntalRes);
        out.writeInt32(mall->m_nAntalBal);
        writeOwnedKontoList(out, mall->m_konton);
        writeAutomomsList(out, mall->m_momsregler);
    }
    out.flush();
}

CompanyState readCompanyArchive(ArchiveReader& in) {
    CompanyState doc;
    readOpening(in, doc);
    doc.m_strEnhet = in.readText();
    doc.m_strFilnamn = in.readText();
    doc.m_nAktuellPeriod = in.readInt32();
    doc.m_nVinstrad = in.readInt32();
    readBooks(in, doc);
    const std::size_t count = in.readCount(kMinPeriod);
    doc.m_perioder.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        doc.m_perioder.push_back(readPeriod(in));
    }
    if (!doc.m_perioder.empty() &&
        (doc.m_nAktuellPeriod < 0 ||
         static_cast<std::size_t>(doc.m_nAktuellPeriod) >= doc.m_perioder.size())) {
        throw ArchiveError("Filen anger en öppen period som inte finns.");
    }
    if (holdsNothing(doc)) {
        throw ArchiveError(kMsgNothingInFile);
    }
    expectEnd(in);
    return doc;
}

std::string readPeriodArchiveOwner(ArchiveReader& in) {
    std::string owner = in.readText();
    // Every period file names the company file that wrote it.
    if (owner.empty()) {
        throw ArchiveError("Filen är skadad: den anger inte vilket företag den hör till. Så kan en fil se ut "
                           "efter ett avbrott eller ett diskfel.");
    }
    return owner;
}

CompanyState readPeriodArchiveBody(ArchiveReader& in) {
    CompanyState doc;
    readOpening(in, doc);
    doc.m_nAktuellPeriod = in.readInt32();
    doc.m_nVinstrad = in.readInt32();
    readBooks(in, doc);
    expectEnd(in);
    return doc;
}

TemplateList readTemplateArchive(ArchiveReader& in) {
    const std::size_t count = in.readCount(kMinKontoplan);
    TemplateList templates;
    templates.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        expectOwned(in, ArchiveClass::Kontoplan);
        auto mall = std::make_unique<CKontoplan>();
        mall->m_strNamn = in.readText();
        mall->m_nAntalRes = in.readInt32();
        mall->m_nAntalBal = in.readInt32();
        mall->m_konton = readOwnedKontoList(in, false);
        mall->m_momsregler = readAutomomsList(in);
        templates.push_back(std::move(mall));
    }
    expectEnd(in);
    return templates;
}

} // namespace kv
