#include "bank/CsvBankReader.h"

#include "storage/Cp1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <utility>

namespace kv {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16leBom = "\xFF\xFE";

// Detection looks at this much of the text and this many records.
constexpr std::size_t kDetectionBytes = 64 * 1024;
constexpr std::size_t kDetectionRecords = 40;
constexpr std::size_t kDialogRecords = 12;

// The length of the valid UTF-8 sequence at pos, or 0.
std::size_t utf8SequenceAt(std::string_view bytes, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    std::uint32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
    } else {
        return 0;
    }
    if (pos + length > bytes.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0u) != 0x80u) {
            return 0;
        }
        cp = (cp << 6) | (byte(pos + i) & 0x3Fu);
    }
    const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return length;
}

bool validUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = utf8SequenceAt(bytes, pos);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

// ---- Column names ----

// A header cell as compared: lower case (ASCII and the Nordic letters),
// blanks collapsed, a currency after the name dropped ("Belopp SEK",
// "Saldo (kr)").
std::string headerKey(std::string_view cell) {
    std::string key;
    bool blank = false;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        const char c = cell[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '_') {
            blank = !key.empty();
            continue;
        }
        if (blank) {
            key += ' ';
            blank = false;
        }
        if (c >= 'A' && c <= 'Z') {
            key += static_cast<char>(c - 'A' + 'a');
        } else if (const unsigned char next =
                       i + 1 < cell.size() ? static_cast<unsigned char>(cell[i + 1]) : 0;
                   c == '\xC3' && next >= 0x80 && next <= 0x9E && next != 0x97) {
            key += c; // Å Ä Ö É and the other capitals of Latin-1 (not ×) to their small letters
            key += static_cast<char>(next + 0x20);
            ++i;
        } else {
            key += c;
        }
    }
    while (!key.empty() && key.back() == ':') {
        key.pop_back();
    }
    for (const std::string_view suffix :
         {" (sek)", " sek", " (kr)", " kr", " (eur)", " eur", " euroa", " €"}) {
        if (key.size() > suffix.size() && key.ends_with(suffix)) {
            key.resize(key.size() - suffix.size());
            break;
        }
    }
    return key;
}

struct HeaderName {
    std::string_view key;
    CsvField field;
};

// In order of preference within a field: the booking date before the
// transaction date, a text before a name; the Finnish banks' names after
// the Swedish.
constexpr std::array<HeaderName, 67> kHeaderNames = {{
    {"bokföringsdag", CsvField::Date},
    {"bokföringsdatum", CsvField::Date},
    {"bokförd", CsvField::Date},
    {"bokförd dag", CsvField::Date},
    {"datum", CsvField::Date},
    {"reskontradatum", CsvField::Date},
    {"transaktionsdatum", CsvField::Date},
    {"transaktionsdag", CsvField::Date},
    {"betalningsdag", CsvField::Date},
    {"kirjauspäivä", CsvField::Date},
    {"tapahtumapäivä", CsvField::Date},
    {"maksupäivä", CsvField::Date},
    {"päivämäärä", CsvField::Date},
    {"valutadag", CsvField::ValueDate},
    {"valutadatum", CsvField::ValueDate},
    {"arvopäivä", CsvField::ValueDate},
    {"text", CsvField::Text},
    {"beskrivning", CsvField::Text},
    {"rubrik", CsvField::Text},
    {"specifikation", CsvField::Text},
    {"transaktion", CsvField::Text},
    {"transaktionstext", CsvField::Text},
    {"transaktionstyp", CsvField::Text},
    {"selitys", CsvField::Text},
    {"viesti", CsvField::Text},
    {"tapahtuma", CsvField::Text},
    {"mottagare", CsvField::Counterpart},
    {"namn", CsvField::Counterpart},
    {"avsändare", CsvField::Counterpart},
    {"betalare", CsvField::Counterpart},
    {"motpart", CsvField::Counterpart},
    {"saaja/maksaja", CsvField::Counterpart},
    {"maksaja/saaja", CsvField::Counterpart},
    {"saaja", CsvField::Counterpart},
    {"maksaja", CsvField::Counterpart},
    {"saajan nimi", CsvField::Counterpart},
    {"nimi", CsvField::Counterpart},
    {"referens", CsvField::Reference},
    {"ocr", CsvField::Reference},
    {"ocr-nummer", CsvField::Reference},
    {"referensnummer", CsvField::Reference},
    {"meddelande", CsvField::Reference},
    {"viite", CsvField::Reference},
    {"viitenumero", CsvField::Reference},
    {"belopp", CsvField::Amount},
    {"summa", CsvField::Amount},
    {"transaktionsbelopp", CsvField::Amount},
    {"määrä", CsvField::Amount},
    {"in", CsvField::In},
    {"insättning", CsvField::In},
    {"insättningar", CsvField::In},
    {"inbetalning", CsvField::In},
    {"kredit", CsvField::In},
    {"ut", CsvField::Out},
    {"uttag", CsvField::Out},
    {"utbetalning", CsvField::Out},
    {"debet", CsvField::Out},
    {"saldo", CsvField::Balance},
    {"bokfört saldo", CsvField::Balance},
    {"behållning", CsvField::Balance},
    {"saldo efter transaktion", CsvField::Balance},
    {"kontonummer", CsvField::Account},
    {"konto", CsvField::Account},
    {"iban", CsvField::Account},
    {"tilinumero", CsvField::Account},
    {"oma tili", CsvField::Account},
    {"oma tilinumero", CsvField::Account},
}};

