// kvistoran-cli budget: the open period's budget, as printed, set or copied.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kv::cli {

extern const char* const kBudgetHelp;

// Runs "budget ..."; nothing when args are not a budget command.
std::optional<int> runBudgetCommand(const std::vector<std::string>& args);

} // namespace kv::cli
