// Export of the open period as a SIE file of type 4E: the company, its
// financial year, the accounts with their types, the opening and closing
// balances and results, and every voucher, in code page 437 with the
// checksum "#KSUMMA".
#pragma once

#include "model/TallvingeDoc.h"
#include "sie/SieBooks.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kv {

// The program as the file names it in "#PROGRAM".
inline constexpr const char* kSieProgramName = "Kvistoran";
const char* sieProgramVersion();

struct SieExport {
    std::string bytes;
    std::size_t accounts = 0;
    std::size_t vouchers = 0;
    std::vector<std::string> notes; // what the user should know about the file, in Swedish
};

// The name the file gives the company: the company file's name without ".bok".
std::string sieCompanyName(const CTallvingeDoc& doc);

// Today, as "#GEN" states it.
SieDate sieToday();

// The file of the company's open period, generated on the given day. Throws
// DocumentRefusal, saying why, when the books cannot be written as a valid
// file: no open period, a voucher out of balance or with an impossible date.
SieExport writeSie(const CTallvingeDoc& doc, const SieDate& generated);

} // namespace kv
