#include "archive/ArchiveNames.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace kv {

namespace {

// The two-byte UTF-8 Latin-1 letters folded to ASCII (lower case).
char foldedLatin1(unsigned char second) {
    // U+00C0..U+00FF, indexed by the code point less 0xC0.
    static constexpr std::string_view kFolded = "aaaaaaaceeeeiiiidnooooo-ouuuuyps"
                                                "aaaaaaaceeeeiiiidnooooo-ouuuuypy";
    if (second < 0x80 || second > 0xBF) {
        return '-';
    }
    return kFolded[second - 0x80u];
}

bool isAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

} // namespace

std::string foldedName(std::string_view utf8, bool keepDots) {
    std::string out;
    bool dash = false;
    auto put = [&](char c) {
        if (isAlnum(c) || (keepDots && c == '.')) {
            if (dash && !out.empty()) {
                out.push_back('-');
            }
            dash = false;
            out.push_back(c);
        } else {
            dash = true;
        }
    };
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            put(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
        } else if (c == 0xC3 && i + 1 < utf8.size()) {
            put(foldedLatin1(static_cast<unsigned char>(utf8[++i])));
        } else {
            // Any other character: skip its continuation bytes.
            while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0u) == 0x80u) {
                ++i;
            }
            put('-');
        }
    }
    // No leading or trailing dots: ".." or a hidden file cannot come of a name.
    while (!out.empty() && (out.front() == '.' || out.front() == '-')) {
        out.erase(out.begin());
    }
    while (!out.empty() && (out.back() == '.' || out.back() == '-')) {
        out.pop_back();
    }
    for (std::size_t at = out.find(".."); at != std::string::npos; at = out.find("..")) {
        out.erase(at, 1);
    }
    return out;
}

std::string attachmentEntryName(std::int32_t voucher, int running, std::string_view originalName) {
    std::string name = foldedName(originalName, true);
    if (name.empty()) {
        name = "underlag";
    }
    std::array<char, 32> number{};
    std::snprintf(number.data(), number.size(), "%04d-%d-", static_cast<int>(voucher), running);
    return "underlag/" + std::string(number.data()) + name;
}

std::string reportEntryName(std::string_view title) {
    return "rapporter/" + foldedName(title) + ".pdf";
}

bool isUnsafeEntryName(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string_view::npos) {
        return true;
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) {
            return true;
        }
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        if (name.substr(start, end - start) == "..") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

} // namespace kv
