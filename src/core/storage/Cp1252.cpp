#include "storage/Cp1252.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace kv {

namespace {

// Code points of the bytes 0x80 to 0x9F.
constexpr std::array<char32_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The UTF-8 form of each byte from 0x80 up.
struct Utf8Form {
    std::uint8_t size = 0;
    std::array<char, 3> bytes{};
};

constexpr std::array<Utf8Form, 128> kUtf8High = [] {
    std::array<Utf8Form, 128> forms{};
    for (std::size_t i = 0; i < forms.size(); ++i) {
        const char32_t cp = i < kHigh.size() ? kHigh[i] : static_cast<char32_t>(0x80 + i);
        Utf8Form& form = forms[i];
        if (cp < 0x800) {
            form.size = 2;
            form.bytes = {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F)), 0};
        } else {
            form.size = 3;
            form.bytes = {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                          static_cast<char>(0x80 | (cp & 0x3F))};
        }
    }
    return forms;
}();

// Writes the UTF-8 form of bytes at out, which has room for three bytes per
// byte; returns the end of what it wrote. Eight bytes at a time: a word is
// copied whole, and from its first byte above 127 on it is done again.
char* writeUtf8(std::string_view bytes, char* out) {
    const char* in = bytes.data();
    const char* const end = in + bytes.size();
    const auto writeHigh = [&out](unsigned char byte) {
        const Utf8Form& form = kUtf8High[byte - 0x80];
        std::memcpy(out, form.bytes.data(), form.bytes.size()); // within the room: 3 per byte
        out += form.size;
    };
    while (end - in >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, in, 8);
        std::memcpy(out, &word, 8); // within the room: at least 24 bytes are left
        const std::uint64_t high = word & 0x8080808080808080ULL;
        if (high == 0) {
            in += 8;
            out += 8;
            continue;
        }
        const auto ascii = static_cast<std::size_t>(std::countr_zero(high) / 8);
        in += ascii;
        out += ascii;
        writeHigh(static_cast<unsigned char>(*in++));
    }
    while (in < end) {
        const auto byte = static_cast<unsigned char>(*in++);
        if (byte < 0x80) {
            *out++ = static_cast<char>(byte);
        } else {
            writeHigh(byte);
        }
    }
    return out;
}

std::optional<unsigned char> toByte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<unsigned char>(cp);
    }
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == cp) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// Decodes one UTF-8 character at pos; returns false on malformed input.
bool decodeUtf8(std::string_view text, std::size_t& pos, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    if (lead < 0x80) {
        cp = lead;
        length = 1;
    } else if ((lead & 0xE0) == 0xC0) {
        cp = lead & 0x1F;
        length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        cp = lead & 0x0F;
        length = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        cp = lead & 0x07;
        length = 4;
    } else {
        return false;
    }
    if (pos + length > text.size()) {
        return false;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return false;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    constexpr std::array<char32_t, 5> kMinimum = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return false;
    }
    pos += length;
    return true;
}

} // namespace

bool isAsciiOnly(std::string_view bytes) noexcept {
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        if ((word & 0x8080808080808080ULL) != 0) {
            return false;
        }
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::string cp1252ToUtf8(std::string_view bytes) {
    if (isAsciiOnly(bytes)) {
        return std::string(bytes);
    }
    std::string out(bytes.size() * 3, '\0');
    out.resize(static_cast<std::size_t>(writeUtf8(bytes, out.data()) - out.data()));
    return out;
}

char* writeCp1252AsUtf8(std::string_view bytes, char* out) {
    return writeUtf8(bytes, out);
}

SharedText cp1252ToUtf8(std::string_view bytes, TextStore& store) {
    char* const room = store.reserve(bytes.size() * 3);
    return store.commit(static_cast<std::size_t>(writeUtf8(bytes, room) - room));
}

std::string utf16leToUtf8(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t unit =
            static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low =
                static_cast<unsigned char>(bytes[i + 2]) | (static_cast<unsigned char>(bytes[i + 3]) << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? char32_t{0xFFFD} : unit);
    }
    return out;
}

std::optional<std::string> utf8ToCp1252(std::string_view utf8) {
    std::string out(utf8.size(), '\0');
    const auto length = utf8ToCp1252(utf8, out.data());
    if (!length) {
        return std::nullopt;
    }
    out.resize(*length);
    return out;
}

std::optional<std::size_t> utf8ToCp1252(std::string_view utf8, char* out) {
    std::size_t written = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[pos]);
        if (lead < 0x80) {
            out[written++] = static_cast<char>(lead);
            ++pos;
            continue;
        }
        char32_t cp = 0;
        if (!decodeUtf8(utf8, pos, cp)) {
            return std::nullopt;
        }
        const auto byte = toByte(cp);
        if (!byte) {
            return std::nullopt;
        }
        out[written++] = static_cast<char>(*byte);
    }
    return written;
}

bool fitsCp1252(std::string_view utf8) {
    return firstUnstorableCharacter(utf8).empty();
}

std::string firstUnstorableCharacter(std::string_view utf8) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        char32_t cp = 0;
        if (!decodeUtf8(utf8, pos, cp)) {
            return "\xEF\xBF\xBD"; // U+FFFD stands for bytes that are not text
        }
        if (!toByte(cp)) {
            return std::string(utf8.substr(start, pos - start));
        }
    }
    return {};
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace kv
