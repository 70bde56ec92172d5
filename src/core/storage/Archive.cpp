#include "storage/Archive.h"

#include "model/Amount.h"
#include "storage/Cp1252.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

namespace kv {

namespace {

constexpr std::uint16_t kNullTag = 0x0000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint32_t kBigClassTag = 0x80000000U;
constexpr std::uint32_t kMaxNumber = 0x3FFFFFFEU;
constexpr std::uint32_t kSchema = 1;
constexpr std::size_t kBufferSize = 1 << 16;
// Marks a count of text bytes as UTF-16; no file holds a text that long.
constexpr std::uint64_t kUtf16Bytes = std::uint64_t{1} << 63;

constexpr const char* kClassNames[kArchiveClassCount] = {
    "CKonto",        "CKontorad", "CKontoplan", "CEttVerifikat",
    "CVerifikatrad", "CAutomoms", "CPeriod",    "CGXGridParam",
};

static_assert(std::endian::native == std::endian::little, "the archive code assumes a little-endian machine");

ArchiveClass classOf(std::uint8_t entry) {
    return static_cast<ArchiveClass>(entry & 0x7F);
}

std::string describeClass(ArchiveClass cls) {
    return std::string("\"") + archiveClassName(cls) + "\"";
}

} // namespace

const char* archiveClassName(ArchiveClass cls) {
    return kClassNames[static_cast<std::size_t>(cls)];
}

[[noreturn]] void throwTruncated() {
    throw ArchiveError("Filen tar slut för tidigt; den är avkortad eller skadad.");
}

// ---- writing ----

ArchiveWriter::ArchiveWriter(ByteSink& sink) : m_sink(sink), m_buffer(kBufferSize) {}

ArchiveWriter::~ArchiveWriter() = default;

void ArchiveWriter::put(const void* data, std::size_t size) {
    if (size == 0) {
        return; // an empty array's data() may be null, which memcpy must not see
    }
    if (m_used + size > kBufferSize) {
        flush();
    }
    if (size > kBufferSize) {
        m_sink.write(static_cast<const char*>(data), size);
        return;
    }
    std::memcpy(m_buffer.data() + m_used, data, size);
    m_used += size;
}

void ArchiveWriter::flush() {
    if (m_used > 0) {
        m_sink.write(m_buffer.data(), m_used);
        m_used = 0;
    }
}

void ArchiveWriter::writeUInt16(std::uint16_t value) {
    put(&value, sizeof value);
}
void ArchiveWriter::writeUInt32(std::uint32_t value) {
    put(&value, sizeof value);
}
void ArchiveWriter::writeInt32(std::int32_t value) {
    put(&value, sizeof value);
}
void ArchiveWriter::writeDouble(double value) {
    put(&value, sizeof value);
}

void ArchiveWriter::writeText(std::string_view utf8) {
    // Nearly every text is short: its Windows-1252 form, never longer than
    // the UTF-8 one, then has a one-byte prefix and is encoded in place.
    const bool shortText = utf8.size() < 0xFF;
    if (shortText && m_used + 1 + utf8.size() > kBufferSize) {
        flush();
    }
    if (shortText) {
        if (const auto length = utf8ToCp1252(utf8, m_buffer.data() + m_used + 1)) {
            m_buffer[m_used] = static_cast<char>(*length);
            m_used += 1 + *length;
            return;
        }
    } else if (const auto bytes = utf8ToCp1252(utf8)) {
        writeBytesText(*bytes);
        return;
    }
    throw ArchiveError("Texten \"" + std::string(utf8) + "\" innehåller tecknet \"" +
                       firstUnstorableCharacter(utf8) + "\", som inte kan sparas i filen.");
}

void ArchiveWriter::writeBytesText(std::string_view cp1252) {
    const std::size_t length = cp1252.size();
    if (length < 0xFF) {
        const auto byte = static_cast<std::uint8_t>(length);
        put(&byte, 1);
    } else {
        const std::uint8_t marker = 0xFF;
        put(&marker, 1);
        if (length < 0xFFFE) {
            writeUInt16(static_cast<std::uint16_t>(length));
        } else {
            writeUInt16(0xFFFF);
            writeUInt32(static_cast<std::uint32_t>(length));
        }
    }
    put(cp1252.data(), length);
}

void ArchiveWriter::writeCount(std::size_t count) {
    if (count < 0xFFFF) {
        writeUInt16(static_cast<std::uint16_t>(count));
    } else {
        writeUInt16(0xFFFF);
        writeUInt32(static_cast<std::uint32_t>(count));
    }
}

void ArchiveWriter::writeInt32Array(const std::vector<std::int32_t>& values) {
    writeCount(values.size());
    put(values.data(), values.size() * sizeof(std::int32_t));
}

void ArchiveWriter::writeNull() {
    writeUInt16(kNullTag);
}

void ArchiveWriter::writeIndexTag(std::uint32_t index, bool isClass) {
    if (index < kBigObjectTag) {
        writeUInt16(static_cast<std::uint16_t>(isClass ? (kClassTag | index) : index));
    } else {
        writeUInt16(kBigObjectTag);
        writeUInt32(isClass ? (kBigClassTag | index) : index);
    }
}

void ArchiveWriter::writeClassTag(ArchiveClass cls) {
    std::uint32_t& classNumber = m_classNumbers[static_cast<std::size_t>(cls)];
    if (classNumber == 0) {
        const std::string_view name = archiveClassName(cls);
        writeUInt16(kNewClassTag);
        writeUInt16(static_cast<std::uint16_t>(kSchema));
        writeUInt16(static_cast<std::uint16_t>(name.size()));
        put(name.data(), name.size());
        classNumber = m_nextNumber++;
    } else {
        writeIndexTag(classNumber, true);
    }
}

void ArchiveWriter::writeNewObjectTag(ArchiveClass cls) {
    if (m_nextNumber >= kMaxNumber) {
        throw ArchiveError("Företaget har för många poster för att kunna sparas i en fil.");
    }
    writeClassTag(cls);
    ++m_nextNumber;
}

bool ArchiveWriter::writeSharedObjectTag(const void* object, ArchiveClass cls) {
    if (object == nullptr) {
        writeNull();
        return false;
    }
    if (const auto found = m_shared.find(object); found != m_shared.end()) {
        writeIndexTag(found->second, false);
        return false;
    }
    writeNewObjectTag(cls);
    m_shared.emplace(object, m_nextNumber - 1);
    return true;
}

// ---- reading ----

std::size_t MemorySource::read(char* data, std::size_t size) {
    const std::size_t count = std::min(size, m_bytes.size() - m_pos);
    if (count == 0) {
        return 0; // an empty view's data() may be null
    }
    std::memcpy(data, m_bytes.data() + m_pos, count);
    m_pos += count;
    return count;
}

// The names read last, by a hash of their bytes in the file: most posted
// rows and voucher lines repeat the name of one of a few hundred accounts.
struct ArchiveReader::NameCache {
    static constexpr std::size_t kSlots = 1024;
    static constexpr std::size_t kLongest = 48;
    struct Slot {
        std::size_t size = 0; // of the bytes in the file; 0 for a free slot
        std::array<char, kLongest> bytes{};
        std::optional<TextCopies> text;
    };
    std::array<Slot, kSlots> slots;

