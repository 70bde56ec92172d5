// The object archive of the company, period and template files: little-endian
// primitives, length-prefixed Windows-1252 texts, counts, and object
// references that number classes and objects with one counter per file.
#pragma once

#include "model/Amount.h"
#include "model/SharedText.h"
#include "storage/Cp1252.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kv {

enum class ArchiveClass : std::uint8_t {
    Konto,
    Kontorad,
    Kontoplan,
    EttVerifikat,
    Verifikatrad,
    Automoms,
    Period,
    GridParam,
};
inline constexpr std::size_t kArchiveClassCount = 8;

const char* archiveClassName(ArchiveClass cls);

// A file that cannot be read or written as an archive; the message is for the user.
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where an archive writer puts its bytes.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const char* data, std::size_t size) = 0;
};

class StringSink final : public ByteSink {
public:
    void write(const char* data, std::size_t size) override { m_bytes.append(data, size); }
    [[nodiscard]] const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

class ArchiveWriter {
public:
    explicit ArchiveWriter(ByteSink& sink);
    ArchiveWriter(const ArchiveWriter&) = delete;
    ArchiveWriter& operator=(const ArchiveWriter&) = delete;
    ~ArchiveWriter();

    void writeUInt16(std::uint16_t value);
    void writeUInt32(std::uint32_t value);
    void writeInt32(std::int32_t value);
    void writeDouble(double value);
    // Throws ArchiveError when the text holds a character Windows-1252 cannot hold.
    void writeText(std::string_view utf8);
    void writeBytesText(std::string_view cp1252);
    void writeCount(std::size_t count);
    void writeInt32Array(const std::vector<std::int32_t>& values);

    void writeNull();
    // An object written once only: its tag, and it takes the next number.
    void writeNewObjectTag(ArchiveClass cls);
    // An object that may be written again: the first time its tag (returns
    // true, the caller writes the fields), later a back-reference (false).
    bool writeSharedObjectTag(const void* object, ArchiveClass cls);

    void flush();

private:
    void put(const void* data, std::size_t size);
    void writeClassTag(ArchiveClass cls);
    void writeIndexTag(std::uint32_t index, bool isClass);

    ByteSink& m_sink;
    std::vector<char> m_buffer; // fixed size; m_used bytes wait for the sink
    std::size_t m_used = 0;
    std::uint32_t m_nextNumber = 1;
    std::uint32_t m_classNumbers[kArchiveClassCount] = {};
    std::unordered_map<const void*, std::uint32_t> m_shared;
};

// Where an archive reader takes its bytes from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills up to size bytes; returns how many (0 at the end).
    virtual std::size_t read(char* data, std::size_t size) = 0;
    // Bytes not yet handed out.
    [[nodiscard]] virtual std::uint64_t remaining() const = 0;
    // A second source of the same bytes from where this one stands, to be read
    // on another thread while this one is; null where the bytes cannot be
    // read twice. It must not outlive this source.
    [[nodiscard]] virtual std::unique_ptr<ByteSource> twin() const { return nullptr; }
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
    std::size_t read(char* data, std::size_t size) override;
    [[nodiscard]] std::uint64_t remaining() const override { return m_bytes.size() - m_pos; }
    [[nodiscard]] std::unique_ptr<ByteSource> twin() const override {
        return std::make_unique<MemorySource>(m_bytes.substr(m_pos));
    }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

class ArchiveReader {
public:
    enum class RefKind { Null, New, Back };
    struct ObjectRef {
        RefKind kind = RefKind::Null;
        std::uint32_t number = 0; // the object's number (New and Back)
        void* object = nullptr;   // Back: what was bound to the number
    };

    explicit ArchiveReader(ByteSource& source);
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;
    ~ArchiveReader();

    // A second reader of the same bytes from where this one stands, with the
    // classes and objects read so far numbered alike but none of them bound:
    // it reads ahead on another thread. Null where the source cannot be read
    // twice. It must not outlive this reader's source.
    [[nodiscard]] std::unique_ptr<ArchiveReader> twin() const;
    // Whether this reader stands where ahead, a twin of it, stood when it had
    // numbered numbered objects and classes and had remaining bytes left:
    // the same place, the same numbers.
    [[nodiscard]] bool standsWhere(const ArchiveReader& ahead, std::size_t numbered,
                                   std::uint64_t remaining) const;
    // Goes on from where ahead, a twin standing further on, stands: its
    // bytes and numbers. What this reader has bound stays bound; ahead binds
    // nothing. ahead is left empty.
    void takeOver(ArchiveReader& ahead);
    // How many objects and classes have been numbered.
    [[nodiscard]] std::size_t numbered() const { return m_entries.size(); }

    std::uint16_t readUInt16() { return readValue<std::uint16_t>(); }
    std::uint32_t readUInt32() { return readValue<std::uint32_t>(); }
    std::int32_t readInt32() { return readValue<std::int32_t>(); }
    double readDouble() { return readValue<double>(); }
    // An amount: refused when not finite or beyond the largest amount.
    double readAmount() {
        const double value = readDouble();
        if (!(value <= kMaxAmount && value >= -kMaxAmount)) { // NaN fails both
            throwBadAmount();
        }
        return value;
    }
    std::string readText(); // as UTF-8
    void readText(std::string& into);
    // A text of the books: kept, with every other text of the file read this
    // way, in the reader's text store, whose blocks the texts keep.
    void readText(SharedText& into) {
        const char* bytes = nullptr;
        std::size_t length = 0;
        if (takeShortText(bytes, length)) {
            into = storeShortText(bytes, length);
            return;
        }
        readLongText(into);
    }
    // A text that many rows repeat, such as an account's name: a short one
    // read before shares its bytes.
    void readName(SharedText& into);
    // Passes over size bytes, or over a text, without keeping them.
    void skip(std::size_t size) {
        if (size <= m_end - m_pos) {
            m_pos += size;
            return;
        }
        skipSlowly(size);
    }
    void skipText() {
        if (m_pos < m_end) {
            const auto first = static_cast<unsigned char>(m_buffer[m_pos]);
            if (first < 0xFF && first < m_end - m_pos) {
                m_pos += 1 + static_cast<std::size_t>(first);
                return;
            }
        }
        skipLongText();
    }
    // A count of elements of at least minBytes each; refused when the bytes
    // left cannot hold that many.
    std::size_t readCount(std::size_t minBytes);
    std::vector<std::int32_t> readInt32Array();

