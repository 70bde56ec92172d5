// What the user chose for the reports while the program runs: the
// application keeps it for the open company, not the company's books, so it
// is never saved and starts afresh with every company opened or made.
#pragma once

#include <cstdint>

namespace kv {

// The vouchers "Skriv ut flera verifikat" last chose to print, numbers from
// and to; 0 to 0 for every voucher.
struct JournalPrintRange {
    std::int32_t from = 0;
    std::int32_t to = 0;
};

struct ReportSettings {
    JournalPrintRange journalRange;
};

} // namespace kv
