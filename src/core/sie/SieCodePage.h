// The character sets of SIE files: code page 437 ("#FORMAT PC8", the only one
// the format names) and the two that files in the wild use while claiming
// it, Windows-1252 and UTF-8; which of them a file is written in; and the
// closest letters for characters that a character set cannot hold.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

enum class SieEncoding { Pc8, Windows1252, Utf8 };

// How a file's bytes are to be read: UTF-8 when they are valid UTF-8 with
// bytes above 127 (or start with its byte-order mark), Windows-1252 when the
// bytes of its Swedish letters outnumber those of code page 437, else code
// page 437.
SieEncoding detectSieEncoding(std::string_view bytes);

// A text of the file as UTF-8.
std::string decodeSieText(std::string_view bytes, SieEncoding encoding);

// A text of the file as the company files (Windows-1252) can store it:
// decoded, with each character they cannot hold replaced as storableText
// does; replaced counts the characters that had to change.
std::string readSieText(std::string_view bytes, SieEncoding encoding, std::size_t& replaced);

// A UTF-8 text in code page 437. Each character that the code page cannot
// hold becomes its closest letters, or "?"; replaced counts them.
std::string encodePc8(std::string_view utf8, std::size_t& replaced);

// A UTF-8 text that the company files (Windows-1252) can store, made the
// same way; replaced counts the characters that had to change.
std::string storableText(std::string_view utf8, std::size_t& replaced);

} // namespace kv
