// The backup commands of kvistoran-cli: "backups" lists the backups of a
// company, "restore" writes one of them as a company of its own.
#pragma once

#include "CliMessages.h"

#include <optional>
#include <string>
#include <vector>

namespace kv::cli {

// The help text of the backup subcommands.
extern const char* const kBackupCommandsHelp;

// Runs the subcommand that args name and returns its exit status, or nothing
// when args name no backup subcommand.
std::optional<int> runBackupCommand(const std::vector<std::string>& args);

} // namespace kv::cli
