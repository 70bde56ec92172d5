#include "bank/BankValues.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace kv {

namespace {

// The length of the blank at the start of text (0 when none).
std::size_t blankAt(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) {
        return 0;
    }
    const char c = text[pos];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f') {
        return 1;
    }
    const std::string_view rest = text.substr(pos);
    if (rest.starts_with("\xC2\xA0")) {
        return 2; // U+00A0 no-break space
    }
    if (rest.starts_with("\xE2\x80\xAF") || rest.starts_with("\xE2\x80\x89")) {
        return 3; // U+202F narrow no-break space, U+2009 thin space
    }
    return 0;
}

// The length of the blank that ends text (0 when none).
std::size_t blankBefore(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    if (blankAt(text, text.size() - 1) == 1) {
        return 1;
    }
    if (text.size() >= 2 && blankAt(text, text.size() - 2) == 2) {
        return 2;
    }
    if (text.size() >= 3 && blankAt(text, text.size() - 3) == 3) {
        return 3;
    }
    return 0;
}

constexpr std::string_view kUnicodeMinus = "\xE2\x88\x92";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    const std::string_view tail = text.substr(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != suffix[i]) {
            return false;
        }
    }
    return true;
}

// Takes a sign off the front or the back of text; false when there are two.
bool takeSign(std::string_view& text, bool& negative) {
    bool signs = false;
    const auto take = [&](bool minus, std::size_t length, bool front) {
        if (signs) {
            return false;
        }
        signs = true;
        negative = minus;
        text = front ? text.substr(length) : text.substr(0, text.size() - length);
        text = trimBankText(text);
        return true;
    };
    if (text.starts_with('-') || text.starts_with('+')) {
        take(text.front() == '-', 1, true);
    } else if (text.starts_with(kUnicodeMinus)) {
        take(true, kUnicodeMinus.size(), true);
    }
    if (text.ends_with('-')) {
        return take(true, 1, false);
    }
    if (text.ends_with(kUnicodeMinus)) {
        return take(true, kUnicodeMinus.size(), false);
    }
    return true;
}

bool leapYear(std::int32_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

std::int32_t daysInMonth(std::int32_t year, std::int32_t month) {
    constexpr std::array<std::int32_t, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : days[static_cast<std::size_t>(month - 1)];
}

// Reads min..max digits at pos into value.
bool readNumber(std::string_view text, std::size_t& pos, std::size_t min, std::size_t max,
                std::int32_t& value) {
    value = 0;
    std::size_t count = 0;
    while (pos < text.size() && isDigit(text[pos]) && count < max) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++count;
    }
    return count >= min && (pos >= text.size() || !isDigit(text[pos]));
}

std::optional<BankDate> checkedDate(std::int32_t year, std::int32_t month, std::int32_t day) {
    if (year < 1900 || year > 2999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) {
        return std::nullopt;
    }
    return BankDate{year, month, day};
}

// A time zone as xs:date writes it after a date: "Z", or "+02:00" / "-05:00".
bool isTimeZone(std::string_view text) {
    if (text == "Z") {
        return true;
    }
    return text.size() == 6 && (text[0] == '+' || text[0] == '-') && isDigit(text[1]) && isDigit(text[2]) &&
           text[3] == ':' && isDigit(text[4]) && isDigit(text[5]);
}

// After a date: nothing, a time zone (the date is the bank's, as written),
// or a time (a blank or "T", then a digit).
bool onlyTimeAfter(std::string_view text, std::size_t pos) {
    if (pos == text.size() || isTimeZone(text.substr(pos))) {
        return true;
    }
    return (text[pos] == 'T' || text[pos] == ' ') && pos + 1 < text.size() && isDigit(text[pos + 1]);
}

} // namespace

std::string_view trimBankText(std::string_view text) {
    while (const std::size_t length = blankAt(text, 0)) {
        text.remove_prefix(length);
    }
    while (const std::size_t length = blankBefore(text)) {
        text.remove_suffix(length);
    }
    return text;
}

