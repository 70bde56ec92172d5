// Reading the CSV exports of internet banks: the character set, separator,
// decimal mark, heading lines and columns found from the file (or given by
// the user), then one BankLine per row.
#pragma once

#include "bank/BankFileError.h"
#include "bank/BankStatement.h"
#include "bank/CsvLayout.h"
#include "bank/CsvTokenizer.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// What detection found in a CSV file.
struct CsvDetection {
    // The character set, separator and decimal mark always; the header row
    // and the columns where the file names them.
    CsvLayout layout;
    // The fields a statement needs that no column was found for; empty when
    // the layout is whole.
    std::vector<CsvField> missing;
    // The file's first records, for the dialog where the user says which
    // column holds what.
    std::vector<CsvRecord> firstRecords;

    [[nodiscard]] bool complete() const { return missing.empty(); }
    // For the user (Swedish): which fields could not be found.
    [[nodiscard]] std::string message() const;
};

CsvDetection detectCsvLayout(std::string_view bytes);

// A CSV file whose columns could not be found: the window asks the user.
class CsvLayoutUnknown : public BankFileError {
public:
    explicit CsvLayoutUnknown(CsvDetection detection);
    [[nodiscard]] const CsvDetection& detection() const { return m_detection; }

private:
    CsvDetection m_detection;
};

// Reads the file with the given layout, what it leaves open found from the
// file, or with the layout detection finds: one statement, or one per
// account where a column names the bank's account and it names several.
// Rows that cannot be read are the statement's problems, the rows taken for
// the heading its headingRows. Throws CsvLayoutUnknown when the columns are
// not known, BankFileError when the file holds too many lines.
BankStatements readCsvStatements(std::string_view bytes, const std::optional<CsvLayout>& layout);

// The file's text as UTF-8: the byte-order mark dropped, Windows-1252 and
// UTF-16LE decoded, bytes that are not valid UTF-8 in a UTF-8 file as U+FFFD.
BankTextEncoding detectBankTextEncoding(std::string_view bytes);
std::string decodeBankText(std::string_view bytes, BankTextEncoding encoding);

} // namespace kv
