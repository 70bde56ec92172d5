// Reading ISO 20022 bank-to-customer files: the account statement camt.053
// and the debit/credit notification camt.054, of any version (elements are
// matched on their local names, whatever the namespace).
#pragma once

#include "bank/BankFileError.h"
#include "bank/BankStatement.h"

#include <string_view>

namespace kv {

// The statements of a camt.053 or camt.054 file: one per account (or
// currency of an account), the file's statements of one account (several
// days, say) read as one. An entry that cannot be read is a problem with its
// line in the file; a file that is no such XML is refused with a
// BankFileError.
BankStatements readCamtStatements(std::string_view bytes);

} // namespace kv
