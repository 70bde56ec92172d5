#include "reports/ReportText.h"

#include <algorithm>
#include <cstdio>

namespace kv {

std::int32_t screenY(std::int32_t value, const ScreenMeasures& screen) {
    const std::int64_t scaled = std::int64_t{value} * screen.dpiY;
    return static_cast<std::int32_t>((scaled + 95) / 96);
}

std::size_t characterCount(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(
        utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string firstCharacters(const std::string& utf8, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (seen == count) {
                return utf8.substr(0, i);
            }
            ++seen;
        }
    }
    return utf8;
}

namespace {

std::vector<const FormLine*> linesTopDown(const ReportForm& form) {
    std::vector<const FormLine*> lines;
    lines.reserve(form.lines.size());
    for (const FormLine& line : form.lines) {
        lines.push_back(&line);
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const FormLine* a, const FormLine* b) { return a->y < b->y; });
    return lines;
}

bool isTableLine(const FormLine& line) {
    return std::any_of(line.cells.begin(), line.cells.end(),
                       [](const FormCell& cell) { return cell.column >= 0 && !cell.rule; });
}

// The texts of one line: the table's columns (joined where a column has
// several), then the free texts in the order they stand.
struct SplitLine {
    std::vector<std::string> columns;
    std::vector<TextAlign> aligns;
    std::vector<std::string> free;
};

SplitLine split(const FormLine& line, std::size_t columnCount) {
    SplitLine out{
        std::vector<std::string>(columnCount), std::vector<TextAlign>(columnCount, TextAlign::Left), {}};
    std::vector<const FormCell*> cells;
    for (const FormCell& cell : line.cells) {
        if (!cell.rule && !cell.text.empty()) {
            cells.push_back(&cell);
        }
    }
    std::stable_sort(cells.begin(), cells.end(),
                     [](const FormCell* a, const FormCell* b) { return a->x < b->x; });
    for (const FormCell* cell : cells) {
        if (cell->column >= 0 && static_cast<std::size_t>(cell->column) < columnCount) {
            std::string& text = out.columns[static_cast<std::size_t>(cell->column)];
            text += (text.empty() ? "" : " ") + cell->text;
            out.aligns[static_cast<std::size_t>(cell->column)] = cell->align;
        } else {
            out.free.push_back(cell->text);
        }
    }
    return out;
}

std::string rightTrimmed(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

} // namespace

std::string formAsText(const ReportForm& form) {
    const std::size_t columnCount = form.columns.size();
    std::vector<std::size_t> widths(columnCount, 0);
    const auto lines = linesTopDown(form);
    for (const FormLine* line : lines) {
        if (!isTableLine(*line)) {
            continue;
        }
        const SplitLine parts = split(*line, columnCount);
        for (std::size_t c = 0; c < columnCount; ++c) {
            widths[c] = std::max(widths[c], characterCount(parts.columns[c]));
        }
    }
    std::string out;
    for (const FormLine* line : lines) {
        const SplitLine parts = split(*line, columnCount);
        std::string text;
        if (isTableLine(*line)) {
            for (std::size_t c = 0; c < columnCount; ++c) {
                const std::string pad(widths[c] - characterCount(parts.columns[c]), ' ');
                text += parts.aligns[c] == TextAlign::Right ? pad + parts.columns[c] : parts.columns[c] + pad;
                text += "  ";
            }
        } else if (parts.free.empty()) {
            continue; // a line of rules only: the lines of text stand apart without it
        }
        for (const std::string& free : parts.free) {
            text += (text.empty() || text.back() == ' ' ? "" : "  ") + free;
        }
        out += rightTrimmed(text) + "\n";
    }
    return out;
}

std::vector<std::vector<std::string>> formRecords(const ReportForm& form) {
    const std::size_t columnCount = form.columns.size();
    std::vector<std::vector<std::string>> records;
    for (const FormLine* line : linesTopDown(form)) {
        const SplitLine parts = split(*line, columnCount);
        std::vector<std::string> fields;
        if (isTableLine(*line)) {
            fields = parts.columns;
        }
        fields.insert(fields.end(), parts.free.begin(), parts.free.end());
        if (!fields.empty()) {
            records.push_back(std::move(fields));
        }
    }
    return records;
}

std::string formAsCsv(const ReportForm& form) {
    std::string out;
    for (const auto& fields : formRecords(form)) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            out += (i == 0 ? "" : ",") + csvField(fields[i]);
        }
        out += "\r\n";
    }
    return out;
}

std::string rateText(double rate) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%1.2f", rate);
    return buffer;
}

} // namespace kv
