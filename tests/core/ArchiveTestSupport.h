// Helpers for the archive tests: hand-built byte sequences, the bytes of
// whole files written and read in memory, and a company that uses every field.
#pragma once

#include "model/TallvingeDoc.h"
#include "storage/Archive.h"
#include "storage/CompanyArchive.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kv::test {

// Little-endian bytes, built item by item.
class Bytes {
public:
    Bytes& u8(std::uint8_t value) {
        m_bytes.push_back(static_cast<char>(value));
        return *this;
    }
    Bytes& u16(std::uint16_t value) {
        return u8(static_cast<std::uint8_t>(value)).u8(static_cast<std::uint8_t>(value >> 8));
    }
    Bytes& u32(std::uint32_t value) {
        return u16(static_cast<std::uint16_t>(value)).u16(static_cast<std::uint16_t>(value >> 16));
    }
    Bytes& i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
    Bytes& f64(double value) {
        char raw[sizeof value];
        std::memcpy(raw, &value, sizeof value);
        m_bytes.append(raw, sizeof raw);
        return *this;
    }
    Bytes& raw(std::string_view bytes) {
        m_bytes.append(bytes);
        return *this;
    }
    // A Windows-1252 text shorter than 255 bytes with its one-byte prefix.
    Bytes& text(std::string_view cp1252) { return u8(static_cast<std::uint8_t>(cp1252.size())).raw(cp1252); }
    // A reference to an object or class number in the short or the long form.
    Bytes& ref(std::uint32_t number, bool isClass = false) {
        if (number < 0x7FFF) {
            return u16(static_cast<std::uint16_t>(isClass ? 0x8000 | number : number));
        }
        return u16(0x7FFF).u32(isClass ? 0x80000000U | number : number);
    }
    // The introduction of a new class: 0xFFFF, schema 1, the name.
    Bytes& newClass(std::string_view name) {
        return u16(0xFFFF).u16(1).u16(static_cast<std::uint16_t>(name.size())).raw(name);
    }

    [[nodiscard]] const std::string& str() const { return m_bytes; }
    operator const std::string&() const { return m_bytes; }

private:
    std::string m_bytes;
};

// The bytes an archive writer leaves after write(out).
template <typename Write> std::string writtenBytes(Write write) {
    StringSink sink;
    ArchiveWriter out(sink);
    write(out);
    out.flush();
    return sink.bytes();
}

inline std::string companyBytes(const CompanyState& doc) {
    return writtenBytes([&doc](ArchiveWriter& out) { writeCompanyArchive(out, doc, {}); });
}

inline std::string periodBytes(const CompanyState& doc, const std::string& companyFileName) {
    return writtenBytes([&](ArchiveWriter& out) { writePeriodArchive(out, doc, companyFileName); });
}

inline std::string templateBytes(const TemplateList& templates) {
    return writtenBytes([&templates](ArchiveWriter& out) { writeTemplateArchive(out, templates); });
}

inline CompanyState readCompanyBytes(std::string_view bytes) {
    MemorySource source(bytes);
    ArchiveReader in(source);
    return readCompanyArchive(in);
}

inline CompanyState readPeriodBytes(std::string_view bytes) {
    MemorySource source(bytes);
    ArchiveReader in(source);
    readPeriodArchiveOwner(in);
    return readPeriodArchiveBody(in);
}

inline TemplateList readTemplateBytes(std::string_view bytes) {
    MemorySource source(bytes);
    ArchiveReader in(source);
    return readTemplateArchive(in);
}

inline std::uint16_t u16At(const std::string& bytes, std::size_t pos) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(pos)) |
                                      (static_cast<unsigned char>(bytes.at(pos + 1)) << 8));
}

inline void putU16(std::string& bytes, std::size_t pos, std::uint16_t value) {
    bytes.at(pos) = static_cast<char>(value & 0xFF);
    bytes.at(pos + 1) = static_cast<char>(value >> 8);
}

inline void putI32(std::string& bytes, std::size_t pos, std::int32_t value) {
    const auto word = static_cast<std::uint32_t>(value);
    putU16(bytes, pos, static_cast<std::uint16_t>(word));
    putU16(bytes, pos + 2, static_cast<std::uint16_t>(word >> 16));
}

// The archive numbers of the accounts of m_allaKonton, counting on from next
// (1 when the file holds no grid state before them).
std::unordered_map<const CKonto*, std::uint32_t> accountNumbers(const CompanyState& doc, std::uint32_t next);

// m_resKonton and m_balKonton as the company file holds them: back-references only.
std::string subsetBytes(const CompanyState& doc, std::uint32_t next);

// A grid state with a few styled cells.
GridState styledGrid();

// Every byte value 1..255 and 0 as one UTF-8 text.
std::string everyWindows1252Character();

// Compares every stored field of the company files (not the run-time ones).
void expectSameStoredFields(const CompanyState& expected, const CompanyState& actual, bool companyFile);
void expectSameTemplates(const TemplateList& expected, const TemplateList& actual);

} // namespace kv::test
