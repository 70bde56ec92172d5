// Reading ISO 20022 bank-to-customer files: the account statement camt.053
// and the debit/credit notification camt.054, of any version (elements are
// matched on their local names, whatever the namespace).
#pragma once

#include "bank/BankFileError.h"
#include "bank/BankStatement.h"

#include <string_view>

namespace kv {

// The statement of a camt.053 or camt.054 file. An entry that cannot be read
// is a problem with its line in the file; a file that is no such XML is
// refused with a BankFileError. A file with statements of several accounts
// is read for the first account; the others are named among the problems.
BankStatement readCamtStatement(std::string_view bytes);

} // namespace kv
