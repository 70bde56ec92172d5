// libFuzzer target: the SIE reader and the company built from what it read.
// Every input is read or refused with a SieReadError; a company whose
// balances agree with its file exports to a file that reads back with the
// same vouchers.
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
    return 0;
}
