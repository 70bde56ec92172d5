// Reads a SIE file of type 4 line by line into SieBooks, checking as it goes
// what can be checked of one record, and the whole at the end.
#include "sie/SieBooks.h"
#include "sie/SieRecord.h"
#include "storage/Sha256.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace kv {

namespace {

constexpr const char* kMsgNolltecken = "Filen innehåller nolltecken; den är ingen SIE-fil eller är skadad.";
constexpr const char* kMsgForStor = "Filen är för stor för att läsas in.";
constexpr const char* kMsgEjTyp4 =
    "Filen är inte av SIE-typ 4 (#SIETYP 4 saknas). Endast filer med verifikat, typ 4E och 4I, kan läsas in.";
constexpr const char* kMsgAvkortadKsumma =
    "Filen är avkortad: den inleds med #KSUMMA men den avslutande #KSUMMA med kontrollsumman saknas.";
constexpr const char* kMsgEfterKsumma =
    "Posten står efter den avslutande #KSUMMA och täcks inte av kontrollsumman.";
constexpr const char* kMsgVerUtanBlock = "Efter #VER väntades en rad med { som inleder verifikatets rader.";
constexpr const char* kMsgKlammerUtanVer = "Raden med { hör inte till något #VER.";
constexpr const char* kMsgSlutUtanVer = "Raden med } avslutar inget verifikat.";
constexpr const char* kMsgTransUtanVer = "#TRANS står utanför ett verifikat.";
constexpr const char* kMsgVerIVer = "#VER står inne i ett annat verifikat, vars rad med } saknas.";
constexpr const char* kMsgForMangaVerifikat = "Filen har fler verifikat än programmet kan läsa in.";
constexpr const char* kMsgForMangaRader = "Filen har fler verifikatrader än programmet kan läsa in.";
constexpr const char* kMsgForMangaKonton = "Filen har fler konton än programmet kan läsa in.";

std::string missingFields(const std::string& label) {
    return "Posten " + label + " saknar fält.";
}

} // namespace

std::string voucherName(const SieVoucher& voucher) {
    std::string name = "verifikat";
    for (const std::string* part : {&voucher.series, &voucher.number}) {
        if (!part->empty()) {
            name += " " + *part;
        }
    }
    return name + " (" + displaySieDate(voucher.date) + ")";
}

namespace {

std::string notTheAmount(const std::string& text) {
    return "\"" + text + "\" är inget belopp med punkt och högst två decimaler.";
}

class BooksReader {
public:
    explicit BooksReader(std::string_view bytes) : m_bytes(bytes) {}

    SieBooks read() {
        if (m_bytes.size() > kMaxSieFileBytes) {
            throw SieReadError(0, kMsgForStor);
        }
        if (std::memchr(m_bytes.data(), 0, m_bytes.size()) != nullptr) {
            throw SieReadError(0, kMsgNolltecken);
        }
        m_books.encoding = detectSieEncoding(m_bytes);
        std::string_view rest = m_bytes;
        if (rest.starts_with("\xEF\xBB\xBF")) {
            rest.remove_prefix(3);
        }
        // Lines end with LF, CRLF or, from some old programs, CR alone.
        while (!rest.empty()) {
            const auto end = rest.find_first_of("\r\n");
            const std::string_view line = rest.substr(0, end);
            if (end == std::string_view::npos) {
                rest = {};
            } else {
                const bool crlf = rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n';
                rest.remove_prefix(end + (crlf ? 2 : 1));
            }
            ++m_line;
            if (!readLine(line)) {
                break;
            }
        }
        checkWhole();
        return std::move(m_books);
    }

private:
    // False at the end-of-text character, after which nothing counts.
    bool readLine(std::string_view line) {
        SieLineKind kind = SieLineKind::Blank;
        try {
            kind = splitSieLine(line, m_record);
        } catch (const SieLineError& error) {
            throw SieReadError(m_line, error.what());
        }
        switch (kind) {
        case SieLineKind::Blank:
            return true;
        case SieLineKind::EndOfText:
            return false;
        case SieLineKind::OpenBlock:
            if (!m_voucher || m_inBlock) {
                throw SieReadError(m_line, kMsgKlammerUtanVer);
            }
            m_inBlock = true;
            return true;
        case SieLineKind::CloseBlock:
            if (!m_inBlock) {
                throw SieReadError(m_line, kMsgSlutUtanVer);
            }
            finishVoucher();
            return true;
        case SieLineKind::Record:
            break;
        }
        if (m_voucher && !m_inBlock) {
            throw SieReadError(m_voucher->line, kMsgVerUtanBlock);
        }
        if (m_record.label == "#KSUMMA") {
            readChecksum();
            return true;
        }
        if (m_checksumState == ChecksumState::Closed) {
            throw SieReadError(m_line, kMsgEfterKsumma);
        }
        if (m_checksumState == ChecksumState::Open) {
            addToChecksum(m_record, m_checksum);
        }
        if (m_inBlock) {
            readVoucherRecord();
        } else {
            readRecord();
        }
        return true;
    }

