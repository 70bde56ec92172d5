// How the files of a year's archive are named inside the zip: plain ASCII,
// lower case, so that any unpacking program on any system keeps the names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// "Alla konton / Råbalans" -> "alla-konton-rabalans": å, ä and ö folded to a
// and o (and the other accented Latin letters to their base letter), every
// other run of characters that are not letters or digits becomes one "-".
// Dots stay inside the name when keepDots (a file's own extension).
[[nodiscard]] std::string foldedName(std::string_view utf8, bool keepDots = false);

// "underlag/0012-1-kvitto.pdf": the voucher number in four digits (more when
// larger), the attachment's running number on the voucher, and its original
// name folded; an original name that folds to nothing becomes "underlag".
[[nodiscard]] std::string attachmentEntryName(std::int32_t voucher, int running,
                                              std::string_view originalName);

// "rapporter/grundbok-verifikat.pdf"
[[nodiscard]] std::string reportEntryName(std::string_view title);

// True for a name a careless unpacking program could write outside its
// folder: absolute, with "..", a backslash, a control character or empty.
[[nodiscard]] bool isUnsafeEntryName(std::string_view name);

} // namespace kv