    // Reads an object reference to an object of class cls; any other class is refused.
    ObjectRef readObjectTag(ArchiveClass cls) {
        const std::uint16_t tag = readUInt16();
        // The usual case, inline: a new object of a class already named. Its
        // class is given in 15 bits (0xFFFF names a new class instead), or in 31
        // bits after the marker 0x7FFF.
        std::uint32_t classIndex = 0;
        std::uint32_t big = 0;
        if (tag == 0x7FFFU) {
            big = readUInt32();
            classIndex = (big & 0x80000000U) != 0 ? big & 0x7FFFFFFFU : 0;
        } else if ((tag & 0x8000U) != 0 && tag != 0xFFFFU) {
            classIndex = tag & 0x7FFFU;
        }
        if (classIndex != 0 && classIndex < m_entries.size() &&
            m_entries[classIndex] == (kClassFlag | static_cast<std::uint8_t>(cls)) &&
            m_entries.size() < kLastNumber) {
            m_entries.push_back(static_cast<std::uint8_t>(cls));
            return {RefKind::New, static_cast<std::uint32_t>(m_entries.size() - 1), nullptr};
        }
        return readOtherObjectTag(tag, big, cls);
    }
    // Makes a back-reference to number yield object.
    void bind(std::uint32_t number, void* object);

    [[nodiscard]] std::uint64_t remaining() const;
    [[nodiscard]] bool atEnd() const { return remaining() == 0; }

private:
    // What a number stands for: a class (kClassFlag) or an object, and its
    // class; one byte each, as a company numbers a million rows.
    static constexpr std::uint8_t kClassFlag = 0x80;
    // The numbers a file may use: below the archive's marker of a big tag.
    static constexpr std::uint32_t kLastNumber = 0x3FFFFFFEU;

    [[noreturn]] static void throwBadAmount();
    // The rest of readObjectTag: big is what followed the marker 0x7FFF.
    ObjectRef readOtherObjectTag(std::uint16_t tag, std::uint32_t big, ArchiveClass cls);

    // Inline: the reader takes a few bytes at a time, millions of times.
    void take(void* data, std::size_t size) {
        if (size <= m_end - m_pos && size > 0) { // the usual case: all of it is in the buffer
            std::memcpy(data, m_buffer.data() + m_pos, size);
            m_pos += size;
            return;
        }
        takeSlowly(data, size);
    }
    void takeSlowly(void* data, std::size_t size);
    void skipSlowly(std::size_t size);
    void skipLongText();
    std::uint64_t textByteCount();
    template <typename T> T readValue() {
        T value{};
        take(&value, sizeof value);
        return value;
    }
    bool refill();
    std::uint32_t newNumber();
    ObjectRef newObjectOfClassIndex(std::uint32_t classIndex, ArchiveClass cls);
    ObjectRef backReference(std::uint32_t index, ArchiveClass cls);
    ObjectRef newClass(ArchiveClass cls);
    std::uint64_t readTextLength();
    // The usual text, inline: shorter than 255 bytes, in Windows-1252, and
    // all of it in the buffer. False, and nothing taken, for any other.
    bool takeShortText(const char*& bytes, std::size_t& length) {
        if (m_pos < m_end) {
            const auto first = static_cast<unsigned char>(m_buffer[m_pos]);
            if (first < 0xFF && first < m_end - m_pos) {
                bytes = m_buffer.data() + m_pos + 1;
                length = first;
                m_pos += 1 + length;
                return true;
            }
        }
        return false;
    }
    SharedText storeShortText(const char* bytes, std::size_t length) {
        if (length == 0) {
            return {};
        }
        char* const room = m_texts.reserve(length * 3);
        return m_texts.commit(static_cast<std::size_t>(writeCp1252AsUtf8({bytes, length}, room) - room));
    }
    void readLongText(SharedText& into);
    // The bytes of the next text as the file holds them (UTF-16 when utf16):
    // in the buffer when they are all there, else in spill. Valid until the
    // next read.
    std::string_view takeTextBytes(std::string& spill, bool& utf16);
    // Those bytes as UTF-8, in the text store.
    SharedText storeText(std::string_view bytes, bool utf16);

    ArchiveReader(std::unique_ptr<ByteSource> source, const ArchiveReader& from);

    ByteSource* m_source;
    std::unique_ptr<ByteSource> m_ownSource; // a twin's
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    std::vector<std::uint8_t> m_entries; // index 0 stands for "no object"
    // The objects that back-references may yield, by number.
    std::unordered_map<std::uint32_t, void*> m_bound;
    TextStore m_texts;
    struct NameCache;
    std::unique_ptr<NameCache> m_names; // made at the first name
};

[[noreturn]] void throwTruncated();

} // namespace kv