    // From the length and the first and last eight bytes (the whole name when shorter).
    static std::size_t slotOf(std::string_view bytes) {
        std::uint64_t first = 0;
        std::uint64_t last = 0;
        if (bytes.size() >= 8) {
            std::memcpy(&first, bytes.data(), 8);
            std::memcpy(&last, bytes.data() + bytes.size() - 8, 8);
        } else {
            std::memcpy(&first, bytes.data(), bytes.size());
        }
        const std::uint64_t hash =
            (first * 0x9E3779B97F4A7C15ULL) ^ (std::rotl(last, 31) * 0xC2B2AE3D27D4EB4FULL) ^ bytes.size();
        return static_cast<std::size_t>(hash >> 40) & (kSlots - 1);
    }
};

ArchiveReader::~ArchiveReader() = default;

ArchiveReader::ArchiveReader(ByteSource& source) : m_source(&source), m_buffer(kBufferSize), m_entries(1) {
    // Every object takes at least a two-byte tag: room for all numbers at once.
    m_entries.reserve(
        static_cast<std::size_t>(std::min<std::uint64_t>(source.remaining() / 2 + 1, kMaxNumber)));
}

ArchiveReader::ArchiveReader(std::unique_ptr<ByteSource> source, const ArchiveReader& from)
    : m_source(source.get()), m_ownSource(std::move(source)), m_buffer(kBufferSize) {
    m_entries.reserve(from.m_entries.capacity());
    m_entries = from.m_entries;
    m_end = from.m_end - from.m_pos;
    std::memcpy(m_buffer.data(), from.m_buffer.data() + from.m_pos, m_end);
}

std::unique_ptr<ArchiveReader> ArchiveReader::twin() const {
    std::unique_ptr<ByteSource> source = m_source->twin();
    if (!source) {
        return nullptr;
    }
    return std::unique_ptr<ArchiveReader>(new ArchiveReader(std::move(source), *this));
}

bool ArchiveReader::standsWhere(const ArchiveReader& ahead, std::size_t numbered,
                                std::uint64_t remaining) const {
    return remaining == this->remaining() && numbered == m_entries.size() &&
           numbered <= ahead.m_entries.size() &&
           std::equal(m_entries.begin(), m_entries.end(), ahead.m_entries.begin());
}

void ArchiveReader::takeOver(ArchiveReader& ahead) {
    m_ownSource = std::move(ahead.m_ownSource);
    m_source = ahead.m_source;
    m_buffer.swap(ahead.m_buffer);
    m_pos = std::exchange(ahead.m_pos, 0);
    m_end = std::exchange(ahead.m_end, 0);
    m_entries.swap(ahead.m_entries);
}

std::uint64_t ArchiveReader::remaining() const {
    return (m_end - m_pos) + m_source->remaining();
}

bool ArchiveReader::refill() {
    if (m_pos < m_end) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
    }
    m_end -= m_pos;
    m_pos = 0;
    const std::size_t got = m_source->read(m_buffer.data() + m_end, m_buffer.size() - m_end);
    m_end += got;
    return got > 0;
}

