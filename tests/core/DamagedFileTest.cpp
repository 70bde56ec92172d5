#include "ArchiveTestSupport.h"
#include "TestSupport.h"
#include "storage/Cp1252.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace kv {
namespace {

using test::Bytes;

// What reading the bytes as a company file says: empty when the read succeeds.
std::string companyError(std::string_view bytes) {
    try {
        test::readCompanyBytes(bytes);
    } catch (const ArchiveError& error) {
        const std::string message = error.what();
        return message.empty() ? "(tomt meddelande)" : message;
    }
    return {};
}

std::string periodError(std::string_view bytes) {
    try {
        test::readPeriodBytes(bytes);
    } catch (const ArchiveError& error) {
        return error.what();
    }
    return {};
}

std::string templateError(std::string_view bytes) {
    try {
        test::readTemplateBytes(bytes);
    } catch (const ArchiveError& error) {
        return error.what();
    }
    return {};
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A small company that still holds every kind of object: accounts with rows,
// vouchers, a VAT rule, periods with opening balances and two grid states.
// Its archive numbers: grid-state class 1, grids 2 and 3, "CKonto" 4, the
// heading "INTÄKTER" 5, account 3000 6, "CKontorad" 7, 3000's row 8, 3010 9.
class DamagedFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_bytes = test::companyBytes(m_doc);
        ASSERT_EQ(companyError(m_bytes), "");
    }

    std::size_t find(const std::string& pattern) const {
        const std::size_t pos = m_bytes.find(pattern);
        EXPECT_NE(pos, std::string::npos);
        EXPECT_EQ(m_bytes.find(pattern, pos + 1), std::string::npos) << "the pattern is not unique";
        return pos == std::string::npos ? 0 : pos;
    }

    // The error of the company file with the word at pos replaced.
    std::string withU16(std::size_t pos, std::uint16_t value) const {
        std::string bytes = m_bytes;
        test::putU16(bytes, pos, value);
        return companyError(bytes);
    }
    std::string withI32(std::size_t pos, std::int32_t value) const {
        std::string bytes = m_bytes;
        test::putI32(bytes, pos, value);
        return companyError(bytes);
    }
    std::string withDouble(std::size_t pos, double value) const {
        std::string bytes = m_bytes;
        bytes.replace(pos, 8, Bytes().f64(value).str());
        return companyError(bytes);
    }
    // The error with the bytes [pos, pos + length) replaced by others.
    std::string withReplaced(std::size_t pos, std::size_t length, const std::string& replacement) const {
        std::string bytes = m_bytes;
        bytes.replace(pos, length, replacement);
        return companyError(bytes);
    }

    std::size_t subsets() const { return find(test::subsetBytes(m_doc, 4)); }

    const CompanyState m_doc = test::fullCompany();
    std::string m_bytes;
};

TEST_F(DamagedFile, TruncatedAtAnyOffsetIsRefused) {
    const std::string period = test::periodBytes(m_doc, "Firma.bok");
    TemplateList templates;
    templates.push_back(std::make_unique<CKontoplan>());
    templates.back()->m_strNamn = "Mall";
    templates.back()->m_konton = copyKontoList(m_doc.m_allaKonton);
    templates.back()->m_momsregler = m_doc.m_momsregler;
    const std::string mallar = test::templateBytes(templates);
    ASSERT_EQ(periodError(period), "");
    ASSERT_EQ(templateError(mallar), "");

    const std::string_view company = m_bytes;
    for (std::size_t size = 0; size < company.size(); ++size) {
        if (companyError(company.substr(0, size)).empty()) {
            ADD_FAILURE() << "the company file cut at " << size << " of " << company.size() << " was read";
        }
    }
    for (std::size_t size = 0; size < period.size(); ++size) {
        if (periodError(std::string_view(period).substr(0, size)).empty()) {
            ADD_FAILURE() << "the period file cut at " << size << " was read";
        }
    }
    for (std::size_t size = 0; size < mallar.size(); ++size) {
        if (templateError(std::string_view(mallar).substr(0, size)).empty()) {
            ADD_FAILURE() << "the template file cut at " << size << " was read";
        }
    }
    EXPECT_TRUE(contains(companyError(std::string_view()), "tar slut"));
    EXPECT_TRUE(contains(companyError(company.substr(0, company.size() / 2)), "tar slut"));
}

