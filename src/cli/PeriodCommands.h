// The period subcommands of kvistoran-cli: "periods" lists a company's
// periods as the period list shows them, "new-period" creates the next one
// as the menu command does when every question is answered OK.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kv::cli {

// The help text of the period subcommands.
extern const char* const kPeriodCommandsHelp;

// Runs the subcommand that args name and returns its exit status, or nothing
// when args name no period subcommand.
std::optional<int> runPeriodCommand(const std::vector<std::string>& args);

} // namespace kv::cli