void ArchiveReader::takeSlowly(void* data, std::size_t size) {
    auto* out = static_cast<char*>(data);
    while (size > 0) {
        if (m_pos == m_end && !refill()) {
            throwTruncated();
        }
        const std::size_t count = std::min(size, m_end - m_pos);
        std::memcpy(out, m_buffer.data() + m_pos, count);
        m_pos += count;
        out += count;
        size -= count;
    }
}

void ArchiveReader::skipSlowly(std::size_t size) {
    while (size > 0) {
        if (m_pos == m_end && !refill()) {
            throwTruncated();
        }
        const std::size_t count = std::min(size, m_end - m_pos);
        m_pos += count;
        size -= count;
    }
}

void ArchiveReader::skipLongText() {
    const std::uint64_t length = textByteCount();
    if (length > remaining()) {
        throwTruncated();
    }
    skip(static_cast<std::size_t>(length));
}

void ArchiveReader::throwBadAmount() {
    throw ArchiveError("Filen innehåller ett ogiltigt belopp.");
}

std::uint64_t ArchiveReader::readTextLength() {
    std::uint8_t byte = 0;
    take(&byte, 1);
    if (byte < 0xFF) {
        return byte;
    }
    const std::uint16_t word = readUInt16();
    if (word < 0xFFFE) {
        return word;
    }
    if (word == 0xFFFE) {
        return UINT64_MAX; // marks a UTF-16 text; its length follows
    }
    return readUInt32();
}

std::string ArchiveReader::readText() {
    std::string text;
    readText(text);
    return text;
}

