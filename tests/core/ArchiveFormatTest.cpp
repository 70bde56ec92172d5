#include "ArchiveTestSupport.h"
#include "storage/Cp1252.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

using test::Bytes;
using test::writtenBytes;

std::string textBytes(std::string_view utf8) {
    return writtenBytes([utf8](ArchiveWriter& out) { out.writeText(utf8); });
}

// Reads one text and insists that nothing is left over.
std::string readOneText(const std::string& bytes) {
    MemorySource source(bytes);
    ArchiveReader in(source);
    std::string text = in.readText();
    EXPECT_TRUE(in.atEnd());
    return text;
}

TEST(ArchiveText, EmptyTextIsTheSingleByteZero) {
    EXPECT_EQ(textBytes(""), std::string(1, '\0'));
    EXPECT_EQ(readOneText(std::string(1, '\0')), "");
}

TEST(ArchiveText, TextIsStoredAsWindows1252WithItsLengthFirst) {
    EXPECT_EQ(textBytes("Kassa"), Bytes().u8(5).raw("Kassa").str());
    // Four characters, four bytes: the prefix counts bytes on disk, not UTF-8 bytes.
    EXPECT_EQ(textBytes("Årö€"), Bytes().u8(4).raw("\xC5r\xF6\x80").str());
    EXPECT_EQ(readOneText(Bytes().u8(4).raw("\xC5r\xF6\x80")), "Årö€");
}

TEST(ArchiveText, LengthPrefixGrowsAtEachLimit) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const std::vector<Case> cases = {
        {254, Bytes().u8(0xFE)},
        {255, Bytes().u8(0xFF).u16(0x00FF)},
        {300, Bytes().u8(0xFF).u8(0x2C).u8(0x01)},
        {0xFFFD, Bytes().u8(0xFF).u16(0xFFFD)},
        {0xFFFE, Bytes().u8(0xFF).u16(0xFFFF).u32(0xFFFE)},
        {0x12345, Bytes().u8(0xFF).u16(0xFFFF).u32(0x12345)},
    };
    for (const Case& c : cases) {
        // Each character one byte on disk; 'ä' also checks the conversion on long texts.
        std::string text;
        for (std::size_t i = 0; i < c.length; ++i) {
            text += i % 7 == 0 ? "ä" : "x";
        }
        const std::string cp1252 = utf8ToCp1252(text).value_or("");
        ASSERT_EQ(cp1252.size(), c.length);
        EXPECT_EQ(textBytes(text), c.prefix + cp1252) << c.length;
        EXPECT_EQ(readOneText(c.prefix + cp1252), text) << c.length;
    }
}

TEST(ArchiveText, ReaderTakesUtf16TextsMarkedWithFffe) {
    using namespace std::string_literals;
    // 0xFF 0xFFFE, then the length in characters with the usual prefix, then two bytes a character.
    const std::string cutShort = Bytes().u8(0xFF).u16(0xFFFE).u8(4).raw("K\0\xE5\0\x92\x21"s).str();
    EXPECT_THROW(readOneText(cutShort), ArchiveError); // four characters announced, three there
    const std::string text = Bytes().u8(0xFF).u16(0xFFFE).u8(3).raw("K\0\xE5\0\x92\x21"s).str();
    EXPECT_EQ(readOneText(text), "Kå→");

    std::string longUnits;
    for (int i = 0; i < 300; ++i) {
        longUnits += "\xF6\0"s;
    }
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        expected += "ö";
    }
    EXPECT_EQ(readOneText(Bytes().u8(0xFF).u16(0xFFFE).u8(0xFF).u16(300).raw(longUnits)), expected);
    EXPECT_EQ(readOneText(Bytes().u8(0xFF).u16(0xFFFE).u8(0)), "");
}

TEST(ArchiveText, WriterRefusesCharactersWindows1252CannotHold) {
    StringSink sink;
    ArchiveWriter out(sink);
    try {
        out.writeText("Hyra → lokal");
        FAIL() << "the text was written";
    } catch (const ArchiveError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("→"), std::string::npos) << message;
        EXPECT_NE(message.find("inte kan sparas"), std::string::npos) << message;
    }
    EXPECT_THROW(out.writeText("Łódź"), ArchiveError);
    EXPECT_THROW(out.writeText("glad 😀"), ArchiveError);
    EXPECT_THROW(out.writeText("trasig \xC3"), ArchiveError);
    out.flush();
    EXPECT_TRUE(sink.bytes().empty()); // nothing half-written
}

