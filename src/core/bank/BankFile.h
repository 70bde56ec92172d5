// The one way in for a bank's file: its bytes tell whether it is an ISO
// 20022 camt file or an internet bank's CSV export.
#pragma once

#include "bank/BankFileError.h"
#include "bank/BankStatement.h"
#include "bank/CsvBankReader.h"
#include "bank/CsvLayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// True when the bytes are XML (after a byte-order mark and blanks, "<").
bool looksLikeXml(std::string_view bytes);

// Reads a camt.053/camt.054 file, or a CSV file with the given layout or the
// one found in it: one statement per account. Throws BankFileError for a
// file that cannot be read at all (CsvLayoutUnknown when the CSV columns are
// not known), with the whole message for the user; rows and entries that
// cannot be read are the statements' problems.
BankStatements readBankFile(std::string_view bytes, const std::optional<CsvLayout>& layout);

// The same for the file at path, read whole up to kMaxBankFileBytes; a file
// that is missing, not a plain file or cannot be read is a BankFileError
// naming it.
BankStatements readBankFileAt(const std::string& path, const std::optional<CsvLayout>& layout);

// A CSV layout kept for a bank account, and the account of the books it was booked on.
struct RememberedLayout {
    CsvLayout layout;
    std::int32_t bookAccount = 0;
};

// A file read, with the layout it was read by when the user gave it or a
// remembered one was taken (nothing when its own heading said), and the book
// account remembered with that layout.
struct BankFileRead {
    BankStatements statements;
    std::optional<CsvLayout> layout;
    std::int32_t rememberedBook = 0;
};

// Reads with the layout the user gives; else with the columns the file's
// own heading names; else, for a CSV file whose columns cannot be found,
// with the first remembered layout that reads it (lines, and more of them
// than rows it cannot read). A remembered layout never overrides a heading.
// Throws as readBankFile, CsvLayoutUnknown when nothing reads the columns.
BankFileRead readBankFileWith(std::string_view bytes, const std::optional<CsvLayout>& given,
                              const std::vector<RememberedLayout>& remembered);

// The bytes of the file at path, with the same limits and messages.
std::string readBankFileBytes(const std::string& path);

} // namespace kv
