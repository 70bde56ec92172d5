#include "sie/SieCodePage.h"

#include "storage/Cp1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace kv {

namespace {

// Code points of the bytes 0x80 to 0xFF of code page 437.
constexpr std::array<char32_t, 128> kPc8High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

struct Closest {
    char32_t from;
    const char* to;
};

// The closest letters of characters with accents, strokes and ligatures,
// and of typographic signs; sorted by code point.
constexpr Closest kClosest[] = {
    {0x00A0, " "},   {0x00A8, "\""}, {0x00A9, "(c)"}, {0x00AE, "(R)"}, {0x00AF, "-"},  {0x00B4, "'"},
    {0x00B8, ","},   {0x00C0, "A"},  {0x00C1, "A"},   {0x00C2, "A"},   {0x00C3, "A"},  {0x00C4, "A"},
    {0x00C5, "A"},   {0x00C6, "AE"}, {0x00C7, "C"},   {0x00C8, "E"},   {0x00C9, "E"},  {0x00CA, "E"},
    {0x00CB, "E"},   {0x00CC, "I"},  {0x00CD, "I"},   {0x00CE, "I"},   {0x00CF, "I"},  {0x00D0, "D"},
    {0x00D1, "N"},   {0x00D2, "O"},  {0x00D3, "O"},   {0x00D4, "O"},   {0x00D5, "O"},  {0x00D6, "O"},
    {0x00D7, "x"},   {0x00D8, "O"},  {0x00D9, "U"},   {0x00DA, "U"},   {0x00DB, "U"},  {0x00DC, "U"},
    {0x00DD, "Y"},   {0x00DE, "Th"}, {0x00DF, "ss"},  {0x00E0, "a"},   {0x00E1, "a"},  {0x00E2, "a"},
    {0x00E3, "a"},   {0x00E4, "a"},  {0x00E5, "a"},   {0x00E6, "ae"},  {0x00E7, "c"},  {0x00E8, "e"},
    {0x00E9, "e"},   {0x00EA, "e"},  {0x00EB, "e"},   {0x00EC, "i"},   {0x00ED, "i"},  {0x00EE, "i"},
    {0x00EF, "i"},   {0x00F0, "d"},  {0x00F1, "n"},   {0x00F2, "o"},   {0x00F3, "o"},  {0x00F4, "o"},
    {0x00F5, "o"},   {0x00F6, "o"},  {0x00F8, "o"},   {0x00F9, "u"},   {0x00FA, "u"},  {0x00FB, "u"},
    {0x00FC, "u"},   {0x00FD, "y"},  {0x00FE, "th"},  {0x00FF, "y"},   {0x0100, "A"},  {0x0101, "a"},
    {0x0102, "A"},   {0x0103, "a"},  {0x0104, "A"},   {0x0105, "a"},   {0x0106, "C"},  {0x0107, "c"},
    {0x0108, "C"},   {0x0109, "c"},  {0x010A, "C"},   {0x010B, "c"},   {0x010C, "C"},  {0x010D, "c"},
    {0x010E, "D"},   {0x010F, "d"},  {0x0110, "D"},   {0x0111, "d"},   {0x0112, "E"},  {0x0113, "e"},
    {0x0114, "E"},   {0x0115, "e"},  {0x0116, "E"},   {0x0117, "e"},   {0x0118, "E"},  {0x0119, "e"},
    {0x011A, "E"},   {0x011B, "e"},  {0x011C, "G"},   {0x011D, "g"},   {0x011E, "G"},  {0x011F, "g"},
    {0x0120, "G"},   {0x0121, "g"},  {0x0122, "G"},   {0x0123, "g"},   {0x0124, "H"},  {0x0125, "h"},
    {0x0126, "H"},   {0x0127, "h"},  {0x0128, "I"},   {0x0129, "i"},   {0x012A, "I"},  {0x012B, "i"},
    {0x012C, "I"},   {0x012D, "i"},  {0x012E, "I"},   {0x012F, "i"},   {0x0130, "I"},  {0x0131, "i"},
    {0x0134, "J"},   {0x0135, "j"},  {0x0136, "K"},   {0x0137, "k"},   {0x0139, "L"},  {0x013A, "l"},
    {0x013B, "L"},   {0x013C, "l"},  {0x013D, "L"},   {0x013E, "l"},   {0x0141, "L"},  {0x0142, "l"},
    {0x0143, "N"},   {0x0144, "n"},  {0x0145, "N"},   {0x0146, "n"},   {0x0147, "N"},  {0x0148, "n"},
    {0x014C, "O"},   {0x014D, "o"},  {0x014E, "O"},   {0x014F, "o"},   {0x0150, "O"},  {0x0151, "o"},
    {0x0152, "OE"},  {0x0153, "oe"}, {0x0154, "R"},   {0x0155, "r"},   {0x0156, "R"},  {0x0157, "r"},
    {0x0158, "R"},   {0x0159, "r"},  {0x015A, "S"},   {0x015B, "s"},   {0x015C, "S"},  {0x015D, "s"},
    {0x015E, "S"},   {0x015F, "s"},  {0x0160, "S"},   {0x0161, "s"},   {0x0162, "T"},  {0x0163, "t"},
    {0x0164, "T"},   {0x0165, "t"},  {0x0166, "T"},   {0x0167, "t"},   {0x0168, "U"},  {0x0169, "u"},
    {0x016A, "U"},   {0x016B, "u"},  {0x016C, "U"},   {0x016D, "u"},   {0x016E, "U"},  {0x016F, "u"},
    {0x0170, "U"},   {0x0171, "u"},  {0x0172, "U"},   {0x0173, "u"},   {0x0174, "W"},  {0x0175, "w"},
    {0x0176, "Y"},   {0x0177, "y"},  {0x0178, "Y"},   {0x0179, "Z"},   {0x017A, "z"},  {0x017B, "Z"},
    {0x017C, "z"},   {0x017D, "Z"},  {0x017E, "z"},   {0x01A0, "O"},   {0x01A1, "o"},  {0x01AF, "U"},
    {0x01B0, "u"},   {0x01CD, "A"},  {0x01CE, "a"},   {0x01CF, "I"},   {0x01D0, "i"},  {0x01D1, "O"},
    {0x01D2, "o"},   {0x01D3, "U"},  {0x01D4, "u"},   {0x01D5, "U"},   {0x01D6, "u"},  {0x01D7, "U"},
    {0x01D8, "u"},   {0x01D9, "U"},  {0x01DA, "u"},   {0x01DB, "U"},   {0x01DC, "u"},  {0x01DE, "A"},
    {0x01DF, "a"},   {0x01E0, "A"},  {0x01E1, "a"},   {0x01E6, "G"},   {0x01E7, "g"},  {0x01E8, "K"},
    {0x01E9, "k"},   {0x01EA, "O"},  {0x01EB, "o"},   {0x01EC, "O"},   {0x01ED, "o"},  {0x01F0, "j"},
    {0x01F4, "G"},   {0x01F5, "g"},  {0x01F8, "N"},   {0x01F9, "n"},   {0x01FA, "A"},  {0x01FB, "a"},
    {0x0200, "A"},   {0x0201, "a"},  {0x0202, "A"},   {0x0203, "a"},   {0x0204, "E"},  {0x0205, "e"},
    {0x0206, "E"},   {0x0207, "e"},  {0x0208, "I"},   {0x0209, "i"},   {0x020A, "I"},  {0x020B, "i"},
    {0x020C, "O"},   {0x020D, "o"},  {0x020E, "O"},   {0x020F, "o"},   {0x0210, "R"},  {0x0211, "r"},
    {0x0212, "R"},   {0x0213, "r"},  {0x0214, "U"},   {0x0215, "u"},   {0x0216, "U"},  {0x0217, "u"},
    {0x0218, "S"},   {0x0219, "s"},  {0x021A, "T"},   {0x021B, "t"},   {0x021E, "H"},  {0x021F, "h"},
    {0x0226, "A"},   {0x0227, "a"},  {0x0228, "E"},   {0x0229, "e"},   {0x022A, "O"},  {0x022B, "o"},
    {0x022C, "O"},   {0x022D, "o"},  {0x022E, "O"},   {0x022F, "o"},   {0x0230, "O"},  {0x0231, "o"},
    {0x0232, "Y"},   {0x0233, "y"},  {0x02C6, "^"},   {0x02DC, "~"},   {0x2013, "-"},  {0x2014, "-"},
    {0x2018, "'"},   {0x2019, "'"},  {0x201A, "'"},   {0x201B, "'"},   {0x201C, "\""}, {0x201D, "\""},
    {0x201E, "\""},  {0x2022, "*"},  {0x2026, "..."}, {0x2030, "%"},   {0x2039, "<"},  {0x203A, ">"},
    {0x20AC, "EUR"}, {0x2122, "TM"},
};

const char* closestLetters(char32_t cp) {
    const auto found =
        std::lower_bound(std::begin(kClosest), std::end(kClosest), cp,
                         [](const Closest& entry, char32_t value) { return entry.from < value; });
    return found != std::end(kClosest) && found->from == cp ? found->to : nullptr;
}

// The length of the valid UTF-8 character at pos, or 0 when it is not one.
std::size_t utf8Length(std::string_view text, std::size_t pos, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        cp = lead & 0x1Fu;
        length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        cp = lead & 0x0Fu;
        length = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        cp = lead & 0x07u;
        length = 4;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (next & 0x3Fu);
    }
    constexpr std::array<char32_t, 5> kMinimum = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return length;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The Swedish letters, the letters that tell the two one-byte sets apart.
constexpr std::array<unsigned char, 10> kPc8Letters = {0x86, 0x84, 0x94, 0x8F, 0x8E,
                                                       0x99, 0x82, 0x90, 0x81, 0x9A};
constexpr std::array<unsigned char, 10> k1252Letters = {0xE5, 0xE4, 0xF6, 0xC5, 0xC4,
                                                        0xD6, 0xE9, 0xC9, 0xFC, 0xDC};

bool validUtf8(std::string_view bytes) {
    char32_t cp = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = utf8Length(bytes, pos, cp);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::optional<unsigned char> pc8Byte(char32_t cp) {
    if (cp < 0x80) {
        return static_cast<unsigned char>(cp);
    }
    const auto found = std::find(kPc8High.begin(), kPc8High.end(), cp);
    if (found == kPc8High.end()) {
        return std::nullopt;
    }
    return static_cast<unsigned char>(0x80 + (found - kPc8High.begin()));
}

// Rewrites each character that fits() refuses as its closest letters, or "?".
template <typename Fits> std::string replaceUnfit(std::string_view utf8, std::size_t& replaced, Fits fits) {
    std::string out;
    out.reserve(utf8.size());
    char32_t cp = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t length = utf8Length(utf8, pos, cp);
        if (length == 0) {
            out.push_back('?');
            ++replaced;
            ++pos;
            continue;
        }
        if (fits(cp)) {
            out.append(utf8.substr(pos, length));
        } else {
            const char* closest = closestLetters(cp);
            const bool usable = closest != nullptr && isAscii(closest);
            out += usable ? closest : "?";
            ++replaced;
        }
        pos += length;
    }
    return out;
}

} // namespace