TEST(ArchiveCount, SmallCountsAreOneWordLargeOnesTakeFourMoreBytes) {
    struct Case {
        std::size_t count;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {0, Bytes().u16(0)},
        {40, Bytes().u16(40)},
        {0xFFFE, Bytes().u16(0xFFFE)},
        {0xFFFF, Bytes().u16(0xFFFF).u32(0xFFFF)},
        {0x123456, Bytes().u16(0xFFFF).u32(0x123456)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(writtenBytes([&c](ArchiveWriter& out) { out.writeCount(c.count); }), c.bytes) << c.count;
        MemorySource source(c.bytes);
        ArchiveReader in(source);
        EXPECT_EQ(in.readCount(0), c.count);
        EXPECT_TRUE(in.atEnd());
    }
}

TEST(ArchivePrimitives, AreLittleEndianWithoutPadding) {
    const std::string bytes = writtenBytes([](ArchiveWriter& out) {
        out.writeInt32(-2);
        out.writeUInt16(0x1234);
        out.writeDouble(1.5);
        out.writeInt32Array({1, -1});
    });
    const std::string expected = Bytes()
                                     .u32(0xFFFFFFFE)
                                     .u8(0x34)
                                     .u8(0x12)
                                     .raw(std::string("\0\0\0\0\0\0\xF8\x3F", 8))
                                     .u16(2)
                                     .i32(1)
                                     .i32(-1);
    EXPECT_EQ(bytes, expected);

    MemorySource source(bytes);
    ArchiveReader in(source);
    EXPECT_EQ(in.readInt32(), -2);
    EXPECT_EQ(in.readUInt16(), 0x1234);
    EXPECT_EQ(in.readDouble(), 1.5);
    EXPECT_EQ(in.readInt32Array(), (std::vector<std::int32_t>{1, -1}));
    EXPECT_TRUE(in.atEnd());
}

TEST(ArchiveObjects, ClassesAndObjectsShareOneCounterFromOne) {
    int first = 0;
    int second = 0;
    const std::string bytes = writtenBytes([&](ArchiveWriter& out) {
        out.writeNull();
        EXPECT_TRUE(out.writeSharedObjectTag(&first, ArchiveClass::Konto));  // class 1, object 2
        EXPECT_TRUE(out.writeSharedObjectTag(&second, ArchiveClass::Konto)); // object 3
        out.writeNewObjectTag(ArchiveClass::Kontorad);                       // class 4, object 5
        out.writeNewObjectTag(ArchiveClass::Kontorad);                       // object 6
        EXPECT_FALSE(out.writeSharedObjectTag(&second, ArchiveClass::Konto));
        EXPECT_FALSE(out.writeSharedObjectTag(&first, ArchiveClass::Konto));
        EXPECT_FALSE(out.writeSharedObjectTag(nullptr, ArchiveClass::Konto));
    });
    const std::string expected = Bytes()
                                     .u16(0x0000)
                                     .newClass("CKonto")
                                     .u16(0x8001)
                                     .newClass("CKontorad")
                                     .u16(0x8004)
                                     .u16(3)
                                     .u16(2)
                                     .u16(0x0000);
    ASSERT_EQ(bytes, expected);

    MemorySource source(bytes);
    ArchiveReader in(source);
    using Kind = ArchiveReader::RefKind;
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Konto).kind, Kind::Null);
    const auto a = in.readObjectTag(ArchiveClass::Konto);
    EXPECT_EQ(a.kind, Kind::New);
    EXPECT_EQ(a.number, 2u);
    in.bind(a.number, &first);
    const auto b = in.readObjectTag(ArchiveClass::Konto);
    EXPECT_EQ(b.number, 3u);
    in.bind(b.number, &second);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Kontorad).number, 5u);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Kontorad).number, 6u);
    const auto backB = in.readObjectTag(ArchiveClass::Konto);
    EXPECT_EQ(backB.kind, Kind::Back);
    EXPECT_EQ(backB.object, &second);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Konto).object, &first);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Konto).kind, Kind::Null);
    EXPECT_TRUE(in.atEnd());
}

