// The values of a bank file's cells and elements: amounts to whole öre,
// straight from the digits, and dates in the forms Swedish and Finnish banks
// write them.
#pragma once

#include "bank/BankStatement.h"

#include <optional>
#include <string>
#include <string_view>

namespace kv {

// The largest amount a bank file may give, in öre: what a company may hold.
inline constexpr Ore kMaxBankOre = kMaxOre;

enum class DecimalMark : char { Comma = ',', Point = '.' };

// An amount as a bank writes it, in whole öre: digits with at most two
// decimals after the decimal mark; thousands grouped by blanks (also U+00A0
// and U+202F) or by the other mark ("1.234,50" with a decimal comma,
// "1,234.50" with a point), groups of three; a sign before it or a minus
// after it ("+12,50", "-12,50", "12,50-", also U+2212); "kr" or "SEK" after
// it. Nothing when the text is empty, is no such amount or is beyond
// kMaxBankOre. No binary floating point is used.
std::optional<Ore> parseBankAmount(std::string_view text, DecimalMark decimal);

// A date as 2026-03-31, 2026/03/31, 2026.03.31, 20260331 or 31.3.2026, and
// a time or a time zone after it ("2026-03-31T10:15:00+02:00",
// "2026-03-31 10:15", "2026-03-31+02:00", "2026-03-31Z") left aside: the
// date is the bank's day as written. Nothing when it is no such date or no
// day of the calendar.
std::optional<BankDate> parseBankDate(std::string_view text);

// What a payment reference is, by its check digits: a Swedish OCR number
// (2 to 25 digits, the last a mod 10 check digit), a Finnish reference number
// (viitenumero: 4 to 20 digits, the last checked with the weights 7, 3, 1),
// an RF creditor reference (ISO 11649: "RF", two check digits, up to 21
// letters and digits, mod 97), or none of them. Blanks are left out first.
enum class BankReferenceKind { None, Ocr, Finnish, Rf };
BankReferenceKind bankReferenceKind(std::string_view text);

// A reference as it is kept and compared: a checked reference without its
// blanks (a Finnish one also without the zeros banks pad it with in front, an
// RF one in capitals); any other text as it is.
std::string bankReferenceText(std::string_view text);

// The text without the blanks around it: ASCII white space, U+00A0, U+202F
// and U+2009 (UTF-8).
std::string_view trimBankText(std::string_view text);

} // namespace kv
