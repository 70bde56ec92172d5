// Windows-1252, the encoding of every text in the company files. The five
// byte values that Windows-1252 leaves undefined map to the C1 control
// characters of the same value, so that every byte survives a round trip.
#pragma once

#include "model/SharedText.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

std::string cp1252ToUtf8(std::string_view bytes);
// The same, put in store (the way the archive reader keeps the texts of the books).
SharedText cp1252ToUtf8(std::string_view bytes, TextStore& store);
// Writes the bytes as UTF-8 at out, which has room for three bytes for each
// (and at least 24); returns the end of what it wrote.
char* writeCp1252AsUtf8(std::string_view bytes, char* out);

// True when every byte is below 128: the text is the same in both encodings.
bool isAsciiOnly(std::string_view bytes) noexcept;

// Appends the UTF-8 form of the code point cp to out.
void appendUtf8(std::string& out, char32_t cp);

// Appends the UTF-8 form of one UTF-16 code unit sequence (little-endian
// bytes); unpaired surrogates become U+FFFD.
std::string utf16leToUtf8(std::string_view bytes);

// The Windows-1252 bytes of a UTF-8 text, or nothing when the text holds a
// character that Windows-1252 cannot hold or is not valid UTF-8.
std::optional<std::string> utf8ToCp1252(std::string_view utf8);

// The same into out, which must have room for utf8.size() bytes (the
// Windows-1252 form is never longer); returns the number of bytes written.
// Lets the archive writer encode straight into its buffer.
std::optional<std::size_t> utf8ToCp1252(std::string_view utf8, char* out);

// True when every character of the UTF-8 text can be stored.
bool fitsCp1252(std::string_view utf8);

// The first character that cannot be stored, as UTF-8, or empty when all can.
std::string firstUnstorableCharacter(std::string_view utf8);

} // namespace kv
