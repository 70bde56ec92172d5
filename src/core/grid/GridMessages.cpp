#include "grid/GridMessages.h"

namespace kv {

std::string gridNotFoundMessage(const std::string& text) {
    return "Hittade inte \"" + text + "\".";
}

std::string gridReplacedMessage(int count) {
    if (count == 1) {
        return "1 cell ersattes.";
    }
    return std::to_string(count) + " celler ersattes.";
}

std::string gridReadOnlyReplaceMessage() {
    return "Skrivskyddet är på: inga celler kan ersättas.";
}

} // namespace kv
