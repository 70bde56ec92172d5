// The backup commands of kvistoran-cli: "backups" lists the backups of a
// company, "restore" writes one of them as a company of its own.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kv::cli {

// The help text of the backup subcommands.
extern const char* const kBackupCommandsHelp;

// Runs the subcommand that args name and returns its exit status, or nothing
// when args name no backup subcommand.
std::optional<int> runBackupCommand(const std::vector<std::string>& args);

// Tells on standard error what a save that went through had to say, such as
// a backup that could not be made.
void printNotes(const std::vector<std::string>& messages);

} // namespace kv::cli
