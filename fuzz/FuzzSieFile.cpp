// libFuzzer target: the SIE reader. Every input is read or refused with a
// SieReadError, within the reader's limits, and what it reads is whole.
#include "sie/SieBooks.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kv::SieBooks books;
    try {
        books = kv::readSieBooks(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const kv::SieReadError&) {
        return 0;
    }
    // Every voucher read has lines and balances.
    for (const kv::SieVoucher& voucher : books.vouchers) {
        kv::Ore sum = 0;
        for (const kv::SieTransaction& transaction : voucher.transactions) {
            sum = kv::addOre(sum, transaction.amount);
        }
        if (voucher.transactions.empty() || sum != 0) {
            std::abort();
        }
    }
    return 0;
}
