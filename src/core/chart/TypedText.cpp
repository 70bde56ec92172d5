#include "chart/TypedText.h"

#include "storage/Cp1252.h"

#include <algorithm>

namespace kv {

std::vector<std::string> utf8Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = i + 1;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
            ++end;
        }
        characters.push_back(text.substr(i, end - i));
        i = end;
    }
    return characters;
}

bool onlyDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool hasBlank(const std::string& text) {
    return text.find_first_of(" \t") != std::string::npos;
}

std::optional<std::string> unstorableTextMessage(const std::string& text) {
    if (fitsCp1252(text)) {
        return std::nullopt;
    }
    const std::string character = firstUnstorableCharacter(text);
    if (character.empty()) {
        return std::string(
            "Texten innehåller tecken som inte kan sparas i företagets filer. Skriv om texten.");
    }
    return "Tecknet \"" + character + "\" kan inte sparas i företagets filer. Skriv texten utan det tecknet.";
}

} // namespace kv
