#include "model/Amount.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(FormatAmount, GroupsThousandsAndMillionsWithBlanks) {
    EXPECT_EQ(FormatAmount(1234567.5), "1 234 567.50");
    EXPECT_EQ(FormatAmount(1234567.891), "1 234 567.89");
    EXPECT_EQ(FormatAmount(999.5), "999.50");
    EXPECT_EQ(FormatAmount(1000), "1 000.00");
    EXPECT_EQ(FormatAmount(0), "0.00");
    // The minus sign counts as a character, so the second blank follows it.
    EXPECT_EQ(FormatAmount(-123456.78), "- 123 456.78");
    EXPECT_EQ(FormatAmount(-1234.5), "-1 234.50");
    EXPECT_EQ(FormatAmount(-999.99), "- 999.99");
    EXPECT_EQ(FormatAmount(-99.99), "-99.99");
}

TEST(FormatAmount, NeverShowsMinusZero) {
    EXPECT_EQ(FormatAmount(-0.0), "0.00");
    EXPECT_EQ(FormatAmount(-0.004), "0.00");
    EXPECT_EQ(FormatAmount(0.1 + 0.2 - 0.3), "0.00");
}

TEST(Ore, SumsOfRoundedAmountsAreExact) {
    Ore sum = 0;
    for (int i = 0; i < 10; ++i) {
        sum = addOre(sum, toOre(0.1));
    }
    sum = addOre(sum, -toOre(1.0));
    EXPECT_EQ(sum, 0);
    EXPECT_EQ(toOre(12.345), 1235);
    EXPECT_EQ(toOre(-12.345), -1235);
}

TEST(Ore, OddValuesCannotBreakArithmetic) {
    EXPECT_EQ(toOre(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(toOre(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(toOre(1e300), toOre(kMaxAmount));
    EXPECT_EQ(addOre(std::numeric_limits<Ore>::max(), 1), std::numeric_limits<Ore>::max());
    EXPECT_EQ(addOre(std::numeric_limits<Ore>::min(), -1), std::numeric_limits<Ore>::min());
}

TEST(TypedAmount, AcceptsACommaOrAPointAsDecimalSeparator) {
    EXPECT_EQ(parseTypedAmount("12,5"), 12.5);
    EXPECT_EQ(parseTypedAmount("12.5"), 12.5);
    EXPECT_EQ(parseTypedAmount(" 1250 "), 1250.0);
    EXPECT_EQ(parseTypedAmount("-3,25"), -3.25);
    EXPECT_EQ(parseTypedAmount(",5"), 0.5);
    EXPECT_EQ(parseTypedAmount("."), std::nullopt);
    EXPECT_EQ(parseTypedAmount(""), std::nullopt);
    EXPECT_EQ(parseTypedAmount("1,2,3"), std::nullopt);
    EXPECT_EQ(parseTypedAmount("1 000"), std::nullopt);
    EXPECT_EQ(parseTypedAmount("12a"), std::nullopt);
    EXPECT_EQ(parseTypedAmount("1-2"), std::nullopt);
    EXPECT_EQ(parseTypedAmount("9999999999999"), std::nullopt);
}

} // namespace
} // namespace kv
