// The bank commands of kvistoran-cli: import-bank reads a bank statement
// into the open period as proposed vouchers and, with --yes, books them;
// bank-rules lists and edits the rules that choose the accounts.
#pragma once

#include "bank/BankFile.h"
#include "bank/BankStatement.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kv::cli {

extern const char* const kBankCommandsHelp;

// Reads a bank file into its statements, with the CSV layout the user gave
// or else the file's own heading, or else one remembered (readBankFileWith).
// Throws std::exception with the Swedish reason.
using BankFileReader =
    std::function<BankFileRead(const std::string& path, const std::optional<CsvLayout>& given,
                               const std::vector<RememberedLayout>& remembered)>;

// A --columns text as the layout text that is kept, or nothing when it is no layout.
std::optional<std::string> checkedColumns(const std::string& text);

// The commands with the file reader given; what they tell goes to out,
// failures to fail (which gives the exit status).
int importBank(const std::vector<std::string>& args, const BankFileReader& read, std::ostream& out,
               const std::function<int(const std::string&)>& fail);
int bankRules(const std::vector<std::string>& args, std::ostream& out,
              const std::function<int(const std::string&)>& fail);

// Runs the command that args name and returns its exit status, or nothing
// when args name no bank command.
std::optional<int> runBankCommand(const std::vector<std::string>& args);

} // namespace kv::cli