// Numbers from 0x7FFF on no longer fit a tag word: they take 0x7FFF and four bytes.
TEST(ArchiveObjects, BackReferencesFrom7fffUseTheLongForm) {
    // Class "CKontorad" is 1; objects[i] gets number i + 2, up to 0x8000.
    std::vector<int> objects(0x7FFF);
    const std::string bytes = writtenBytes([&](ArchiveWriter& out) {
        for (int& object : objects) {
            out.writeSharedObjectTag(&object, ArchiveClass::Kontorad);
        }
        out.writeNewObjectTag(ArchiveClass::Konto); // a new class is 0xFFFF at any number: 0x8001
        out.writeNewObjectTag(ArchiveClass::Konto); // its objects use the long class form
        out.writeNewObjectTag(ArchiveClass::Kontorad);
        out.writeSharedObjectTag(&objects[0x7FFD - 2], ArchiveClass::Kontorad);
        out.writeSharedObjectTag(&objects[0x7FFE - 2], ArchiveClass::Kontorad);
        out.writeSharedObjectTag(&objects[0x7FFF - 2], ArchiveClass::Kontorad);
        out.writeSharedObjectTag(&objects[0x8000 - 2], ArchiveClass::Kontorad);
    });
    Bytes expected;
    expected.newClass("CKontorad");
    for (std::size_t i = 1; i < objects.size(); ++i) {
        expected.u16(0x8001);
    }
    expected.newClass("CKonto")
        .u16(0x7FFF)
        .u32(0x80000000U | 0x8001)
        .u16(0x8001)
        .u16(0x7FFD)
        .u16(0x7FFE)
        .u16(0x7FFF)
        .u32(0x7FFF)
        .u16(0x7FFF)
        .u32(0x8000);
    ASSERT_EQ(bytes.size(), expected.str().size());
    EXPECT_EQ(bytes, expected.str());

    MemorySource source(bytes);
    ArchiveReader in(source);
    for (int& object : objects) {
        const auto ref = in.readObjectTag(ArchiveClass::Kontorad);
        ASSERT_EQ(ref.kind, ArchiveReader::RefKind::New);
        in.bind(ref.number, &object);
    }
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Konto).number, 0x8002u);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Konto).number, 0x8003u);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Kontorad).number, 0x8004u);
    for (const std::uint32_t number : {0x7FFDu, 0x7FFEu, 0x7FFFu, 0x8000u}) {
        const auto ref = in.readObjectTag(ArchiveClass::Kontorad);
        EXPECT_EQ(ref.kind, ArchiveReader::RefKind::Back);
        EXPECT_EQ(ref.number, number);
        EXPECT_EQ(ref.object, &objects[number - 2]);
    }
    EXPECT_TRUE(in.atEnd());
}

TEST(ArchiveObjects, ClassNumbersFrom7fffUseTheLongFormWithTheTopBitSet) {
    // "CKontorad" is 1 and its objects 2 .. 0x7FFD, so "CKonto" becomes 0x7FFE
    // (its object 0x7FFF) and "CAutomoms" 0x8000 (its object 0x8001).
    const std::string bytes = writtenBytes([](ArchiveWriter& out) {
        for (std::uint32_t number = 2; number <= 0x7FFD; ++number) {
            out.writeNewObjectTag(ArchiveClass::Kontorad);
        }
        out.writeNewObjectTag(ArchiveClass::Konto);
        out.writeNewObjectTag(ArchiveClass::Automoms);
        out.writeNewObjectTag(ArchiveClass::Konto);
        out.writeNewObjectTag(ArchiveClass::Automoms);
        out.writeNewObjectTag(ArchiveClass::Kontorad);
    });
    Bytes expected;
    expected.newClass("CKontorad");
    for (std::uint32_t number = 3; number <= 0x7FFD; ++number) {
        expected.u16(0x8001);
    }
    expected.newClass("CKonto").newClass("CAutomoms").u16(0xFFFE).u16(0x7FFF).u32(0x80008000U).u16(0x8001);
    EXPECT_EQ(bytes, expected.str());

    MemorySource source(bytes);
    ArchiveReader in(source);
    for (std::uint32_t number = 2; number <= 0x7FFD; ++number) {
        ASSERT_EQ(in.readObjectTag(ArchiveClass::Kontorad).number, number);
    }
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Konto).number, 0x7FFFu);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Automoms).number, 0x8001u);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Konto).number, 0x8002u);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Automoms).number, 0x8003u);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Kontorad).number, 0x8004u);
    EXPECT_TRUE(in.atEnd());
}

TEST(ArchiveObjects, ReaderTakesTheLongFormForSmallNumbersToo) {
    // Another writer may use the long form below 0x7FFF; it means the same.
    int konto = 0;
    const std::string bytes =
        Bytes().newClass("CKonto").u16(0x7FFF).u32(0x80000001U).u16(0x7FFF).u32(2).u16(0x7FFF).u32(3);
    MemorySource source(bytes);
    ArchiveReader in(source);
    in.bind(in.readObjectTag(ArchiveClass::Konto).number, &konto);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Konto).number, 3u);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Konto).object, &konto);
    EXPECT_EQ(in.readObjectTag(ArchiveClass::Konto).kind, ArchiveReader::RefKind::Back);
}

} // namespace
} // namespace kv
