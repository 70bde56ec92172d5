// Calendar months. The books store dates as separate numbers; where they are
// compared, a date stands for the first day of its month.
#pragma once

#include <compare>
#include <cstdint>

namespace kv {

struct YearMonth {
    std::int32_t year = 0;
    std::int32_t month = 0; // 1 to 12 in valid data

    // A total order on months that cannot overflow whatever the stored numbers are.
    [[nodiscard]] std::int64_t key() const { return std::int64_t{year} * 12 + (std::int64_t{month} - 1); }
    [[nodiscard]] YearMonth plusMonths(int count) const;

    friend bool operator==(const YearMonth& a, const YearMonth& b) { return a.key() == b.key(); }
    friend std::strong_ordering operator<=>(const YearMonth& a, const YearMonth& b) {
        return a.key() <=> b.key();
    }
};

inline YearMonth YearMonth::plusMonths(int count) const {
    const std::int64_t k = key() + count;
    const auto y = static_cast<std::int32_t>(k >= 0 ? k / 12 : -((-k + 11) / 12));
    return YearMonth{y, static_cast<std::int32_t>(k - std::int64_t{y} * 12 + 1)};
}

} // namespace kv