    void readRecord() {
        const std::string& label = m_record.label;
        if (label == "#SIETYP") {
            if (plain(0) != "4") {
                throw SieReadError(m_line, kMsgEjTyp4);
            }
            m_sieType = true;
        } else if (label == "#FORMAT") {
            m_books.format = plain(0);
        } else if (label == "#PROGRAM") {
            m_books.program = text(0);
            if (const std::string version = text(1); !version.empty()) {
                m_books.program += " " + version;
            }
        } else if (label == "#FNAMN") {
            m_books.companyName = text(0);
        } else if (label == "#RAR") {
            readYear();
        } else if (label == "#KONTO") {
            readAccount();
        } else if (label == "#KTYP") {
            readAccountType();
        } else if (label == "#IB") {
            readBalance(m_books.opening, m_openingSeen);
        } else if (label == "#UB") {
            readBalance(m_books.closing, m_closingSeen);
        } else if (label == "#RES") {
            readBalance(m_books.results, m_resultsSeen);
        } else if (label == "#VER") {
            startVoucher();
        } else if (label == "#TRANS") {
            throw SieReadError(m_line, kMsgTransUtanVer);
        } else {
            ++m_books.skippedRecords; // the file's other records say nothing the books keep
        }
    }

    void readVoucherRecord() {
        if (m_record.label == "#TRANS") {
            readTransaction();
        } else if (m_record.label == "#VER") {
            throw SieReadError(m_line, kMsgVerIVer);
        } else {
            // #RTRANS repeats the #TRANS after it; #BTRANS is a removed line.
            ++m_books.skippedRecords;
        }
    }

    // ---- fields ----

    [[nodiscard]] bool has(std::size_t index) const { return index < m_record.fields.size(); }

    const SieField& need(std::size_t index) const {
        if (!has(index) || m_record.fields[index].list) {
            throw SieReadError(m_line, missingFields(m_record.label));
        }
        return m_record.fields[index];
    }

    [[nodiscard]] std::string plain(std::size_t index) const {
        return has(index) && !m_record.fields[index].list ? m_record.fields[index].text : std::string();
    }

    // A text of the file as the company files can store it.
    std::string text(std::size_t index) {
        if (!has(index) || m_record.fields[index].list) {
            return {};
        }
        return readSieText(m_record.fields[index].text, m_books.encoding, m_books.replacedCharacters);
    }

    // The account number of the field; nothing when it is none.
    std::optional<std::int32_t> maybeAccountNumber(std::size_t index) {
        const std::string& digits = need(index).text;
        std::int32_t number = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error != std::errc() || end != digits.data() + digits.size() || number <= 0 ||
            digits.find_first_not_of("0123456789") != std::string::npos) {
            return std::nullopt;
        }
        if (digits.front() == '0' && m_zeroLed.insert(number).second) {
            m_books.zeroLedAccounts.push_back(number); // "0351" is account 351
        }
        return number;
    }

    std::int32_t accountNumber(std::size_t index) {
        const auto number = maybeAccountNumber(index);
        if (!number) {
            throw SieReadError(m_line, "\"" + need(index).text + "\" är inget kontonummer.");
        }
        return *number;
    }

