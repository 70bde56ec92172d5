#include "bank/BankStatement.h"

#include <array>
#include <cstdio>

namespace kv {

std::string BankDate::text() const {
    std::array<char, 16> out{};
    std::snprintf(out.data(), out.size(), "%04d-%02d-%02d", year, month, day);
    return out.data();
}

std::string bankProblemText(const BankLineProblem& problem) {
    return problem.lineNumber == 0 ? problem.reason
                                   : "rad " + std::to_string(problem.lineNumber) + ": " + problem.reason;
}

} // namespace kv
