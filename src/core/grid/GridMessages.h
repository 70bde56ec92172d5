// The messages of the grid's own commands (find and replace).
#pragma once

#include <string>

namespace kv {

// A search that found no cell.
[[nodiscard]] std::string gridNotFoundMessage(const std::string& text);
// "Ersätt alla" is done.
[[nodiscard]] std::string gridReplacedMessage(int count);
// Replacing while the whole grid is write-protected ("Skrivskydd").
[[nodiscard]] std::string gridReadOnlyReplaceMessage();

} // namespace kv
