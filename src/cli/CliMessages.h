// How kvistoran-cli tells the user something on standard error: one line,
// "kvistoran-cli: " first.
#pragma once

#include <string>
#include <vector>

namespace kv::cli {

// message as one line: its blank line (before its reason) becomes ": ",
// other line breaks blanks.
std::string oneLine(const std::string& message);

// Prints message as one line on standard error and returns exit status 1.
int failWith(const std::string& message);

// Tells on standard error, a line each, what a command had to say beside its
// work, such as a backup of a save that could not be made.
void printNotes(const std::vector<std::string>& messages);

} // namespace kv::cli