// How many bytes the next text takes after its length; UTF-16 texts have
// their top bit set.
std::uint64_t ArchiveReader::textByteCount() {
    const std::uint64_t length = readTextLength();
    if (length != UINT64_MAX) {
        return length;
    }
    const std::uint64_t units = readTextLength();
    if (units == UINT64_MAX) {
        throw ArchiveError("Filen innehåller en felaktig text.");
    }
    return units * 2 | kUtf16Bytes;
}

std::string_view ArchiveReader::takeTextBytes(std::string& spill, bool& utf16) {
    std::uint64_t length = textByteCount();
    utf16 = (length & kUtf16Bytes) != 0;
    length &= ~kUtf16Bytes;
    if (length <= m_end - m_pos) {
        // The whole text is in the buffer: it is converted from there, without a copy.
        const std::string_view buffered(m_buffer.data() + m_pos, static_cast<std::size_t>(length));
        m_pos += buffered.size();
        return buffered;
    }
    if (length > remaining()) {
        throwTruncated();
    }
    spill.resize(static_cast<std::size_t>(length));
    take(spill.data(), spill.size());
    return spill;
}

void ArchiveReader::readText(std::string& into) {
    std::string spill;
    bool utf16 = false;
    const std::string_view bytes = takeTextBytes(spill, utf16);
    if (utf16) {
        into = utf16leToUtf8(bytes);
    } else if (isAsciiOnly(bytes)) {
        into.assign(bytes);
    } else {
        into = cp1252ToUtf8(bytes);
    }
}

void ArchiveReader::readLongText(SharedText& into) {
    std::string spill;
    bool utf16 = false;
    const std::string_view bytes = takeTextBytes(spill, utf16);
    into = storeText(bytes, utf16);
}

SharedText ArchiveReader::storeText(std::string_view bytes, bool utf16) {
    try {
        return utf16 ? m_texts.add(utf16leToUtf8(bytes)) : cp1252ToUtf8(bytes, m_texts);
    } catch (const std::length_error&) {
        throw ArchiveError("Filen innehåller en text som är för lång.");
    }
}

void ArchiveReader::readName(SharedText& into) {
    std::string spill;
    const char* data = nullptr;
    std::size_t length = 0;
    if (!takeShortText(data, length)) {
        bool utf16 = false;
        const std::string_view bytes = takeTextBytes(spill, utf16);
        if (utf16) {
            into = storeText(bytes, utf16);
            return;
        }
        data = bytes.data();
        length = bytes.size();
    }
    if (length == 0 || length > NameCache::kLongest) {
        into = length == 0 ? SharedText() : storeText({data, length}, false);
        return;
    }
    const std::string_view bytes(data, length);
    if (!m_names) {
        m_names = std::make_unique<NameCache>();
    }
    NameCache::Slot& slot = m_names->slots[NameCache::slotOf(bytes)];
    if (slot.size != bytes.size() || std::memcmp(slot.bytes.data(), bytes.data(), bytes.size()) != 0) {
        slot.size = 0;
        slot.text.reset();
        slot.text.emplace(storeShortText(data, length));
        std::memcpy(slot.bytes.data(), bytes.data(), bytes.size());
        slot.size = bytes.size();
    }
    into = slot.text->copy();
}

std::size_t ArchiveReader::readCount(std::size_t minBytes) {
    std::uint64_t count = readUInt16();
    if (count == 0xFFFF) {
        count = readUInt32();
    }
    if (minBytes > 0 && count > remaining() / minBytes) {
        throw ArchiveError("Filen anger ett antal (" + std::to_string(count) +
                           ") som är större än vad resten av filen kan rymma.");
    }
    return static_cast<std::size_t>(count);
}

std::vector<std::int32_t> ArchiveReader::readInt32Array() {
    const std::size_t count = readCount(sizeof(std::int32_t));
    std::vector<std::int32_t> values(count);
    take(values.data(), count * sizeof(std::int32_t));
    return values;
}

std::uint32_t ArchiveReader::newNumber() {
    static_assert(kLastNumber == kMaxNumber);
    if (m_entries.size() >= kMaxNumber) {
        throw ArchiveError("Filen innehåller för många objekt.");
    }
    m_entries.push_back(0);
    return static_cast<std::uint32_t>(m_entries.size() - 1);
}