// The UTF-8 of the replacement character: a letter a file's encoding lost.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// True when key is name, a letter outside ASCII of name (å ä ö) perhaps
// lost on the way as the replacement character ("kirjausp\uFFFDiv\uFFFD").
bool sameName(std::string_view key, std::string_view name) {
    std::size_t k = 0;
    std::size_t n = 0;
    while (k < key.size() && n < name.size()) {
        const bool nameWide = static_cast<unsigned char>(name[n]) >= 0xC0 && n + 1 < name.size();
        if (nameWide && key.substr(k, kReplacement.size()) == kReplacement) {
            k += kReplacement.size();
            n += 2;
        } else if (key[k] == name[n]) {
            ++k;
            ++n;
        } else {
            return false;
        }
    }
    return k == key.size() && n == name.size();
}

// The columns a record of names gives, and how many it names.
struct HeaderMatch {
    CsvLayout layout;
    std::size_t named = 0;
};

HeaderMatch matchHeader(const CsvRecord& record) {
    HeaderMatch match;
    std::map<CsvField, std::size_t> rankOf;
    for (std::size_t column = 0; column < record.fields.size(); ++column) {
        const std::string key = headerKey(record.fields[column]);
        for (std::size_t rank = 0; rank < kHeaderNames.size(); ++rank) {
            if (!sameName(key, kHeaderNames[rank].key)) {
                continue;
            }
            const CsvField field = kHeaderNames[rank].field;
            const auto known = rankOf.find(field);
            if (known == rankOf.end() || rank < known->second) {
                rankOf[field] = rank;
                match.layout.column(field) = column;
            }
            break;
        }
    }
    // A name and no text: the name is the text.
    if (!match.layout.text && match.layout.counterpart) {
        std::swap(match.layout.text, match.layout.counterpart);
    }
    if (match.layout.amount) {
        match.layout.in.reset();
        match.layout.out.reset();
    }
    match.named = rankOf.size();
    return match;
}

// A header row: names the date and the amount (or in and out).
bool namesStatement(const CsvLayout& layout) {
    return layout.date && (layout.amount || (layout.in && layout.out));
}

struct SeparatorChoice {
    char separator = ';';
    std::optional<std::size_t> headerRow;
    HeaderMatch header;
};

