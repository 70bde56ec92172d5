// One line of a SIE file split into its label and fields: blanks and tabs
// separate the fields, a field with blanks stands in double quotes (a quote
// inside as \"), and an object list stands in braces ("{}" when empty).
#pragma once

#include "sie/SieChecksum.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The most fields a record, and items an object list, may have: real records
// have a handful, and the bound keeps what one line may make the reader take
// near the line's own size.
inline constexpr std::size_t kMaxSieFields = 64;
inline constexpr std::size_t kMaxSieListItems = 64;

struct SieField {
    std::string text;               // as the file's bytes hold it, quotes and escapes resolved
    bool list = false;              // an object list; its items follow
    std::vector<std::string> items; // the dimension and object numbers of a list, in order
};

struct SieRecord {
    std::string label; // "#KONTO", in capitals
    std::vector<SieField> fields;
};

enum class SieLineKind {
    Blank,      // nothing but blanks
    Record,     // a label and its fields
    OpenBlock,  // "{" of a voucher
    CloseBlock, // "}" of a voucher
    EndOfText,  // the end-of-file character of old DOS files (0x1A): nothing after it counts
};

// A line that cannot be split: the reason, in Swedish.
class SieLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Splits one line, without its line end, into record (whose storage is
// reused from line to line). Throws SieLineError.
SieLineKind splitSieLine(std::string_view line, SieRecord& record);

// Adds what the checksum covers of the record: its label and the contents
// of its fields and list items.
void addToChecksum(const SieRecord& record, SieChecksum& checksum);

} // namespace kv