void ArchiveReader::bind(std::uint32_t number, void* object) {
    if (number > 0 && number < m_entries.size() && (m_entries[number] & kClassFlag) == 0) {
        m_bound[number] = object;
    }
}

ArchiveReader::ObjectRef ArchiveReader::newObjectOfClassIndex(std::uint32_t classIndex, ArchiveClass cls) {
    if (classIndex == 0 || classIndex >= m_entries.size()) {
        throw ArchiveError("Filen hänvisar till en klass som inte finns (nummer " +
                           std::to_string(classIndex) + ").");
    }
    const std::uint8_t entry = m_entries[classIndex];
    if ((entry & kClassFlag) == 0) {
        throw ArchiveError("Filen anger ett objekt där en klass väntas (nummer " +
                           std::to_string(classIndex) + ").");
    }
    if (classOf(entry) != cls) {
        throw ArchiveError("Filen innehåller ett objekt av klassen " + describeClass(classOf(entry)) +
                           " där " + describeClass(cls) + " väntas.");
    }
    const std::uint32_t number = newNumber();
    m_entries[number] = static_cast<std::uint8_t>(cls);
    return {RefKind::New, number, nullptr};
}

ArchiveReader::ObjectRef ArchiveReader::backReference(std::uint32_t index, ArchiveClass cls) {
    if (index == 0 || index >= m_entries.size()) {
        throw ArchiveError("Filen hänvisar till ett objekt som inte finns (nummer " + std::to_string(index) +
                           ").");
    }
    const std::uint8_t entry = m_entries[index];
    if ((entry & kClassFlag) != 0) {
        throw ArchiveError("Filen anger en klass där ett objekt väntas (nummer " + std::to_string(index) +
                           ").");
    }
    if (classOf(entry) != cls) {
        throw ArchiveError("Filen hänvisar till ett objekt av klassen " + describeClass(classOf(entry)) +
                           " där " + describeClass(cls) + " väntas.");
    }
    const auto bound = m_bound.find(index);
    return {RefKind::Back, index, bound == m_bound.end() ? nullptr : bound->second};
}

ArchiveReader::ObjectRef ArchiveReader::newClass(ArchiveClass cls) {
    const std::uint16_t schema = readUInt16();
    const std::uint16_t nameLength = readUInt16();
    if (nameLength > remaining()) {
        throwTruncated();
    }
    std::string name(nameLength, '\0');
    take(name.data(), name.size());
    std::size_t known = kArchiveClassCount;
    for (std::size_t i = 0; i < kArchiveClassCount; ++i) {
        if (name == kClassNames[i]) {
            known = i;
        }
    }
    if (known == kArchiveClassCount) {
        throw ArchiveError("Filen innehåller en okänd klass (\"" + cp1252ToUtf8(name) + "\").");
    }
    if (schema != kSchema) {
        throw ArchiveError("Filen innehåller klassen \"" + name + "\" i en okänd version (" +
                           std::to_string(schema) + ").");
    }
    const std::uint32_t classNumber = newNumber();
    m_entries[classNumber] = static_cast<std::uint8_t>(kClassFlag | known);
    return newObjectOfClassIndex(classNumber, cls);
}

ArchiveReader::ObjectRef ArchiveReader::readOtherObjectTag(std::uint16_t tag, std::uint32_t big,
                                                           ArchiveClass cls) {
    if (tag == kNullTag) {
        return {};
    }
    if (tag == kNewClassTag) {
        return newClass(cls);
    }
    if (tag == kBigObjectTag) {
        if ((big & kBigClassTag) != 0) {
            return newObjectOfClassIndex(big & ~kBigClassTag, cls);
        }
        return backReference(big, cls);
    }
    if ((tag & kClassTag) != 0) {
        return newObjectOfClassIndex(tag & ~kClassTag, cls);
    }
    return backReference(tag, cls);
}

} // namespace kv