TEST_F(DamagedFile, WrongObjectTagsAreRefused) {
    const std::size_t tag3010 = find(Bytes().u16(0x8004).i32(3010));

    EXPECT_TRUE(contains(withU16(tag3010, 0x0004), "en klass där ett objekt väntas"));
    EXPECT_TRUE(contains(withU16(tag3010, 0x0009), "ett objekt som inte finns (nummer 9)"));
    EXPECT_TRUE(contains(withU16(tag3010, 0x7000), "ett objekt som inte finns"));
    EXPECT_TRUE(contains(withU16(tag3010, 0x8005), "ett objekt där en klass väntas"));
    EXPECT_TRUE(contains(withU16(tag3010, 0x8009), "en klass som inte finns"));
    EXPECT_TRUE(contains(withU16(tag3010, 0x8000), "en klass som inte finns (nummer 0)"));
    EXPECT_TRUE(contains(withU16(tag3010, 0x8007), "klassen \"CKontorad\" där \"CKonto\" väntas"));
    EXPECT_TRUE(contains(withU16(tag3010, 0x8001), "klassen \"CGXGridParam\" där \"CKonto\" väntas"));
    EXPECT_TRUE(
        contains(withReplaced(tag3010, 2, Bytes().u16(0x7FFF).u32(0x80000007U)), "\"CKontorad\" där"));
    EXPECT_TRUE(
        contains(withReplaced(tag3010, 2, Bytes().u16(0x7FFF).u32(0x8FFFFFFFU)), "klass som inte finns"));
    // The owning list must not hold an account twice, nor an empty place.
    EXPECT_TRUE(contains(withU16(tag3010, 0x0006), "samma \"CKonto\" på två ställen"));
    EXPECT_TRUE(contains(withU16(tag3010, 0x0000), "en tom plats i en lista"));
}

TEST_F(DamagedFile, UnknownClassesAndSchemasAreRefused) {
    const std::size_t konto = find(Bytes().newClass("CKonto"));
    EXPECT_TRUE(contains(withReplaced(konto + 6, 6, "CKonta"), "okänd klass (\"CKonta\")"));
    EXPECT_TRUE(
        contains(withReplaced(konto + 4, 8, Bytes().u16(7).raw("CKonto\xE5")), "okänd klass (\"CKontoå\")"));
    EXPECT_TRUE(contains(withU16(konto + 2, 2), "i en okänd version (2)"));
    EXPECT_TRUE(contains(withU16(konto + 2, 0), "i en okänd version (0)"));
    EXPECT_TRUE(contains(withU16(konto + 4, 0xFFFF), "tar slut"));
    // A known class in the wrong place.
    const std::size_t verifikat = find(Bytes().newClass("CEttVerifikat"));
    EXPECT_TRUE(contains(withReplaced(verifikat + 6, 13, "CVerifikatrad"),
                         "klassen \"CVerifikatrad\" där \"CEttVerifikat\" väntas"));
    EXPECT_TRUE(contains(withU16(16, 0x8001), "klass som inte finns (nummer 1)"));
}

TEST_F(DamagedFile, SubsetsMayOnlyReferToAccountsOfTheCompanyOnce) {
    const std::size_t res = subsets();
    const std::size_t bal = res + 2 + 2 * m_doc.m_resKonton.size();
    ASSERT_EQ(test::u16At(m_bytes, res), m_doc.m_resKonton.size());
    ASSERT_EQ(test::u16At(m_bytes, res + 2), 5);

    EXPECT_TRUE(contains(withU16(res + 2, 0x8004), "som inte finns bland företagets konton"));
    EXPECT_TRUE(contains(withU16(res + 2, 0x0000), "som inte finns bland företagets konton"));
    EXPECT_TRUE(contains(withU16(res + 2, 8), "klassen \"CKontorad\" där \"CKonto\" väntas"));
    EXPECT_TRUE(contains(withU16(res + 2, 4), "en klass där ett objekt väntas"));
    EXPECT_TRUE(contains(withU16(res + 4, 5), "samma konto två gånger"));
    EXPECT_TRUE(contains(withU16(bal + 2, 5), "samma konto två gånger"));
}

TEST_F(DamagedFile, HugeCountsAndLengthsAreRefusedBeforeAnythingIsAllocated) {
    const std::string huge = Bytes().u16(0xFFFF).u32(0xFFFFFFF0U);
    const std::size_t allaKonton = find(Bytes().newClass("CKonto")) - 2;
    EXPECT_TRUE(contains(withReplaced(allaKonton, 2, huge), "antal (4294967280)"));
    EXPECT_TRUE(contains(withReplaced(allaKonton, 2, Bytes().u16(0xFFFE)), "antal"));
    const std::size_t verifikat = find(Bytes().newClass("CEttVerifikat")) - 2;
    EXPECT_TRUE(contains(withReplaced(verifikat, 2, huge), "antal"));
    const std::size_t numbers = subsets() + test::subsetBytes(m_doc, 4).size();
    EXPECT_TRUE(contains(withReplaced(numbers, 2, huge), "antal"));
    const std::size_t rows = find(Bytes().newClass("CKontorad")) - 2;
    EXPECT_TRUE(contains(withReplaced(rows, 2, huge), "antal"));

    const std::string name = utf8ToCp1252(m_doc.m_strFilnamn).value_or("");
    const std::size_t filnamn = find(Bytes().text(name));
    EXPECT_TRUE(
        contains(withReplaced(filnamn, 1, Bytes().u8(0xFF).u16(0xFFFF).u32(0xFFFFFFF0U)), "tar slut"));
    EXPECT_TRUE(contains(withReplaced(filnamn, 1, Bytes().u8(0xFF).u16(0xFFFD)), "tar slut"));
    EXPECT_TRUE(
        contains(withReplaced(filnamn, 1, Bytes().u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(0xFFFFFFFFU)),
                 "tar slut"));
    EXPECT_TRUE(contains(withReplaced(filnamn, 1, Bytes().u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFE)),
                         "felaktig text"));
}

