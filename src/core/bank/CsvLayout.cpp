#include "bank/CsvLayout.h"

#include <array>
#include <charconv>
#include <utility>

namespace kv {

namespace {

constexpr std::array<CsvField, 10> kFields = {
    CsvField::Date,   CsvField::ValueDate, CsvField::Text, CsvField::Counterpart, CsvField::Reference,
    CsvField::Amount, CsvField::In,        CsvField::Out,  CsvField::Balance,     CsvField::Account};

constexpr std::size_t kMaxColumnNumber = 256;

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string fieldList() {
    std::string list;
    for (const CsvField field : kFields) {
        list += (list.empty() ? "" : ", ") + std::string(csvFieldName(field));
    }
    return list;
}

// The settings of the layout text: "kodning", "avgränsare", "decimal".
bool readSetting(std::string_view key, std::string_view value, CsvLayout& layout, std::string& error) {
    if (key == "kodning") {
        if (value == "utf-8") {
            layout.encoding = BankTextEncoding::Utf8;
        } else if (value == "windows-1252") {
            layout.encoding = BankTextEncoding::Windows1252;
        } else if (value == "utf-16le") {
            layout.encoding = BankTextEncoding::Utf16le;
        } else {
            error = "kodningen " + quoted(value) + " är okänd (utf-8, windows-1252 eller utf-16le)";
        }
        return true;
    }
    if (key == "avgränsare") {
        if (value == "semikolon") {
            layout.separator = ';';
        } else if (value == "komma") {
            layout.separator = ',';
        } else if (value == "tab") {
            layout.separator = '\t';
        } else {
            error = "avgränsaren " + quoted(value) + " är okänd (semikolon, komma eller tab)";
        }
        return true;
    }
    if (key == "decimal") {
        if (value == "komma") {
            layout.decimal = DecimalMark::Comma;
        } else if (value == "punkt") {
            layout.decimal = DecimalMark::Point;
        } else {
            error = "decimaltecknet " + quoted(value) + " är okänt (komma eller punkt)";
        }
        return true;
    }
    return false;
}

CsvLayoutParse parseLayout(std::string_view text, bool settings) {
    CsvLayout layout;
    const auto fail = [](std::string message) { return CsvLayoutParse{std::nullopt, std::move(message)}; };
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view item = trimBankText(text.substr(start, end - start));
        start = end + 1;
        if (item.empty()) {
            if (end == text.size()) {
                break;
            }
            continue;
        }
        const std::size_t equals = item.find('=');
        if (equals == std::string_view::npos) {
            return fail("kolumnerna ska anges som fält=nummer, som datum=1,text=3,belopp=5; " + quoted(item) +
                        " saknar \"=\"");
        }
        const std::string_view key = trimBankText(item.substr(0, equals));
        const std::string_view value = trimBankText(item.substr(equals + 1));
        std::string error;
        if (settings && readSetting(key, value, layout, error)) {
            if (!error.empty()) {
                return fail(error);
            }
            continue;
        }
        std::optional<CsvField> field;
        for (const CsvField candidate : kFields) {
            if (key == csvFieldName(candidate)) {
                field = candidate;
            }
        }
        if (!field) {
            return fail("fältet " + quoted(key) + " finns inte; fälten är " + fieldList());
        }
        std::size_t number = 0;
        const auto [end2, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (ec != std::errc() || end2 != value.data() + value.size() || number < 1 ||
            number > kMaxColumnNumber) {
            return fail("kolumnen för " + std::string(key) + " ska vara ett nummer från 1 till " +
                        std::to_string(kMaxColumnNumber) + ", inte " + quoted(value));
        }
        if (layout.column(*field)) {
            return fail(std::string(key) + " anges två gånger");
        }
        for (const CsvField other : kFields) {
            if (layout.column(other) == number - 1) {
                return fail("kolumn " + std::to_string(number) + " anges för både " +
                            std::string(csvFieldName(other)) + " och " + std::string(key));
            }
        }
        layout.column(*field) = number - 1;
    }
    if (layout.amount && (layout.in || layout.out)) {
        return fail("ange antingen belopp eller in och ut, inte båda");
    }
    if (layout.in.has_value() != layout.out.has_value()) {
        return fail(layout.in ? "in anges utan ut" : "ut anges utan in");
    }
    const std::vector<CsvField> missing = layout.missingFields();
    if (!missing.empty()) {
        std::string names;
        for (const CsvField field : missing) {
            names += (names.empty() ? "" : ", ") + std::string(csvFieldName(field));
        }
        return fail("kolumnerna saknar " + names + " (till exempel datum=1,text=3,belopp=5)");
    }
    return CsvLayoutParse{layout, {}};
}

} // namespace

std::string_view csvFieldName(CsvField field) {
    switch (field) {
    case CsvField::Date:
        return "datum";
    case CsvField::ValueDate:
        return "valutadag";
    case CsvField::Text:
        return "text";
    case CsvField::Counterpart:
        return "motpart";
    case CsvField::Reference:
        return "referens";
    case CsvField::Amount:
        return "belopp";
    case CsvField::In:
        return "in";
    case CsvField::Out:
        return "ut";
    case CsvField::Balance:
        return "saldo";
    case CsvField::Account:
        return "konto";
    }
    return "";
}

std::optional<std::size_t> CsvLayout::column(CsvField field) const {
    return const_cast<CsvLayout&>(*this).column(field);
}

std::optional<std::size_t>& CsvLayout::column(CsvField field) {
    switch (field) {
    case CsvField::Date:
        return date;
    case CsvField::ValueDate:
        return valueDate;
    case CsvField::Text:
        return text;
    case CsvField::Counterpart:
        return counterpart;
    case CsvField::Reference:
        return reference;
    case CsvField::Amount:
        return amount;
    case CsvField::In:
        return in;
    case CsvField::Out:
        return out;
    case CsvField::Account:
        return account;
    case CsvField::Balance:
        break;
    }
    return balance;
}

std::vector<CsvField> CsvLayout::missingFields() const {
    std::vector<CsvField> missing;
    if (!date) {
        missing.push_back(CsvField::Date);
    }
    if (!text) {
        missing.push_back(CsvField::Text);
    }
    if (!amount && !(in && out)) {
        if (in || out) {
            missing.push_back(in ? CsvField::Out : CsvField::In);
        } else {
            missing.push_back(CsvField::Amount);
        }
    }
    return missing;
}

CsvLayoutParse parseCsvColumns(std::string_view text) {
    return parseLayout(text, false);
}

CsvLayoutParse parseCsvLayoutText(std::string_view text) {
    return parseLayout(text, true);
}

std::string csvLayoutText(const CsvLayout& layout) {
    std::string text;
    const auto add = [&](std::string_view key, std::string_view value) {
        text += (text.empty() ? "" : ",") + std::string(key) + "=" + std::string(value);
    };
    if (layout.encoding) {
        add("kodning", *layout.encoding == BankTextEncoding::Utf8          ? "utf-8"
                       : *layout.encoding == BankTextEncoding::Windows1252 ? "windows-1252"
                                                                           : "utf-16le");
    }
    if (layout.separator) {
        add("avgränsare", *layout.separator == ';'   ? "semikolon"
                          : *layout.separator == ',' ? "komma"
                                                     : "tab");
    }
    if (layout.decimal) {
        add("decimal", *layout.decimal == DecimalMark::Comma ? "komma" : "punkt");
    }
    for (const CsvField field : kFields) {
        if (const auto column = layout.column(field)) {
            add(csvFieldName(field), std::to_string(*column + 1));
        }
    }
    return text;
}

} // namespace kv
