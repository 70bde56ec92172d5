// The body shared by the fuzz targets of the three file readers: every input
// is read or refused with an ArchiveError; what is read is written again,
// and that file reads back to the same bytes.
#pragma once

#include "storage/Archive.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace kv::fuzz {

// read(ArchiveReader&) returns what it read; write(ArchiveWriter&, const T&)
// stores it. Aborts, so that the fuzzer keeps the input, when a file that was
// read cannot be read back after writing, or reads back to other bytes.
template <typename Read, typename Write>
int checkReader(const std::uint8_t* data, std::size_t size, Read read, Write write) {
    const auto written = [&](std::string_view bytes) -> std::string {
        MemorySource source(bytes);
        ArchiveReader in(source);
        const auto value = read(in);
        StringSink sink;
        ArchiveWriter out(sink);
        write(out, value);
        out.flush();
        return sink.bytes();
    };
    std::string first;
    try {
        first = written(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const ArchiveError&) {
        return 0; // refused, or holds a text that cannot be stored again
    }
    try {
        if (written(first) != first) {
            std::abort();
        }
    } catch (const ArchiveError&) {
        std::abort();
    }
    return 0;
}

} // namespace kv::fuzz
