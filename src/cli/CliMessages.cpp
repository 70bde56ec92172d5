#include "CliMessages.h"

#include <iostream>

namespace kv::cli {

std::string oneLine(const std::string& message) {
    std::string line;
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message.compare(i, 2, "\n\n") == 0) {
            line += ": ";
            ++i;
        } else {
            line += message[i] == '\n' ? ' ' : message[i];
        }
    }
    return line;
}

int failWith(const std::string& message) {
    std::cerr << "kvistoran-cli: " << oneLine(message) << '\n';
    return 1;
}

void printNotes(const std::vector<std::string>& messages) {
    for (const std::string& message : messages) {
        std::cerr << "kvistoran-cli: " << oneLine(message) << '\n';
    }
}

} // namespace kv::cli