SeparatorChoice chooseSeparator(std::string_view text, const std::optional<char>& given) {
    const std::string_view head = text.substr(0, std::min(text.size(), kDetectionBytes));
    std::vector<char> candidates = {';', '\t', ','};
    if (given) {
        candidates = {*given};
    }
    std::optional<SeparatorChoice> best;
    for (const char separator : candidates) {
        const std::vector<CsvRecord> records = splitCsv(head, separator, kDetectionRecords);
        for (std::size_t row = 0; row < records.size(); ++row) {
            HeaderMatch match = matchHeader(records[row]);
            if (!namesStatement(match.layout)) {
                continue;
            }
            if (!best || match.named > best->header.named) {
                best = SeparatorChoice{separator, row, std::move(match)};
            }
            break;
        }
    }
    if (best) {
        return *best;
    }
    // No names: the separator that gives most records the same number of fields.
    SeparatorChoice choice{candidates.front(), std::nullopt, {}};
    std::size_t bestCount = 0;
    for (const char separator : candidates) {
        std::map<std::size_t, std::size_t> counts;
        for (const CsvRecord& record : splitCsv(head, separator, kDetectionRecords)) {
            if (record.fields.size() > 1) {
                ++counts[record.fields.size()];
            }
        }
        for (const auto& [fields, count] : counts) {
            if (count > bestCount) {
                bestCount = count;
                choice.separator = separator;
            }
        }
    }
    return choice;
}

// The decimal mark the amounts of the data rows show; a comma when they show none.
DecimalMark chooseDecimal(const std::vector<CsvRecord>& records, std::size_t firstData,
                          const CsvLayout& layout) {
    std::size_t comma = 0;
    std::size_t point = 0;
    for (std::size_t row = firstData; row < records.size(); ++row) {
        for (const CsvField field : {CsvField::Amount, CsvField::In, CsvField::Out, CsvField::Balance}) {
            const auto column = layout.column(field);
            if (!column || *column >= records[row].fields.size()) {
                continue;
            }
            std::string_view value = trimBankText(records[row].fields[*column]);
            while (!value.empty() && (value.back() == '-' || value.back() < '0' || value.back() > '9') &&
                   value.back() != ',' && value.back() != '.') {
                value.remove_suffix(1); // a trailing minus or currency
            }
            value = trimBankText(value);
            const std::size_t mark = value.find_last_of(",.");
            if (mark == std::string_view::npos) {
                continue;
            }
            const std::size_t after = value.size() - mark - 1;
            const bool isComma = value[mark] == ',';
            if (after == 1 || after == 2) {
                ++(isComma ? comma : point);
            } else if (after == 3) {
                ++(isComma ? point : comma); // a thousands separator
            }
        }
    }
    return point > comma ? DecimalMark::Point : DecimalMark::Comma;
}

// The account number a heading line gives ("Kontonummer: 1234-5678901",
// "Konto;1234 56 78901"), or empty.
std::string accountInHeading(const CsvRecord& record) {
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        const std::string key = headerKey(record.fields[i]);
        if (!(key.starts_with("konto") || key.starts_with("iban") || key.starts_with("tili")) ||
            key.starts_with("kontoutdrag") || key.starts_with("tiliote")) {
            continue;
        }
        std::string_view value;
        const std::string& cell = record.fields[i];
        if (const std::size_t colon = cell.find(':'); colon != std::string::npos) {
            value = trimBankText(std::string_view(cell).substr(colon + 1));
        }
        for (std::size_t next = i + 1; value.empty() && next < record.fields.size(); ++next) {
            value = trimBankText(record.fields[next]);
        }
        if (std::count_if(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }) >= 5) {
            return std::string(value);
        }
    }
    return {};
}

std::string quotedCell(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string fieldNames(const std::vector<CsvField>& fields) {
    std::string names;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        names += (i == 0                   ? ""
                  : i + 1 == fields.size() ? " och "
                                           : ", ") +
                 std::string(csvFieldName(fields[i]));
    }
    return names;
}

// The opening and closing balance from the lines' balances, when they chain
// in the file's order (oldest first) or the other way (newest first).
void balancesFromLines(BankStatement& statement) {
    const std::vector<BankLine>& lines = statement.lines;
    if (lines.empty() ||
        !std::all_of(lines.begin(), lines.end(), [](const BankLine& l) { return l.balance; })) {
        return;
    }
    bool forward = true;
    bool backward = true;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        forward = forward && *lines[i].balance == addOre(*lines[i - 1].balance, lines[i].amount);
        backward = backward && *lines[i - 1].balance == addOre(*lines[i].balance, lines[i - 1].amount);
    }
    const BankLine* first = nullptr;
    const BankLine* last = nullptr;
    if (forward) {
        first = &lines.front();
        last = &lines.back();
    } else if (backward) {
        first = &lines.back();
        last = &lines.front();
    } else {
        return;
    }
    statement.openingBalance = addOre(*first->balance, -first->amount);
    statement.openingDate = first->bookingDate;
    statement.closingBalance = *last->balance;
    statement.closingDate = last->bookingDate;
}

