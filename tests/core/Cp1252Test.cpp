#include "storage/Cp1252.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(Cp1252, EveryByteValueSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int value = 0; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        const std::string utf8 = cp1252ToUtf8(byte);
        EXPECT_TRUE(fitsCp1252(utf8)) << "byte " << value;
        EXPECT_EQ(utf8ToCp1252(utf8), byte) << "byte " << value;
        all += byte;
    }
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(Cp1252, DecodesToTheCharactersWindowsShows) {
    EXPECT_EQ(cp1252ToUtf8("\x80"), "€");
    EXPECT_EQ(cp1252ToUtf8("\x8A\x9A\x9F"), "ŠšŸ");
    EXPECT_EQ(cp1252ToUtf8("\x96\x97\x85"), "–—…");
    EXPECT_EQ(cp1252ToUtf8("\xA0"), "\u00A0");
    EXPECT_EQ(cp1252ToUtf8("\xFF"), "ÿ");
    // The five undefined bytes stand for the C1 controls of the same value.
    EXPECT_EQ(cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
}

TEST(Cp1252, SwedishLettersAreSingleBytes) {
    EXPECT_EQ(utf8ToCp1252("åäöÅÄÖ"), "\xE5\xE4\xF6\xC5\xC4\xD6");
    EXPECT_EQ(cp1252ToUtf8("\xE5\xE4\xF6\xC5\xC4\xD6"), "åäöÅÄÖ");
    EXPECT_EQ(utf8ToCp1252("Räkenskapsperiodens resultat 100 €"), "R\xE4kenskapsperiodens resultat 100 \x80");
}

TEST(Cp1252, RefusesCharactersItCannotHold) {
    for (const char* text : {"ł", "Kassa → bank", "Tack 😀", "Ω", "\u0080", "\u009F", "\u0100"}) {
        EXPECT_EQ(utf8ToCp1252(text), std::nullopt) << text;
        EXPECT_FALSE(fitsCp1252(text)) << text;
    }
    EXPECT_EQ(firstUnstorableCharacter("Kassa → bank ł"), "→");
    EXPECT_EQ(firstUnstorableCharacter("Łódź"), "Ł");
    EXPECT_EQ(firstUnstorableCharacter("glad 😀"), "😀");
    EXPECT_EQ(firstUnstorableCharacter("Öre och €"), "");
}

TEST(Cp1252, RefusesInvalidUtf8) {
    const char* invalid[] = {
        "\x80",             // a continuation byte alone
        "a\xC3",            // a sequence cut short
        "\xC3(",            // a lead byte without continuation
        "\xC0\xAF",         // an overlong form of "/"
        "\xE0\x80\xAF",     // another overlong form
        "\xED\xA0\x80",     // a surrogate
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        "\xF8\x88\x80\x80\x80",
        "\xFF",
    };
    for (const char* text : invalid) {
        EXPECT_EQ(utf8ToCp1252(text), std::nullopt) << text;
        EXPECT_FALSE(fitsCp1252(text)) << text;
        EXPECT_FALSE(firstUnstorableCharacter(text).empty()) << text;
    }
}

TEST(Cp1252, Utf16TextsBecomeUtf8) {
    using namespace std::string_literals;
    EXPECT_EQ(utf16leToUtf8("h\0\xE5\0\x92\x21"s), "hå→");
    // A surrogate pair is one character; an unpaired surrogate is replaced.
    EXPECT_EQ(utf16leToUtf8("\x3D\xD8\x00\xDE"s), "😀");
    EXPECT_EQ(utf16leToUtf8("\x3D\xD8x\0"s), "\uFFFDx");
    EXPECT_EQ(utf16leToUtf8("\x00\xDE"s), "\uFFFD");
}

} // namespace
} // namespace kv