std::optional<Ore> parseBankAmount(std::string_view text, DecimalMark decimal) {
    text = trimBankText(text);
    for (const std::string_view currency : {"kr", "sek"}) {
        if (endsWithNoCase(text, currency)) {
            text = trimBankText(text.substr(0, text.size() - currency.size()));
            break;
        }
    }
    bool negative = false;
    if (!takeSign(text, negative) || text.empty()) {
        return std::nullopt;
    }
    const char mark = static_cast<char>(decimal);
    const char otherMark = decimal == DecimalMark::Comma ? '.' : ',';

    Ore kronor = 0;
    std::size_t pos = 0;
    std::size_t groupDigits = 0; // digits since the start or the last separator
    std::size_t groups = 0;      // separators passed
    bool anyDigit = false;
    while (pos < text.size() && text[pos] != mark) {
        const char c = text[pos];
        if (isDigit(c)) {
            if (kronor > kMaxBankOre / 100) {
                return std::nullopt;
            }
            kronor = kronor * 10 + (c - '0');
            ++groupDigits;
            anyDigit = true;
            ++pos;
            continue;
        }
        const std::size_t blank = blankAt(text, pos);
        if (blank == 0 && c != otherMark) {
            return std::nullopt;
        }
        // A thousands separator: after one to three digits, or after exactly three.
        if (groupDigits == 0 || groupDigits > 3 || (groups > 0 && groupDigits != 3)) {
            return std::nullopt;
        }
        ++groups;
        groupDigits = 0;
        pos += blank == 0 ? 1 : blank;
    }
    if (groups > 0 && groupDigits != 3) {
        return std::nullopt;
    }
    Ore ore = 0;
    if (pos < text.size()) { // the decimal mark
        ++pos;
        const std::size_t decimals = text.size() - pos;
        if (decimals == 0 || decimals > 2) {
            return std::nullopt;
        }
        for (std::size_t i = 0; i < decimals; ++i) {
            if (!isDigit(text[pos + i])) {
                return std::nullopt;
            }
            ore = ore * 10 + (text[pos + i] - '0');
        }
        if (decimals == 1) {
            ore *= 10;
        }
        anyDigit = true;
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    const Ore total = kronor * 100 + ore;
    if (total > kMaxBankOre) {
        return std::nullopt;
    }
    return negative ? -total : total;
}

std::optional<BankDate> parseBankDate(std::string_view text) {
    text = trimBankText(text);
    std::size_t pos = 0;
    std::int32_t first = 0;
    if (!readNumber(text, pos, 1, 8, first)) {
        return std::nullopt;
    }
    const std::size_t firstDigits = pos;
    if (firstDigits == 8) { // 20260331
        return onlyTimeAfter(text, pos) ? checkedDate(first / 10000, first / 100 % 100, first % 100)
                                        : std::nullopt;
    }
    if (pos >= text.size()) {
        return std::nullopt;
    }
    const char separator = text[pos];
    if (separator != '-' && separator != '/' && separator != '.') {
        return std::nullopt;
    }
    std::int32_t second = 0;
    std::int32_t third = 0;
    ++pos;
    if (!readNumber(text, pos, 1, 2, second) || pos >= text.size() || text[pos] != separator) {
        return std::nullopt;
    }
    ++pos;
    if (firstDigits == 4) { // year first
        if (!readNumber(text, pos, 1, 2, third) || !onlyTimeAfter(text, pos)) {
            return std::nullopt;
        }
        return checkedDate(first, second, third);
    }
    // Day first: only with points (31.3.2026), as Finnish banks write it.
    if (firstDigits > 2 || separator != '.' || !readNumber(text, pos, 4, 4, third) ||
        !onlyTimeAfter(text, pos)) {
        return std::nullopt;
    }
    return checkedDate(third, second, first);
}

namespace {

// The text without any blank (a bank groups a reference's digits).
std::string withoutBlanks(std::string_view text) {
    std::string compact;
    for (std::size_t pos = 0; pos < text.size();) {
        if (const std::size_t blank = blankAt(text, pos)) {
            pos += blank;
        } else {
            compact += text[pos++];
        }
    }
    return compact;
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

// The mod 10 check of Swedish OCR numbers: every second digit from the right doubled.
bool ocrChecks(std::string_view digits) {
    int sum = 0;
    bool doubled = false;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        int digit = *it - '0';
        if (doubled) {
            digit *= 2;
            digit = digit > 9 ? digit - 9 : digit;
        }
        sum += digit;
        doubled = !doubled;
    }
    return sum % 10 == 0;
}

// The Finnish check: the digits before the last, from the right, weighted 7, 3, 1.
bool finnishChecks(std::string_view digits) {
    static constexpr int kWeights[] = {7, 3, 1};
    int sum = 0;
    std::size_t weight = 0;
    for (std::size_t i = digits.size() - 1; i-- > 0;) {
        sum += (digits[i] - '0') * kWeights[weight++ % 3];
    }
    return (10 - sum % 10) % 10 == digits.back() - '0';
}

// ISO 11649: the four first characters moved last, letters as 10 to 35, mod 97 is 1.
bool rfChecks(const std::string& reference) {
    const std::string moved = reference.substr(4) + reference.substr(0, 4);
    int remainder = 0;
    for (const char c : moved) {
        const int value = isDigit(c) ? c - '0' : c - 'A' + 10;
        remainder = (value >= 10 ? remainder * 100 : remainder * 10) + value;
        remainder %= 97;
    }
    return remainder == 1;
}

std::string upper(std::string text) {
    for (char& c : text) {
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return text;
}

} // namespace

BankReferenceKind bankReferenceKind(std::string_view text) {
    const std::string compact = upper(withoutBlanks(text));
    if (compact.size() >= 5 && compact.size() <= 25 && compact.starts_with("RF") && isDigit(compact[2]) &&
        isDigit(compact[3]) &&
        std::all_of(compact.begin() + 4, compact.end(),
                    [](char c) { return isDigit(c) || (c >= 'A' && c <= 'Z'); }) &&
        rfChecks(compact)) {
        return BankReferenceKind::Rf;
    }
    if (!allDigits(compact)) {
        return BankReferenceKind::None;
    }
    const std::string_view significant =
        std::string_view(compact).substr(std::min(compact.find_first_not_of('0'), compact.size()));
    if (significant.size() >= 4 && significant.size() <= 20 && finnishChecks(significant)) {
        return BankReferenceKind::Finnish;
    }
    if (compact.size() >= 2 && compact.size() <= 25 && ocrChecks(compact)) {
        return BankReferenceKind::Ocr;
    }
    return BankReferenceKind::None;
}

std::string bankReferenceText(std::string_view text) {
    const std::string compact = upper(withoutBlanks(text));
    switch (bankReferenceKind(text)) {
    case BankReferenceKind::Rf:
    case BankReferenceKind::Ocr:
        return compact;
    case BankReferenceKind::Finnish:
        return compact.substr(compact.find_first_not_of('0'));
    case BankReferenceKind::None:
        break;
    }
    return std::string(trimBankText(text));
}

} // namespace kv
