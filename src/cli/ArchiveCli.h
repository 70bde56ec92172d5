// The year's archive from the command line: "archive" runs the archive
// program beside the tool (it draws the reports with Qt, which the tool does
// without), "verify-archive" checks an archive against its manifest.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kv::cli {

extern const char* const kArchiveHelp;

// The command's exit status, or nothing when args are not an archive command.
std::optional<int> runArchiveCommand(const std::vector<std::string>& args);

} // namespace kv::cli
