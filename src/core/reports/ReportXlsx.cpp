// The report's data as an Excel workbook, through libxlsxwriter. The library
// writes to a named file only, so the workbook is made in a private temporary
// file and read back: the caller then writes the bytes as it writes any file
// (atomically, over the target only when whole).
#include "reports/ReportDataFiles.h"
#include "reports/ReportText.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>

namespace kv {

namespace {

// The rows of a sheet, the heading row included.
constexpr std::size_t kSheetRows = 1048576;

// A temporary file that goes with its holder.
class ScratchFile {
public:
    ScratchFile() {
        std::string pattern = std::string(P_tmpdir) + "/kvistoran-XXXXXX.xlsx";
        const int fd = mkstemps(pattern.data(), 5);
        if (fd < 0) {
            throw ReportDataError("Kan ej skapa en tillfällig fil för Excel-filen");
        }
        ::close(fd);
        m_path = std::move(pattern);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile() { std::remove(m_path.c_str()); }
    [[nodiscard]] const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

struct WorkbookClose {
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};

// Formats of the cells, one per kind of value.
struct Formats {
    lxw_format* heading = nullptr;
    lxw_format* amount = nullptr;
    lxw_format* rate = nullptr;
    lxw_format* date = nullptr;
    lxw_format* integer = nullptr;
};

Formats makeFormats(lxw_workbook* book) {
    Formats formats;
    formats.heading = workbook_add_format(book);
    format_set_bold(formats.heading);
    format_set_bottom(formats.heading, LXW_BORDER_THIN);
    formats.amount = workbook_add_format(book);
    // The spreadsheet shows the grouping of its own language: "1 234,50" in Swedish.
    format_set_num_format(formats.amount, "#,##0.00");
    formats.rate = workbook_add_format(book);
    format_set_num_format(formats.rate, "0.00");
    formats.date = workbook_add_format(book);
    format_set_num_format(formats.date, "yyyy-mm-dd");
    formats.integer = workbook_add_format(book);
    format_set_num_format(formats.integer, "0");
    return formats;
}

// A sheet's name: at most 31 characters, none of []:*?/\ .
std::string sheetName(const std::string& title) {
    std::string name;
    for (const char c : title) {
        name += std::string_view("[]:*?/\\").find(c) == std::string_view::npos ? c : '-';
    }
    name = firstCharacters(name, 31);
    return name.empty() ? "Rapport" : name;
}

// A page header's text: "&" starts a code there, so a text's own is doubled.
std::string headerText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '&' ? "&&" : std::string(1, c);
    }
    return out;
}

std::string ratesText(const DataRates& rates) {
    std::string out;
    for (const std::int64_t rate : rates.hundredths) {
        out += (out.empty() ? "" : " / ") + decimalText(rate);
    }
    return out;
}

void writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const DataCell& cell,
               const Formats& formats) {
    struct Visit {
        lxw_worksheet* sheet;
        lxw_row_t row;
        lxw_col_t col;
        const Formats& formats;
        void operator()(std::monostate) const {}
        void operator()(const std::string& text) const {
            if (!text.empty()) {
                worksheet_write_string(sheet, row, col, text.c_str(), nullptr);
            }
        }
        void operator()(std::int64_t value) const {
            worksheet_write_number(sheet, row, col, static_cast<double>(value), formats.integer);
        }
        void operator()(const DataAmount& value) const {
            worksheet_write_number(sheet, row, col, static_cast<double>(value.ore) / 100.0, formats.amount);
        }
        void operator()(const DataRate& value) const {
            worksheet_write_number(sheet, row, col, static_cast<double>(value.hundredths) / 100.0,
                                   formats.rate);
        }
        void operator()(const DataRates& value) const {
            if (value.hundredths.size() == 1) {
                (*this)(DataRate{value.hundredths.front()});
            } else if (!value.hundredths.empty()) {
                (*this)(ratesText(value));
            }
        }
        void operator()(const DataDate& value) const {
            if (value.year < 1900 || value.year > 9999) {
                (*this)(isoDate(value)); // a date the spreadsheet cannot count stays text
                return;
            }
            lxw_datetime when{value.year, value.month, value.day, 0, 0, 0.0};
            worksheet_write_datetime(sheet, row, col, &when, formats.date);
        }
    };
    std::visit(Visit{sheet, row, col, formats}, cell);
}

// Widths in characters: the longest text of a column, within bounds.
std::vector<double> columnWidths(const DataTable& table) {
    std::vector<double> widths;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        std::size_t width = characterCount(table.columns[c].name) + 2;
        switch (table.columns[c].kind) {
        case DataKind::Amount:
            width = std::max<std::size_t>(width, 15);
            break;
        case DataKind::Date:
            width = std::max<std::size_t>(width, 11);
            break;
        case DataKind::Text:
        case DataKind::Rates:
            for (const auto& row : table.rows) {
                if (const auto* text = std::get_if<std::string>(&row[c])) {
                    width = std::max(width, std::min<std::size_t>(characterCount(*text) + 1, 60));
                } else if (const auto* rates = std::get_if<DataRates>(&row[c])) {
                    width = std::max(width, ratesText(*rates).size() + 1);
                }
            }
            break;
        case DataKind::Integer:
        case DataKind::Rate:
            width = std::max<std::size_t>(width, 8);
            break;
        }
        widths.push_back(static_cast<double>(width));
    }
    return widths;
}

