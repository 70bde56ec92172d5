// A bank file that cannot be read at all, and the limits on what one may
// make the program take.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace kv {

// The whole message for the user, in Swedish.
class BankFileError : public std::runtime_error {
public:
    explicit BankFileError(const std::string& message) : std::runtime_error(message) {}
};

// Far beyond a year's statement of a small firm; bounds the memory a file
// can make the readers take (the XML tree of a camt file is about three
// times its size).
inline constexpr std::size_t kMaxBankFileBytes = 50u * 1024u * 1024u;
inline constexpr std::size_t kMaxBankLines = 200'000;
// The lines that could not be read are listed up to this many; one more
// problem then says how many more there were.
inline constexpr std::size_t kMaxBankProblems = 1000;

} // namespace kv
