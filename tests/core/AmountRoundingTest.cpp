// toOre rounds without the library's round(); it must agree with it on every
// amount a company can hold, halves and the edges of the range included.
#include "model/Amount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace kv {
namespace {

Ore referenceOre(double kronor) {
    if (!std::isfinite(kronor)) {
        return 0;
    }
    const double ore = std::round(kronor * 100.0);
    const auto limit = static_cast<double>(kMaxOre);
    return ore > limit ? kMaxOre : ore < -limit ? -kMaxOre : static_cast<Ore>(ore);
}

TEST(OreRounding, AgreesWithRoundOnHalvesAndEdges) {
    for (const double kronor : {0.005,
                                -0.005,
                                0.015,
                                -0.015,
                                1.005,
                                2.675,
                                123.455,
                                -123.455,
                                0.0049999999999999,
                                12.345,
                                0.0,
                                -0.0,
                                1e-300,
                                999999999999.995,
                                -999999999999.995,
                                999999999999.994,
                                1e12,
                                -1e12,
                                1e12 + 0.01,
                                4503599627370.495,
                                1e300,
                                -1e300}) {
        EXPECT_EQ(toOre(kronor), referenceOre(kronor)) << kronor;
    }
    for (Ore half = -100000; half <= 100000; ++half) {
        const double kronor = (static_cast<double>(half) + 0.5) / 100.0;
        ASSERT_EQ(toOre(kronor), referenceOre(kronor)) << kronor;
    }
}

TEST(OreRounding, AgreesWithRoundOnRandomAmountsAndBitPatterns) {
    std::mt19937_64 random(20231231);
    std::uniform_int_distribution<long long> thousandths(-2'000'000'000'000'000LL, 2'000'000'000'000'000LL);
    for (int i = 0; i < 200000; ++i) {
        const double amount = static_cast<double>(thousandths(random)) / 1000.0;
        ASSERT_EQ(toOre(amount), referenceOre(amount)) << amount;
        const std::uint64_t bits = random();
        double any = 0;
        std::memcpy(&any, &bits, sizeof any);
        ASSERT_EQ(toOre(any), referenceOre(any)) << any;
    }
}

} // namespace
} // namespace kv