bool isBlank(const CsvRecord& record) {
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const std::string& field) { return trimBankText(field).empty(); });
}

class RowReader {
public:
    RowReader(BankStatement& statement, const CsvLayout& layout) : m_statement(statement), m_layout(layout) {}

    // Reads one data row; false when it is a heading row (only before the first line).
    bool read(const CsvRecord& record, bool headingPossible);
    void problem(std::size_t line, std::string reason);
    // The problems beyond kMaxBankProblems, counted.
    std::size_t problemsLeftOut = 0;
    // The bank account each line's row names, where the file has a column for it.
    std::vector<std::string> lineAccounts;

private:
    std::string_view cell(const CsvRecord& record, const std::optional<std::size_t>& column) const;
    // A row that reaches the amount's column and has digits in the date's or
    // the amount's: a line, whether or not they can be read.
    [[nodiscard]] bool dataLike(const CsvRecord& record) const;
    bool amountOf(const CsvRecord& record, const std::optional<std::size_t>& column, const char* what,
                  std::optional<Ore>& ore);

    BankStatement& m_statement;
    const CsvLayout& m_layout;
};

void RowReader::problem(std::size_t line, std::string reason) {
    if (m_statement.problems.size() >= kMaxBankProblems) {
        ++problemsLeftOut;
        return;
    }
    m_statement.problems.push_back({line, std::move(reason)});
}

std::string_view RowReader::cell(const CsvRecord& record, const std::optional<std::size_t>& column) const {
    if (!column || *column >= record.fields.size()) {
        return {};
    }
    return trimBankText(record.fields[*column]);
}

bool RowReader::dataLike(const CsvRecord& record) const {
    const auto amountColumn = m_layout.amount ? m_layout.amount : m_layout.in;
    if (!amountColumn || *amountColumn >= record.fields.size()) {
        return false;
    }
    const auto hasDigit = [](std::string_view text) {
        return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return hasDigit(cell(record, m_layout.date)) || hasDigit(cell(record, amountColumn));
}

bool RowReader::amountOf(const CsvRecord& record, const std::optional<std::size_t>& column, const char* what,
                         std::optional<Ore>& ore) {
    const std::string_view text = cell(record, column);
    if (text.empty()) {
        return true;
    }
    ore = parseBankAmount(text, *m_layout.decimal);
    if (!ore) {
        problem(record.line, std::string(what) + " " + quotedCell(text) + " går inte att läsa");
        return false;
    }
    return true;
}

bool RowReader::read(const CsvRecord& record, bool headingPossible) {
    if (isBlank(record)) {
        return !headingPossible;
    }
    const std::string_view dateText = cell(record, m_layout.date);
    const std::optional<BankDate> date = parseBankDate(dateText);
    if (headingPossible && !date && !dataLike(record)) {
        return false; // a heading: no digits where the lines have their date and amount
    }
    if (record.tooManyFields) {
        problem(record.line, "raden har fler än " + std::to_string(kMaxCsvFields) + " kolumner");
        return true;
    }
    // The columns every line needs.
    for (const CsvField field : {CsvField::Date, CsvField::Amount, CsvField::In, CsvField::Out}) {
        const auto column = m_layout.column(field);
        if (column && *column >= record.fields.size()) {
            problem(record.line, "raden har " + std::to_string(record.fields.size()) + " kolumner, men " +
                                     std::string(csvFieldName(field)) + " står i kolumn " +
                                     std::to_string(*column + 1));
            return true;
        }
    }
    if (!date) {
        problem(record.line, dateText.empty() ? "datumet saknas"
                                              : "datumet " + quotedCell(dateText) + " går inte att läsa");
        return true;
    }
    BankLine line;
    line.lineNumber = record.line;
    line.bookingDate = *date;
    if (const std::string_view valueText = cell(record, m_layout.valueDate); !valueText.empty()) {
        line.valueDate = parseBankDate(valueText);
        if (!line.valueDate) {
            problem(record.line, "valutadagen " + quotedCell(valueText) + " går inte att läsa");
            return true;
        }
    }
    if (m_layout.amount) {
        std::optional<Ore> amount;
        if (!amountOf(record, m_layout.amount, "beloppet", amount)) {
            return true;
        }
        if (!amount) {
            problem(record.line, "beloppet saknas");
            return true;
        }
        line.amount = *amount;
    } else {
        std::optional<Ore> in;
        std::optional<Ore> out;
        if (!amountOf(record, m_layout.in, "beloppet in", in) ||
            !amountOf(record, m_layout.out, "beloppet ut", out)) {
            return true;
        }
        if (!in && !out) {
            problem(record.line, "beloppet saknas");
            return true;
        }
        // The out column may hold the amount with or without its minus sign.
        line.amount = addOre(in.value_or(0), out && *out > 0 ? -*out : out.value_or(0));
    }
    std::optional<Ore> balance;
    if (!amountOf(record, m_layout.balance, "saldot", balance)) {
        return true;
    }
    line.balance = balance;
    line.text = std::string(cell(record, m_layout.text));
    line.counterpart = std::string(cell(record, m_layout.counterpart));
    line.reference = bankReferenceText(cell(record, m_layout.reference));
    if (m_statement.lines.size() >= kMaxBankLines) {
        throw BankFileError("Filen har fler än " + std::to_string(kMaxBankLines) +
                            " transaktioner. Dela upp den i kortare perioder och läs in dem var för sig.");
    }
    m_statement.lines.push_back(std::move(line));
    lineAccounts.emplace_back(cell(record, m_layout.account));
    return true;
}

} // namespace