void writeTable(lxw_worksheet* sheet, const ReportData& data, const Formats& formats) {
    const DataTable& table = data.table;
    const std::vector<double> widths = columnWidths(table);
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const auto col = static_cast<lxw_col_t>(c);
        worksheet_set_column(sheet, col, col, widths[c], nullptr);
        worksheet_write_string(sheet, 0, col, table.columns[c].name.c_str(), formats.heading);
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& row = table.rows[r];
        for (std::size_t c = 0; c < row.size(); ++c) {
            writeCell(sheet, static_cast<lxw_row_t>(r + 1), static_cast<lxw_col_t>(c), row[c], formats);
        }
    }
    if (!table.columns.empty()) {
        worksheet_freeze_panes(sheet, 1, 0);
        worksheet_autofilter(sheet, 0, 0, static_cast<lxw_row_t>(table.rows.size()),
                             static_cast<lxw_col_t>(table.columns.size() - 1));
        worksheet_repeat_rows(sheet, 0, 0);
    }
    std::string header = "&L" + headerText(data.title);
    if (data.period) {
        header += "&R" + headerText("Period " + data.period->text);
        if (data.months) {
            header += headerText(", månader " + data.months->text);
        }
    }
    worksheet_set_header(sheet, header.c_str());
    worksheet_set_landscape(sheet);
    worksheet_fit_to_pages(sheet, 1, 0);
}

// The head of the report: what it is, its months, its totals and notes.
void writeHead(lxw_worksheet* sheet, const ReportData& data, const Formats& formats) {
    lxw_row_t row = 0;
    const auto line = [&](const std::string& field, const DataCell& value) {
        worksheet_write_string(sheet, row, 0, field.c_str(), formats.heading);
        writeCell(sheet, row, 1, value, formats);
        ++row;
    };
    worksheet_set_column(sheet, 0, 0, 26, nullptr);
    worksheet_set_column(sheet, 1, 1, 40, nullptr);
    line("rapport", data.title);
    if (data.period) {
        line("period", data.period->text);
    }
    if (data.months) {
        line("månader", data.months->text);
    }
    for (const auto& [name, ore] : data.sums) {
        line(name, DataAmount{ore});
    }
    for (const std::string& note : data.notes) {
        line("not", note);
    }
}

std::string fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file.good() && !file.eof()) {
        throw ReportDataError("Kan ej läsa den tillfälliga Excel-filen");
    }
    return bytes;
}

} // namespace

std::string reportXlsx(const ReportData& data) {
    if (data.table.rows.size() >= kSheetRows) {
        throw ReportDataError("Rapporten har " + std::to_string(data.table.rows.size()) +
                              " rader; ett Excel-blad rymmer " + std::to_string(kSheetRows - 1) +
                              ". Välj färre månader eller ett konto, eller skriv den som CSV.");
    }
    const ScratchFile scratch;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows go to disk as they are written
    std::unique_ptr<lxw_workbook, WorkbookClose> book(workbook_new_opt(scratch.path().c_str(), &options));
    if (!book) {
        throw ReportDataError("Kan ej skapa Excel-filen");
    }
    const Formats formats = makeFormats(book.get());
    lxw_doc_properties properties{};
    std::string title = data.title;
    properties.title = title.data();
    workbook_set_properties(book.get(), &properties);
    const std::string tableName = sheetName(data.title);
    lxw_worksheet* table = workbook_add_worksheet(book.get(), tableName.c_str());
    lxw_worksheet* head =
        workbook_add_worksheet(book.get(), tableName == "Om rapporten" ? "Uppgifter" : "Om rapporten");
    if (table == nullptr || head == nullptr) {
        throw ReportDataError("Kan ej skapa Excel-filen");
    }
    writeTable(table, data, formats);
    writeHead(head, data, formats);
    const lxw_error closed = workbook_close(book.release());
    if (closed != LXW_NO_ERROR) {
        throw ReportDataError(std::string("Kan ej skriva Excel-filen: ") + lxw_strerror(closed));
    }
    return fileBytes(scratch.path());
}

} // namespace kv
