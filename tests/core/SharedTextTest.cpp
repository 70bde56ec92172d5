// The texts of the books: shared blocks that live exactly as long as a text
// needs them, the reader's store and names, and the Windows-1252 conversion
// that fills them.
#include "model/SharedText.h"
#include "ArchiveTestSupport.h"
#include "storage/Archive.h"
#include "storage/Cp1252.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv {
namespace {

using detail::liveTextBlocks;

// Texts of every kind of length: none, short, Swedish, and past the store's own-block limit.
std::vector<std::string> sampleTexts() {
    return {"", "a", "Ingående balans", "Försäljning varor 25 %",
            std::string(TextStore::kMaxBlock, 'x') + "ö"};
}

TEST(SharedText, BytesLiveWhileATextSharesThem) {
    struct Case {
        const char* name;
        // Does something to a text that holds text, and returns what should hold it now.
        std::function<SharedText(SharedText, const std::string& text)> act;
    };
    const std::vector<Case> cases = {
        {"copy outlives the original",
         [](SharedText original, const std::string&) {
             SharedText copy(original);
             original.clear();
             return copy;
         }},
        {"move leaves the source empty",
         [](SharedText original, const std::string&) {
             SharedText moved(std::move(original));
             EXPECT_TRUE(original.empty()); // NOLINT(bugprone-use-after-move): a moved text is empty
             return moved;
         }},
        {"assigned over another text",
         [](SharedText original, const std::string&) {
             SharedText other("Annan text som går");
             other = original;
             return other;
         }},
        {"assigned to itself",
         [](SharedText original, const std::string&) {
             SharedText& same = original;
             original = same;
             original = std::move(same);
             return original;
         }},
        {"made again from a string",
         [](SharedText original, const std::string& text) {
             original = std::string(text);
             return original;
         }},
    };
    const std::size_t before = liveTextBlocks();
    for (const Case& c : cases) {
        for (const std::string& text : sampleTexts()) {
            {
                const SharedText result = c.act(SharedText(text), text);
                EXPECT_EQ(result, text) << c.name << " (" << text.size() << " bytes)";
                EXPECT_EQ(result.size(), text.size()) << c.name;
                EXPECT_EQ(std::string(result), text) << c.name;
            }
            EXPECT_EQ(liveTextBlocks(), before) << c.name << " (" << text.size() << " bytes)";
        }
    }
}

TEST(TextStore, TextsOutliveTheStoreAndTheirBlocksGoWithTheLast) {
    struct Case {
        const char* name;
        std::vector<std::size_t> sizes;
        // Which texts to drop first, while the store still fills its blocks.
        std::function<bool(std::size_t index)> dropEarly;
    };
    std::vector<std::size_t> manySmall(3000, 37); // over several blocks
    std::vector<std::size_t> mixed = {0, 5, TextStore::kMaxBlock / 4 + 1, 12, 0, TextStore::kMaxBlock, 3};
    const std::vector<Case> cases = {
        {"many small, none dropped", manySmall, [](std::size_t) { return false; }},
        {"many small, every other dropped early", manySmall, [](std::size_t i) { return i % 2 == 0; }},
        {"every one dropped early", manySmall, [](std::size_t) { return true; }},
        {"long and empty texts between short ones", mixed, [](std::size_t i) { return i == 2; }},
    };
    const std::size_t before = liveTextBlocks();
    for (const Case& c : cases) {
        std::vector<std::optional<SharedText>> texts;
        std::vector<std::string> expected;
        {
            TextStore store;
            for (std::size_t i = 0; i < c.sizes.size(); ++i) {
                expected.push_back(std::string(c.sizes[i], static_cast<char>('a' + i % 26)));
                texts.emplace_back(store.add(expected.back()));
                if (c.dropEarly(i)) {
                    texts.back().reset();
                }
            }
            store.reserve(100); // room reserved and never used
            store.reserve(TextStore::kMaxBlock);
        }
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (texts[i]) {
                EXPECT_EQ(*texts[i], expected[i]) << c.name << ", text " << i;
            }
        }
        texts.clear();
        EXPECT_EQ(liveTextBlocks(), before) << c.name;
    }
}

