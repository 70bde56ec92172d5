#include "bank/CsvTokenizer.h"

#include <cstdint>

namespace kv {

void CsvTokenizer::skipLineEnd() {
    if (m_text[m_pos] == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n') {
        ++m_pos;
    }
    ++m_pos;
    ++m_line;
}

bool CsvTokenizer::next(CsvRecord& record) {
    // Empty lines are no records.
    while (m_pos < m_text.size() && (m_text[m_pos] == '\n' || m_text[m_pos] == '\r')) {
        skipLineEnd();
    }
    if (m_pos >= m_text.size()) {
        return false;
    }
    record.line = m_line;
    record.fields.clear();
    record.tooManyFields = false;
    std::string field;
    const auto endField = [&] {
        if (record.fields.size() < kMaxCsvFields) {
            record.fields.push_back(std::move(field));
        } else {
            record.tooManyFields = true;
        }
        field.clear();
    };
    while (true) {
        // Blanks before an opening quote go; otherwise they are the field's.
        std::size_t start = m_pos;
        while (start < m_text.size() && (m_text[start] == ' ' || m_text[start] == '\t') &&
               m_text[start] != m_separator) {
            ++start;
        }
        if (start < m_text.size() && m_text[start] == '"') {
            m_pos = start + 1;
            const std::size_t openedOn = m_line;
            bool closed = false;
            while (m_pos < m_text.size()) {
                const char c = m_text[m_pos];
                if (c == '"') {
                    if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '"') {
                        field += '"';
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    closed = true;
                    break;
                }
                if (c == '\r' || c == '\n') {
                    const std::size_t lineStart = m_pos;
                    skipLineEnd();
                    field.append(m_text.substr(lineStart, m_pos - lineStart));
                    continue;
                }
                field += c;
                ++m_pos;
            }
            if (!closed && m_unclosedQuoteLine == 0) {
                m_unclosedQuoteLine = openedOn;
            }
        }
        // The unquoted field, or what follows a closing quote.
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == m_separator || c == '\n' || c == '\r') {
                break;
            }
            field += c;
            ++m_pos;
        }
        endField();
        if (m_pos >= m_text.size()) {
            return true;
        }
        if (m_text[m_pos] == m_separator) {
            ++m_pos;
            if (m_pos >= m_text.size()) {
                endField(); // a separator at the very end: one more empty field
                return true;
            }
            continue;
        }
        skipLineEnd();
        return true;
    }
}

std::vector<CsvRecord> splitCsv(std::string_view text, char separator, std::size_t maxRecords) {
    std::vector<CsvRecord> records;
    CsvTokenizer tokenizer(text, separator);
    CsvRecord record;
    while (records.size() < maxRecords && tokenizer.next(record)) {
        records.push_back(std::move(record));
        record = CsvRecord{};
    }
    return records;
}

} // namespace kv
