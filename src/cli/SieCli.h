// The SIE commands of kvistoran-cli: export-sie and import-sie.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kv::cli {

// True when args (the command first) name one of the two commands.
bool isSieCommand(const std::vector<std::string>& args);

// Runs the command; fail reports a failure on standard error and gives the
// exit status. Returns the exit status.
int runSieCommand(const std::vector<std::string>& args, const std::function<int(const std::string&)>& fail);

} // namespace kv::cli
