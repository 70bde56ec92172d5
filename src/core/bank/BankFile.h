// The one way in for a bank's file: its bytes tell whether it is an ISO
// 20022 camt file or an internet bank's CSV export.
#pragma once

#include "bank/BankFileError.h"
#include "bank/BankStatement.h"
#include "bank/CsvBankReader.h"
#include "bank/CsvLayout.h"

#include <optional>
#include <string>
#include <string_view>

namespace kv {

// True when the bytes are XML (after a byte-order mark and blanks, "<").
bool looksLikeXml(std::string_view bytes);

// Reads a camt.053/camt.054 file, or a CSV file with the given layout or the
// one found in it. Throws BankFileError for a file that cannot be read at
// all (CsvLayoutUnknown when the CSV columns are not known), with the whole
// message for the user; rows and entries that cannot be read are the
// statement's problems.
BankStatement readBankFile(std::string_view bytes, const std::optional<CsvLayout>& layout);

// The same for the file at path, read whole up to kMaxBankFileBytes; a file
// that is missing, not a plain file or cannot be read is a BankFileError
// naming it.
BankStatement readBankFileAt(const std::string& path, const std::optional<CsvLayout>& layout);

// The bytes of the file at path, with the same limits and messages.
std::string readBankFileBytes(const std::string& path);

} // namespace kv
