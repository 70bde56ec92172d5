// Small readings of the texts that the user types into the chart and VAT grids.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kv {

// The characters of a UTF-8 text, each as its own UTF-8 text.
std::vector<std::string> utf8Characters(const std::string& text);

// True when every character is a decimal digit (also for an empty text).
bool onlyDigits(const std::string& text);

// True when the text holds a blank (a space or a tab).
bool hasBlank(const std::string& text);

// The message for a typed text holding a character that the company files
// cannot store, or nothing when every character can be stored.
std::optional<std::string> unstorableTextMessage(const std::string& text);

} // namespace kv
