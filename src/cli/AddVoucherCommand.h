// kvistoran-cli add-voucher: one voucher registered as the voucher dialog
// registers it, then the company saved.
#pragma once

#include <string>
#include <vector>

namespace kv::cli {

// The help text of the command.
extern const char* const kAddVoucherHelp;

// args[0] is "add-voucher". Returns the exit status; the voucher's number
// goes to standard out, every message to standard error.
int addVoucher(const std::vector<std::string>& args);

} // namespace kv::cli