TEST_F(DamagedFile, AmountsThatAreNotFiniteAreRefused) {
    const std::size_t rad = find(Bytes().newClass("CKontorad")) + 15 + 16; // after the four int32
    ASSERT_EQ(m_bytes.substr(rad + 8, 8), Bytes().f64(1000.4).str());
    EXPECT_TRUE(contains(withDouble(rad, std::numeric_limits<double>::quiet_NaN()), "ogiltigt belopp"));
    EXPECT_TRUE(contains(withDouble(rad + 8, -std::numeric_limits<double>::infinity()), "ogiltigt belopp"));
    EXPECT_TRUE(contains(withDouble(rad + 16, 1e300), "ogiltigt belopp"));
    const std::size_t moms = find(Bytes().newClass("CAutomoms")) + 15;
    ASSERT_EQ(m_bytes.substr(moms, 8), Bytes().f64(12.5).str());
    EXPECT_TRUE(contains(withDouble(moms, std::numeric_limits<double>::infinity()), "ogiltigt belopp"));
    EXPECT_EQ(withDouble(moms, -0.0), "");
}

TEST_F(DamagedFile, OpenPeriodOutsideTheListOfPeriodsIsRefused) {
    const std::string name = utf8ToCp1252(m_doc.m_strFilnamn).value_or("");
    const std::size_t aktuell = find(Bytes().text(name)) + 1 + name.size();
    ASSERT_EQ(m_doc.m_perioder.size(), 2u);
    EXPECT_EQ(withI32(aktuell, 1), "");
    for (const std::int32_t index :
         {2, -1, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()}) {
        EXPECT_TRUE(contains(withI32(aktuell, index), "öppen period som inte finns")) << index;
    }
}

TEST_F(DamagedFile, GridStateOutsideItsLimitsIsRefused) {
    // The balance-sheet grid: its class description, then version, rows and columns.
    constexpr std::size_t kFields = 16 + 18;
    ASSERT_EQ(m_bytes.substr(kFields, 12), Bytes().i32(1).i32(12).i32(4).str());
    EXPECT_TRUE(contains(withI32(kFields, 2), "rutnät: okänd version"));
    for (const std::int32_t rows : {-1, GridState::kMaxRows + 1, std::numeric_limits<std::int32_t>::max()}) {
        EXPECT_TRUE(contains(withI32(kFields + 4, rows), "för många rader")) << rows;
    }
    EXPECT_TRUE(contains(withI32(kFields + 8, GridState::kMaxCols + 1), "för många kolumner"));
    EXPECT_TRUE(contains(withI32(kFields + 8, 5), "fel antal kolumnbredder"));
    EXPECT_TRUE(contains(withI32(kFields + 14, -1), "ogiltig kolumnbredd"));

    // The first stored cell, (0, 1) "Konto", after widths, zoom, flags and the cell count.
    const std::size_t cell = kFields + 12 + 2 + 5 * 4 + 4 + 4 + 2;
    ASSERT_EQ(m_bytes.substr(cell, 14), Bytes().i32(0).i32(1).text("Konto").str());
    EXPECT_TRUE(contains(withI32(cell, 13), "en cell utanför rutnätet"));
    EXPECT_TRUE(contains(withI32(cell, -1), "en cell utanför rutnätet"));
    EXPECT_TRUE(contains(withI32(cell + 4, 5), "en cell utanför rutnätet"));
    EXPECT_TRUE(contains(withI32(cell, 12), "fel ordning")); // inside, but after the cells that follow
    EXPECT_TRUE(contains(withReplaced(cell - 2, 2, Bytes().u16(0xFFFF).u32(0x10000000)), "antal"));
    EXPECT_TRUE(contains(withI32(cell + 14, 64), "okända formatflaggor"));
    EXPECT_TRUE(contains(withI32(cell - 6, 0x7FFFFFFF), "okända inställningar"));
    EXPECT_TRUE(contains(withI32(cell - 10, 5), "ogiltig zoomnivå"));

    // The income-statement grid may not be the balance-sheet grid again.
    const std::size_t second = find(Bytes().u16(0x8001).i32(1).i32(3).i32(2));
    EXPECT_TRUE(contains(withU16(second, 0x0002), "samma rutnät två gånger"));
}

// Single bytes changed at random: every outcome is a read or an ArchiveError.
TEST_F(DamagedFile, RandomlyChangedBytesAreReadOrRefusedCleanly) {
    std::mt19937 random(20120315);
    std::uniform_int_distribution<std::size_t> position(0, m_bytes.size() - 1);
    std::uniform_int_distribution<int> change(1, 255);
    int refused = 0;
    int read = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string bytes = m_bytes;
        const std::size_t pos = position(random);
        bytes[pos] = static_cast<char>(bytes[pos] ^ change(random));
        (companyError(bytes).empty() ? read : refused) += 1;
    }
    // Most changes land in amounts and texts, which stay readable.
    EXPECT_GT(refused, 0);
    EXPECT_GT(read, 0);
}

} // namespace
} // namespace kv