    Ore amount(std::size_t index) const {
        const std::string& value = need(index).text;
        const auto ore = parseSieAmount(value);
        if (!ore) {
            throw SieReadError(m_line, notTheAmount(value));
        }
        return *ore;
    }

    SieDate date(std::size_t index) const {
        const std::string& value = need(index).text;
        const auto parsed = parseSieDate(value);
        if (!parsed) {
            throw SieReadError(m_line, "\"" + value + "\" är inget datum skrivet ÅÅÅÅMMDD.");
        }
        return *parsed;
    }

    // The year of a balance or #RAR: 0 the file's year, -1 the one before, …
    int yearIndex() const {
        const std::string& value = need(0).text;
        int index = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), index);
        if (error != std::errc() || end != value.data() + value.size()) {
            throw SieReadError(m_line, "\"" + value + "\" är inget årsnummer (0, -1, …).");
        }
        return index;
    }

    // ---- records ----

    void readYear() {
        const auto index = yearIndex();
        if (index != 0 && index != -1) {
            return;
        }
        // Some programs write the record with its dates left empty: it says nothing.
        if (plain(1).empty() && plain(2).empty()) {
            return;
        }
        const SieYear year{date(1), date(2), m_line};
        if (year.last < year.first) {
            throw SieReadError(m_line, "Räkenskapsåret slutar före det börjar.");
        }
        std::optional<SieYear>& kept = index == 0 ? m_books.year : m_books.previousYear;
        if (kept) {
            throw SieReadError(m_line, "Räkenskapsåret #RAR " + std::to_string(index) +
                                           " anges två gånger, på rad " + std::to_string(kept->line) +
                                           " och rad " + std::to_string(m_line) + ".");
        }
        kept = year;
    }

    void readAccount() {
        const auto parsed = maybeAccountNumber(0);
        if (!parsed) {
            // Told in the summary; a line that uses it still refuses the file.
            m_books.unusableAccounts.push_back({"#KONTO " + need(0).text, m_line});
            return;
        }
        const std::int32_t number = *parsed;
        std::string name = text(1);
        const auto [found, added] = m_accountIndex.try_emplace(number, m_books.accounts.size());
        if (added) {
            if (m_books.accounts.size() >= kMaxSieAccounts) {
                throw SieReadError(m_line, kMsgForMangaKonton);
            }
            m_books.accounts.push_back({number, std::move(name), 0, m_line});
        } else {
            // A later #KONTO of the same account renames it.
            m_books.accounts[found->second].name = std::move(name);
        }
    }

    void readAccountType() {
        const auto number = maybeAccountNumber(0);
        const std::string type = plain(1);
        if (number && type.size() == 1 && std::strchr("TSIK", type[0]) != nullptr) {
            m_types[*number] = type[0];
        }
    }

    void readBalance(std::vector<SieBalance>& balances, std::unordered_set<std::int32_t>& seen) {
        if (yearIndex() != 0) {
            return;
        }
        const std::int32_t account = accountNumber(1);
        if (!seen.insert(account).second) {
            throw SieReadError(m_line, "Konto " + std::to_string(account) + " har redan en " +
                                           m_record.label + " för året.");
        }
        balances.push_back({account, amount(2), m_line});
    }

    void startVoucher() {
        if (m_books.vouchers.size() >= kMaxSieVouchers) {
            throw SieReadError(m_line, kMsgForMangaVerifikat);
        }
        SieVoucher voucher;
        voucher.series = text(0);
        voucher.number = text(1);
        voucher.date = date(2);
        voucher.text = text(3);
        if (!plain(4).empty()) {
            voucher.registered = date(4);
        }
        voucher.line = m_line;
        m_voucher = std::move(voucher);
    }

    void readTransaction() {
        if (++m_transactions > kMaxSieTransactions) {
            throw SieReadError(m_line, kMsgForMangaRader);
        }
        // Old files leave out the object list.
        const std::size_t skip = has(1) && m_record.fields[1].list ? 1 : 0;
        SieTransaction transaction;
        transaction.account = accountNumber(0);
        transaction.amount = amount(1 + skip);
        transaction.text = text(3 + skip);
        transaction.line = m_line;
        m_voucher->transactions.push_back(std::move(transaction));
    }

    void finishVoucher() {
        const SieVoucher& voucher = *m_voucher;
        m_inBlock = false;
        if (voucher.transactions.empty()) {
            // Some programs write vouchers without lines; the books take none.
            m_books.emptyVouchers.push_back({voucherName(voucher), voucher.line});
            m_voucher.reset();
            return;
        }
        Ore sum = 0;
        for (const SieTransaction& transaction : voucher.transactions) {
            sum = addOre(sum, transaction.amount);
        }
        if (sum != 0) {
            throw SieReadError(voucher.line,
                               "Verifikatet är inte i balans: debet och kredit skiljer sig med " +
                                   formatPlainOre(sum < 0 ? -sum : sum) + ".");
        }
        m_books.vouchers.push_back(std::move(*m_voucher));
        m_voucher.reset();
    }

    void readChecksum() {
        if (m_record.fields.empty()) {
            if (m_checksumState == ChecksumState::None) {
                m_checksumState = ChecksumState::Open;
            }
            return;
        }
        if (m_checksumState != ChecksumState::Open) {
            throw SieReadError(m_line, "Den avslutande #KSUMMA saknar en inledande #KSUMMA.");
        }
        // Writers state the CRC signed or unsigned; both name the same 32 bits.
        const std::string& value = need(0).text;
        long long stated = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), stated);
        if (error != std::errc() || end != value.data() + value.size() || stated < INT32_MIN ||
            stated > static_cast<long long>(UINT32_MAX)) {
            throw SieReadError(m_line, "\"" + value + "\" är ingen kontrollsumma.");
        }
        if (static_cast<std::uint32_t>(stated) != m_checksum.value()) {
            throw SieReadError(m_line,
                               "Kontrollsumman stämmer inte: filen har ändrats eller skadats efter att "
                               "den skrevs.");
        }
        m_checksumState = ChecksumState::Closed;
        m_books.checksumVerified = true;
    }

    // ---- the whole ----

    void checkWhole() {
        if (m_voucher) {
            throw SieReadError(m_voucher->line,
                               "Verifikatet avslutas inte med }: filen verkar vara avkortad.");
        }
        if (m_checksumState == ChecksumState::Open) {
            throw SieReadError(0, kMsgAvkortadKsumma);
        }
        if (!m_sieType) {
            throw SieReadError(0, kMsgEjTyp4);
        }
        for (SieAccount& account : m_books.accounts) {
            if (const auto type = m_types.find(account.number); type != m_types.end()) {
                account.type = type->second;
            }
        }
        if (!m_books.year) {
            return; // a transaction file: its vouchers make the period
        }
        const SieYear& year = *m_books.year;
        for (const SieVoucher& voucher : m_books.vouchers) {
            if (voucher.date < year.first || year.last < voucher.date) {
                throw SieReadError(voucher.line, "Verifikatets datum " + displaySieDate(voucher.date) +
                                                     " ligger utanför räkenskapsåret " +
                                                     displaySieDate(year.first) + " – " +
                                                     displaySieDate(year.last) + ".");
            }
        }
    }

    enum class ChecksumState { None, Open, Closed };

    std::string_view m_bytes;
    SieBooks m_books;
    SieRecord m_record;
    std::size_t m_line = 0;
    std::optional<SieVoucher> m_voucher;
    bool m_inBlock = false;
    bool m_sieType = false;
    std::size_t m_transactions = 0;
    ChecksumState m_checksumState = ChecksumState::None;
    SieChecksum m_checksum;
    std::unordered_map<std::int32_t, std::size_t> m_accountIndex;
    std::unordered_map<std::int32_t, char> m_types;
    std::unordered_set<std::int32_t> m_openingSeen;
    std::unordered_set<std::int32_t> m_closingSeen;
    std::unordered_set<std::int32_t> m_resultsSeen;
    std::unordered_set<std::int32_t> m_zeroLed;
};

} // namespace

SieBooks readSieBooks(std::string_view bytes) {
    SieBooks books = BooksReader(bytes).read();
    books.sha256 = sha256Hex(bytes);
    return books;
}

} // namespace kv
