// What a SIE file of type 4 holds that the books can use, as read and
// checked by readSieBooks: the company, the financial year, the accounts,
// the balances of the year and its vouchers. Texts are UTF-8.
#pragma once

#include "model/Amount.h"
#include "sie/SieCodePage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv {

// What a file may make the program take, whatever it claims: far beyond the
// books of a small firm, well within a desktop's memory.
// A file of 100 000 four-line vouchers is about 20 MB and takes about 170 MB
// of memory when made into a company.
inline constexpr std::size_t kMaxSieFileBytes = 64u * 1024u * 1024u;
inline constexpr std::size_t kMaxSieVouchers = 300'000;
inline constexpr std::size_t kMaxSieTransactions = 1'500'000;
inline constexpr std::size_t kMaxSieAccounts = 5'000;

struct SieDate {
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;

    bool operator==(const SieDate&) const = default;
    auto operator<=>(const SieDate&) const = default;
};

// "YYYYMMDD", or nothing when the text is not a date of the calendar.
std::optional<SieDate> parseSieDate(std::string_view text);
std::string formatSieDate(const SieDate& date);
// "2024-01-31", as the summary shows a date.
std::string displaySieDate(const SieDate& date);
std::int32_t daysInMonth(std::int32_t year, std::int32_t month);

// An amount with a point and at most two decimals ("-1234.5"), in öre, or
// nothing when the text is no such amount or is beyond the largest amount.
std::optional<Ore> parseSieAmount(std::string_view text);

struct SieYear {
    SieDate first;
    SieDate last;
    std::size_t line = 0;
};

struct SieAccount {
    std::int32_t number = 0;
    std::string name;
    char type = 0; // 'T', 'S', 'I' or 'K' from #KTYP; 0 when the file gives none
    std::size_t line = 0;
};

struct SieBalance {
    std::int32_t account = 0;
    Ore amount = 0;
    std::size_t line = 0;
};

struct SieTransaction {
    std::int32_t account = 0;
    Ore amount = 0; // debit positive, credit negative
    std::string text;
    std::size_t line = 0;
};

struct SieVoucher {
    std::string series;
    std::string number;
    SieDate date;
    std::string text;
    std::optional<SieDate> registered;
    std::size_t line = 0;
    std::vector<SieTransaction> transactions;
};

// A record the books leave out, as the summary names it.
struct SieLeftOut {
    std::string what; // "#KONTO DIFF", "verifikat A 12"
    std::size_t line = 0;
};

struct SieBooks {
    SieEncoding encoding = SieEncoding::Pc8;
    std::string format; // as #FORMAT states it
    std::string program;
    std::string companyName;
    std::optional<SieYear> year;         // #RAR 0; a transaction file (4I) often has none
    std::optional<SieYear> previousYear; // #RAR -1
    std::vector<SieAccount> accounts;    // in the order of the file, each number once
    std::vector<SieBalance> opening;     // #IB 0
    std::vector<SieBalance> closing;     // #UB 0
    std::vector<SieBalance> results;     // #RES 0
    std::vector<SieVoucher> vouchers;
    std::vector<SieLeftOut> unusableAccounts;  // #KONTO whose number is no number, used nowhere
    std::vector<SieLeftOut> emptyVouchers;     // #VER without lines
    std::vector<std::int32_t> zeroLedAccounts; // numbers written with leading zeros ("0351")
    bool checksumVerified = false;             // the file carried #KSUMMA and it matched
    std::size_t replacedCharacters = 0;        // characters the company files cannot store
    std::size_t skippedRecords = 0;            // records of kinds the books do not keep
    std::string sha256;                        // of the file's bytes, as the import log keeps it
};

// "verifikat A 12 (2024-03-31)": a voucher of the file as messages name it.
std::string voucherName(const SieVoucher& voucher);

// A file that cannot be read in: the line it concerns (0 for the file as a
// whole) and what is wrong, in Swedish.
class SieReadError : public std::runtime_error {
public:
    SieReadError(std::size_t line, const std::string& message);
    [[nodiscard]] std::size_t line() const { return m_line; }

private:
    std::size_t m_line;
};

// Reads and checks the bytes of a SIE file (lines ended by CR, LF or CRLF).
// Throws SieReadError for a file that is not a readable SIE file of type 4,
// is cut short or damaged, has a voucher out of balance or dated outside its
// financial year, or names its financial year twice.
SieBooks readSieBooks(std::string_view bytes);

} // namespace kv
