// How an internet bank's CSV export is laid out: its character set,
// separator and decimal mark, the row of column names and which column holds
// what. Detection finds it from the file; the user may give it instead
// (`--columns datum=3,text=5,belopp=7`), and it is kept per bank account as a
// short text (csvLayoutText, parseCsvLayoutText).
#pragma once

#include "bank/BankValues.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum class BankTextEncoding { Utf8, Windows1252, Utf16le };

// The fields a column can hold. Account is the bank's own account number,
// where an export repeats it on every row.
enum class CsvField { Date, ValueDate, Text, Counterpart, Reference, Amount, In, Out, Balance, Account };

// The field's name as the user writes it in a layout: "datum", "valutadag",
// "text", "motpart", "referens", "belopp", "in", "ut", "saldo", "konto".
std::string_view csvFieldName(CsvField field);

struct CsvLayout {
    // What the file itself shows; nothing: found from the file's bytes.
    std::optional<BankTextEncoding> encoding;
    std::optional<char> separator; // ';', ',' or '\t'
    std::optional<DecimalMark> decimal;
    // The record of column names (from 0), as detection found it. Without
    // it, the records before the first whose date column holds a date are
    // taken as the file's heading, so that a layout kept for an account fits
    // the next file too when its heading is a line longer or shorter.
    std::optional<std::size_t> headerRow;

    // The column of each field, from 0. A line's amount is `amount`, or
    // `in` less `out` where the bank has them apart.
    std::optional<std::size_t> date;
    std::optional<std::size_t> valueDate;
    std::optional<std::size_t> text;
    std::optional<std::size_t> counterpart;
    std::optional<std::size_t> reference;
    std::optional<std::size_t> amount;
    std::optional<std::size_t> in;
    std::optional<std::size_t> out;
    std::optional<std::size_t> balance;
    std::optional<std::size_t> account;

    [[nodiscard]] std::optional<std::size_t> column(CsvField field) const;
    std::optional<std::size_t>& column(CsvField field);

    // The fields a statement needs that have no column: the date, the text,
    // and the amount (or both in and out).
    [[nodiscard]] std::vector<CsvField> missingFields() const;

    bool operator==(const CsvLayout&) const = default;
};

// A layout read from the user's or the store's text, or why not (Swedish).
struct CsvLayoutParse {
    std::optional<CsvLayout> layout;
    std::string error;
};

// The columns as the command line takes them: "datum=1,text=3,belopp=5",
// comma-separated pairs of a field name and a column number from 1; also
// "referens", "valutadag", "motpart", "saldo", and "in" and "ut" in place
// of "belopp". Everything else of the layout is found from the file.
CsvLayoutParse parseCsvColumns(std::string_view text);

// The layout as a short text to keep, and back: the columns as above, and
// the character set, separator and decimal mark ("kodning=windows-1252,
// avgränsare=semikolon,decimal=komma") where they are known. The header row
// is not kept (see CsvLayout::headerRow).
std::string csvLayoutText(const CsvLayout& layout);
CsvLayoutParse parseCsvLayoutText(std::string_view text);

} // namespace kv
