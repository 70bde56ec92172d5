// libFuzzer target: a company built from what the SIE reader read, and the
// vouchers added to an open company. A company whose balances agree with its
// file exports to a file that reads back with the same vouchers.
#include "sie/SieAddVouchers.h"
#include "sie/SieImport.h"
#include "sie/SieWriter.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // No user templates: a folder that does not exist.
    static const std::string folder =
        (std::filesystem::temp_directory_path() / "kvistoran-fuzz-no-templates").string();
    kv::SieBooks books;
    try {
        books = kv::readSieBooks(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const kv::SieReadError&) {
        return 0;
    }
    kv::SieImportResult result;
    try {
        result = kv::buildSieCompany(books, {kv::kSieDefaultTemplate, folder, "fuzz.se"});
    } catch (const kv::SieReadError&) {
        return 0;
    }
    if (!result.summary.canImport()) {
        return 0;
    }
    const kv::SieExport exported = kv::writeSie(*result.company, {2024, 1, 1});
    const kv::SieBooks again = kv::readSieBooks(exported.bytes);
    if (again.vouchers.size() != books.vouchers.size() || !again.checksumVerified) {
        std::abort();
    }
    // The same vouchers into the company that holds them: every one is refused as read before.
    const kv::SieAddSummary twice = kv::planSieVouchers(*result.company, books, "fuzz.se");
    if (!books.vouchers.empty() && twice.canAdd()) {
        std::abort();
    }
    return 0;
}
