// kvistoran-cli attach and attachments: receipts kept with the vouchers.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kv::cli {

extern const char* const kAttachHelp;

// Runs "attach ..." or "attachments ..."; nothing when args are neither.
std::optional<int> runAttachCommand(const std::vector<std::string>& args);

} // namespace kv::cli