BankTextEncoding detectBankTextEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        return BankTextEncoding::Utf8;
    }
    if (bytes.starts_with(kUtf16leBom)) {
        return BankTextEncoding::Utf16le;
    }
    return validUtf8(bytes) ? BankTextEncoding::Utf8 : BankTextEncoding::Windows1252;
}

std::string decodeBankText(std::string_view bytes, BankTextEncoding encoding) {
    switch (encoding) {
    case BankTextEncoding::Windows1252:
        return cp1252ToUtf8(bytes);
    case BankTextEncoding::Utf16le:
        if (bytes.starts_with(kUtf16leBom)) {
            bytes.remove_prefix(kUtf16leBom.size());
        }
        return utf16leToUtf8(bytes);
    case BankTextEncoding::Utf8:
        break;
    }
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
    }
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = utf8SequenceAt(bytes, pos);
        if (length == 0) {
            text += "\xEF\xBF\xBD";
            ++pos;
            continue;
        }
        text.append(bytes.substr(pos, length));
        pos += length;
    }
    return text;
}

namespace {

// Detection on the decoded text, with what the user gave kept.
CsvDetection detectInText(std::string_view text, BankTextEncoding encoding,
                          const std::optional<CsvLayout>& given) {
    CsvDetection detection;
    const SeparatorChoice choice = chooseSeparator(text, given ? given->separator : std::nullopt);
    CsvLayout& layout = detection.layout;
    if (given && !given->missingFields().empty()) {
        throw BankFileError("Kolumnerna som angavs räcker inte: " + fieldNames(given->missingFields()) +
                            " saknas.");
    }
    if (given) {
        layout = *given;
    } else {
        layout = choice.header.layout;
        layout.headerRow = choice.headerRow;
    }
    layout.encoding = encoding;
    layout.separator = choice.separator;
    const std::string_view head = text.substr(0, std::min(text.size(), kDetectionBytes));
    const std::vector<CsvRecord> records = splitCsv(head, choice.separator, kDetectionRecords);
    if (!layout.decimal) {
        layout.decimal = chooseDecimal(records, layout.headerRow ? *layout.headerRow + 1 : 0, layout);
    }
    detection.missing = layout.missingFields();
    detection.firstRecords.assign(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                                         records.size(), kDialogRecords)));
    return detection;
}

} // namespace

