// libFuzzer target: the period file reader.
#include "FuzzReaders.h"

#include "storage/CompanyArchive.h"

#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using Period = std::pair<std::string, kv::CompanyState>;
    return kv::fuzz::checkReader(
        data, size,
        [](kv::ArchiveReader& in) {
            std::string owner = kv::readPeriodArchiveOwner(in);
            return Period(std::move(owner), kv::readPeriodArchiveBody(in));
        },
        [](kv::ArchiveWriter& out, const Period& period) {
            kv::writePeriodArchive(out, period.second, period.first);
        });
}
