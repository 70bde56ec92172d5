#include "voucher/VoucherNumbers.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace kv {

std::string withDecimalPoint(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

bool isNumberText(const std::string& text) {
    const std::string pointed = withDecimalPoint(text);
    if (pointed == ".") {
        return false;
    }
    return std::count(pointed.begin(), pointed.end(), '.') <= 1 &&
           std::all_of(pointed.begin(), pointed.end(),
                       [](char c) { return c == '.' || (c >= '0' && c <= '9'); });
}

double numberValue(const std::string& text) {
    if (text.empty() || !isNumberText(text)) {
        return 0.0;
    }
    return std::strtod(withDecimalPoint(text).c_str(), nullptr);
}

bool isWholeNumberText(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string twoDecimals(double value) {
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%0.2f", value);
    return buffer.data();
}

} // namespace kv