SieEncoding detectSieEncoding(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return SieEncoding::Utf8;
    }
    if (isAscii(bytes)) {
        return SieEncoding::Pc8;
    }
    if (validUtf8(bytes)) {
        return SieEncoding::Utf8;
    }
    std::array<std::size_t, 256> counts{};
    for (const char c : bytes) {
        ++counts[static_cast<unsigned char>(c)];
    }
    std::size_t pc8 = 0;
    std::size_t windows = 0;
    for (std::size_t i = 0; i < kPc8Letters.size(); ++i) {
        pc8 += counts[kPc8Letters[i]];
        windows += counts[k1252Letters[i]];
    }
    return windows > pc8 ? SieEncoding::Windows1252 : SieEncoding::Pc8;
}

std::string decodeSieText(std::string_view bytes, SieEncoding encoding) {
    std::string out;
    if (encoding == SieEncoding::Windows1252) {
        out = cp1252ToUtf8(bytes);
    } else if (encoding == SieEncoding::Utf8) {
        out.assign(bytes);
    } else {
        out.reserve(bytes.size());
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) {
                out.push_back(c);
            } else {
                appendUtf8(out, kPc8High[byte - 0x80]);
            }
        }
    }
    // A control character has no place in a name or a text.
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return out;
}

std::string readSieText(std::string_view bytes, SieEncoding encoding, std::size_t& replaced) {
    std::string text = decodeSieText(bytes, encoding);
    switch (encoding) {
    case SieEncoding::Windows1252:
        return text; // every byte is a character the company files hold
    case SieEncoding::Pc8: {
        // Only the letters of Latin-1 (and ƒ) of code page 437 are in Windows-1252.
        const bool storable = std::all_of(bytes.begin(), bytes.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            const char32_t cp = byte < 0x80 ? byte : kPc8High[byte - 0x80];
            return cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF) || cp == 0x0192;
        });
        return storable ? text : storableText(text, replaced);
    }
    case SieEncoding::Utf8:
        break;
    }
    return storableText(text, replaced);
}

std::string encodePc8(std::string_view utf8, std::size_t& replaced) {
    if (isAscii(utf8)) {
        return std::string(utf8);
    }
    const std::string fitting =
        replaceUnfit(utf8, replaced, [](char32_t cp) { return pc8Byte(cp).has_value(); });
    std::string out;
    out.reserve(fitting.size());
    char32_t cp = 0;
    for (std::size_t pos = 0; pos < fitting.size();) {
        const std::size_t length = utf8Length(fitting, pos, cp);
        out.push_back(static_cast<char>(*pc8Byte(cp)));
        pos += length;
    }
    return out;
}

std::string storableText(std::string_view utf8, std::size_t& replaced) {
    if (isAscii(utf8) || fitsCp1252(utf8)) {
        return std::string(utf8);
    }
    return replaceUnfit(utf8, replaced, [](char32_t cp) {
        std::string one;
        appendUtf8(one, cp);
        return fitsCp1252(one);
    });
}

} // namespace kv
