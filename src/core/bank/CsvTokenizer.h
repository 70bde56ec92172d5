// Records of a CSV file as RFC 4180 has them: fields between separators, a
// field in double quotes may hold separators, line breaks and doubled quotes
// (""), and a record ends at CR LF, LF or CR. It is lenient where banks'
// exports are: a quote inside an unquoted field is kept as it is, text after
// a closing quote belongs to the field, blanks before an opening quote are
// dropped, and an empty line is no record.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// More fields than this in one record are dropped (the record says so): no
// bank's export has them, and a hostile file cannot make millions.
inline constexpr std::size_t kMaxCsvFields = 256;

struct CsvRecord {
    std::size_t line = 0; // the line of the file where the record starts, from 1
    std::vector<std::string> fields;
    bool tooManyFields = false;
};

// Reads the records of a UTF-8 text one by one, without copying the text.
class CsvTokenizer {
public:
    CsvTokenizer(std::string_view text, char separator) : m_text(text), m_separator(separator) {}

    // The next record into record; false at the end of the text.
    bool next(CsvRecord& record);
    // The line where a quoted field opened that the text never closed (it
    // runs to the end), or 0.
    [[nodiscard]] std::size_t unclosedQuoteLine() const { return m_unclosedQuoteLine; }

private:
    void skipLineEnd();

    std::string_view m_text;
    char m_separator;
    std::size_t m_pos = 0;
    std::size_t m_line = 1;
    std::size_t m_unclosedQuoteLine = 0;
};

// Up to maxRecords records of text.
std::vector<CsvRecord> splitCsv(std::string_view text, char separator, std::size_t maxRecords = SIZE_MAX);

} // namespace kv
