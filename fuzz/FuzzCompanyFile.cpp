// libFuzzer target: the company file reader.
#include "FuzzReaders.h"

#include "storage/CompanyArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kv::fuzz::checkReader(
        data, size, [](kv::ArchiveReader& in) { return kv::readCompanyArchive(in); },
        [](kv::ArchiveWriter& out, const kv::CompanyState& doc) { kv::writeCompanyArchive(out, doc, {}); });
}