TEST(TextCopies, CopiesAreCountedWhenTheCopierGoes) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t copies;
        std::size_t droppedEarly; // copies dropped while the copier lives
    };
    const std::vector<Case> cases = {
        {"kept copies", "Kundfordringar", 5, 0},
        {"some dropped", "Kundfordringar", 5, 3},
        {"all dropped", "Kundfordringar", 5, 5},
        {"no copies", "Kundfordringar", 0, 0},
        {"empty text", "", 3, 1},
    };
    const std::size_t before = liveTextBlocks();
    for (const Case& c : cases) {
        std::vector<SharedText> kept;
        {
            TextStore store;
            TextCopies copier(store.add(c.text));
            std::vector<SharedText> copies;
            for (std::size_t i = 0; i < c.copies; ++i) {
                copies.push_back(copier.copy());
                EXPECT_EQ(copies.back().data(), copier.text().data()) << c.name; // the same bytes
            }
            copies.erase(copies.begin(), copies.begin() + static_cast<std::ptrdiff_t>(c.droppedEarly));
            kept = std::move(copies);
        }
        for (const SharedText& copy : kept) {
            EXPECT_EQ(copy, c.text) << c.name;
        }
        kept.clear();
        EXPECT_EQ(liveTextBlocks(), before) << c.name;
    }
}

// Each byte the simple way: its code point, appended as UTF-8.
std::string referenceUtf8(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        out += cp1252ToUtf8(std::string_view(&c, 1));
    }
    return out;
}

TEST(Cp1252, EveryByteConvertsAtEveryPlaceInAWord) {
    TextStore store;
    for (int byte = 1; byte < 256; ++byte) {
        for (std::size_t length : {1U, 7U, 8U, 9U, 17U}) {
            for (std::size_t at = 0; at < length; ++at) {
                std::string bytes(length, 'k');
                bytes[at] = static_cast<char>(byte);
                if (at + 1 < length) {
                    bytes[length - 1] = '\xE4'; // a second letter above 127 after it
                }
                const std::string expected = referenceUtf8(bytes);
                ASSERT_EQ(cp1252ToUtf8(bytes), expected)
                    << "byte " << byte << " at " << at << " of " << length;
                ASSERT_EQ(cp1252ToUtf8(bytes, store), expected) << "byte " << byte << " at " << at;
            }
        }
    }
}

TEST(ArchiveReader, EqualNamesShareTheirBytes) {
    struct Case {
        const char* name;
        std::vector<std::string> names;
        bool utf16 = false;
    };
    const std::vector<Case> cases = {
        {"repeated names", {"Bank", "Kassa", "Bank", "Försäljning varor 25 %", "Kassa", "Bank"}},
        {"short and empty", {"", "a", "", "a", "ab"}},
        {"names sharing their ends",
         {"Försäljning varor 25 %", "Försäljning tjänster 25 %", "Försäljning varor 25 %"}},
        {"longer than the cache takes", {std::string(60, 'n'), std::string(60, 'n'), "Bank"}},
        {"UTF-16 names", {"Bank", "Bank"}, true},
    };
    for (const Case& c : cases) {
        std::string file;
        if (c.utf16) {
            // A UTF-16 text: the marker 0xFF 0xFFFE, its length in units, then the units.
            for (const std::string& name : c.names) {
                file += std::string("\xFF\xFE\xFF", 3) + static_cast<char>(name.size());
                for (const char ch : name) {
                    file += ch;
                    file += '\0';
                }
            }
        } else {
            file = test::writtenBytes([&c](ArchiveWriter& out) {
                for (const std::string& name : c.names) {
                    out.writeText(name);
                }
            });
        }
        MemorySource source(file);
        ArchiveReader in(source);
        std::vector<SharedText> read(c.names.size());
        for (SharedText& text : read) {
            in.readName(text);
        }
        EXPECT_TRUE(in.atEnd()) << c.name;
        for (std::size_t i = 0; i < read.size(); ++i) {
            EXPECT_EQ(read[i], c.names[i]) << c.name << ", name " << i;
            for (std::size_t j = 0; j < i; ++j) {
                const bool shareable = !c.utf16 && !c.names[i].empty() && c.names[i].size() <= 48;
                if (c.names[i] == c.names[j] && shareable) {
                    EXPECT_EQ(read[i].data(), read[j].data()) << c.name << ", names " << j << " and " << i;
                } else if (c.names[i] != c.names[j]) {
                    EXPECT_NE(read[i].data(), read[j].data()) << c.name << ", names " << j << " and " << i;
                }
            }
        }
    }
}

} // namespace
} // namespace kv
