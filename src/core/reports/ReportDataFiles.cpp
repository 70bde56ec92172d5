#include "reports/ReportDataFiles.h"

#include <nlohmann/json.hpp>

namespace kv {

namespace {

// A text that a spreadsheet would take for a formula gets a leading
// apostrophe in CSV, so that opening the file runs nothing of the books' texts.
bool looksLikeFormula(const std::string& text) {
    return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

std::string ratesText(const DataRates& rates, char decimal) {
    std::string out;
    for (const std::int64_t rate : rates.hundredths) {
        out += (out.empty() ? "" : " / ") + decimalText(rate, decimal);
    }
    return out;
}

std::string csvText(const DataCell& cell, const CsvStyle& style) {
    struct Visit {
        const CsvStyle& style;
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(const std::string& text) const {
            return looksLikeFormula(text) ? "'" + text : text;
        }
        std::string operator()(std::int64_t value) const { return std::to_string(value); }
        std::string operator()(const DataAmount& value) const {
            return decimalText(value.ore, style.decimal);
        }
        std::string operator()(const DataRate& value) const {
            return decimalText(value.hundredths, style.decimal);
        }
        std::string operator()(const DataRates& value) const { return ratesText(value, style.decimal); }
        std::string operator()(const DataDate& value) const { return isoDate(value); }
    };
    return std::visit(Visit{style}, cell);
}

std::string jsonString(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string jsonValue(const DataCell& cell) {
    struct Visit {
        std::string operator()(std::monostate) const { return "null"; }
        std::string operator()(const std::string& text) const { return jsonString(text); }
        std::string operator()(std::int64_t value) const { return std::to_string(value); }
        std::string operator()(const DataAmount& value) const { return decimalText(value.ore); }
        std::string operator()(const DataRate& value) const { return decimalText(value.hundredths); }
        std::string operator()(const DataRates& value) const {
            std::string out = "[";
            for (const std::int64_t rate : value.hundredths) {
                out += (out.size() == 1 ? "" : ", ") + decimalText(rate);
            }
            return out + "]";
        }
        std::string operator()(const DataDate& value) const { return "\"" + isoDate(value) + "\""; }
    };
    return std::visit(Visit{}, cell);
}

const char* kindName(DataKind kind) {
    switch (kind) {
    case DataKind::Text:
        return "text";
    case DataKind::Integer:
        return "heltal";
    case DataKind::Amount:
        return "belopp";
    case DataKind::Rate:
        return "momssats";
    case DataKind::Rates:
        return "momssatser";
    case DataKind::Date:
        return "datum";
    }
    return "text";
}

std::string monthKey(YearMonth month) {
    const std::string m = std::to_string(month.month);
    return std::to_string(month.year) + "-" + (m.size() < 2 ? "0" : "") + m;
}

std::string monthsJson(const DataMonths& months) {
    return "{\"från\": \"" + monthKey(months.from) + "\", \"till\": \"" + monthKey(months.to) +
           "\", \"text\": " + jsonString(months.text) + "}";
}

} // namespace

std::string decimalText(Ore ore, char decimal) {
    std::string text = formatPlainOre(ore);
    text[text.size() - 3] = decimal;
    return text;
}

std::string isoDate(const DataDate& date) {
    const auto padded = [](std::int32_t value, std::size_t digits) {
        std::string text = std::to_string(value);
        return std::string(text.size() < digits ? digits - text.size() : 0, '0') + text;
    };
    return padded(date.year, 4) + "-" + padded(date.month, 2) + "-" + padded(date.day, 2);
}

std::string csvField(const std::string& value, char separator) {
    if (value.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos) {
        return value;
    }
    std::string quoted = "\"";
    for (const char c : value) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

std::string reportCsv(const ReportData& data, CsvStyle style) {
    std::string out = "\xEF\xBB\xBF";
    const auto record = [&out, &style](const auto& fields, const auto& textOf) {
        bool first = true;
        for (const auto& field : fields) {
            if (!first) {
                out += style.separator;
            }
            first = false;
            out += csvField(textOf(field), style.separator);
        }
        out += "\r\n";
    };
    record(data.table.columns, [](const DataColumn& column) { return column.name; });
    for (const auto& row : data.table.rows) {
        record(row, [&style](const DataCell& cell) { return csvText(cell, style); });
    }
    return out;
}

std::string reportJson(const ReportData& data) {
    std::string out =
        "{\n  \"rapport\": " + jsonString(data.kind) + ",\n  \"titel\": " + jsonString(data.title);
    out += ",\n  \"period\": " + (data.period ? monthsJson(*data.period) : std::string("null"));
    out += ",\n  \"månader\": " + (data.months ? monthsJson(*data.months) : std::string("null"));
    out += ",\n  \"summor\": {";
    for (std::size_t i = 0; i < data.sums.size(); ++i) {
        out +=
            (i == 0 ? "" : ", ") + jsonString(data.sums[i].first) + ": " + decimalText(data.sums[i].second);
    }
    out += "},\n  \"noter\": [";
    for (std::size_t i = 0; i < data.notes.size(); ++i) {
        out += (i == 0 ? "" : ", ") + jsonString(data.notes[i]);
    }
    out += "],\n  \"kolumner\": [";
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < data.table.columns.size(); ++i) {
        const DataColumn& column = data.table.columns[i];
        keys.push_back(jsonString(column.name) + ": ");
        out += std::string(i == 0 ? "" : ", ") + "{\"namn\": " + jsonString(column.name) + ", \"typ\": \"" +
               kindName(column.kind) + "\"}";
    }
    out += "],\n  \"rader\": [";
    for (std::size_t r = 0; r < data.table.rows.size(); ++r) {
        out += r == 0 ? "\n    {" : ",\n    {";
        const auto& row = data.table.rows[r];
        for (std::size_t c = 0; c < row.size(); ++c) {
            out += (c == 0 ? "" : ", ") + keys[c] + jsonValue(row[c]);
        }
        out += "}";
    }
    out += data.table.rows.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

} // namespace kv