std::string CsvDetection::message() const {
    if (missing.empty()) {
        return {};
    }
    return "Filens kolumner för " + fieldNames(missing) +
           " gick inte att hitta. Ange vilken kolumn som har vad.";
}

CsvLayoutUnknown::CsvLayoutUnknown(CsvDetection detection)
    : BankFileError(detection.message()), m_detection(std::move(detection)) {}

CsvDetection detectCsvLayout(std::string_view bytes) {
    const BankTextEncoding encoding = detectBankTextEncoding(bytes);
    return detectInText(decodeBankText(bytes, encoding), encoding, std::nullopt);
}

namespace {

// The lines of a file with a column of the bank's account number, one
// statement per account it names; the problems and the heading stay with the
// first. A file of one account is its statement, with that account's number.
BankStatements splitByAccount(BankStatement statement, const std::vector<std::string>& lineAccounts) {
    std::vector<std::string> named;
    for (const std::string& account : lineAccounts) {
        if (!account.empty() && std::find(named.begin(), named.end(), account) == named.end()) {
            named.push_back(account);
        }
    }
    if (named.size() == 1 && statement.account.empty()) {
        statement.account = named.front();
    }
    if (named.size() <= 1) {
        balancesFromLines(statement);
        return {std::move(statement)};
    }
    BankStatements statements(named.size());
    for (std::size_t i = 0; i < named.size(); ++i) {
        statements[i].kind = statement.kind;
        statements[i].account = named[i];
    }
    statements.front().problems = std::move(statement.problems);
    statements.front().headingRows = std::move(statement.headingRows);
    for (std::size_t i = 0; i < statement.lines.size(); ++i) {
        const auto at = std::find(named.begin(), named.end(), lineAccounts[i]);
        // A row without the account goes with the file's first account.
        const auto index = at == named.end() ? 0 : static_cast<std::size_t>(at - named.begin());
        statements[index].lines.push_back(std::move(statement.lines[i]));
    }
    for (BankStatement& each : statements) {
        balancesFromLines(each);
    }
    return statements;
}

} // namespace

BankStatements readCsvStatements(std::string_view bytes, const std::optional<CsvLayout>& given) {
    const BankTextEncoding encoding =
        given && given->encoding ? *given->encoding : detectBankTextEncoding(bytes);
    const std::string text = decodeBankText(bytes, encoding);
    CsvDetection detection = detectInText(text, encoding, given);
    if (!detection.complete()) {
        throw CsvLayoutUnknown(std::move(detection));
    }
    const CsvLayout& layout = detection.layout;

    BankStatement statement;
    statement.kind = BankFileKind::Csv;
    RowReader reader(statement, layout);
    CsvTokenizer tokenizer(text, *layout.separator);
    CsvRecord record;
    std::size_t index = 0;
    bool heading = true;
    for (; tokenizer.next(record); ++index) {
        if (layout.headerRow && index <= *layout.headerRow) {
            if (statement.account.empty()) {
                statement.account = accountInHeading(record);
            }
            if (!isBlank(record)) {
                statement.headingRows.push_back(record.line);
            }
            continue;
        }
        const bool headingPossible = heading && !layout.headerRow;
        if (reader.read(record, headingPossible)) {
            heading = false;
        } else if (headingPossible) {
            if (statement.account.empty()) {
                statement.account = accountInHeading(record);
            }
            if (!isBlank(record)) {
                statement.headingRows.push_back(record.line);
            }
        }
    }
    if (const std::size_t line = tokenizer.unclosedQuoteLine()) {
        reader.problem(line,
                       "citattecknet som börjar här avslutas aldrig; resten av filen lästes som ett fält");
    }
    if (reader.problemsLeftOut > 0) {
        statement.problems.push_back(
            {0, "ytterligare " + std::to_string(reader.problemsLeftOut) + " rader gick inte att läsa"});
    }
    return splitByAccount(std::move(statement), reader.lineAccounts);
}

} // namespace kv
