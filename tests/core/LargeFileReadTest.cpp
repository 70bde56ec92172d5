// A large company is read on two threads (the vouchers beside the accounts).
// Whatever the bytes, that must read the same books, or refuse the file with
// the same words, as reading it on one thread does.
#include "ArchiveTestSupport.h"
#include "TestSupport.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>

namespace kv {
namespace {

// The same bytes, but they can only be read once: one thread reads all.
class OnceOnlySource final : public ByteSource {
public:
    explicit OnceOnlySource(std::string_view bytes) : m_bytes(bytes) {}
    std::size_t read(char* data, std::size_t size) override { return m_bytes.read(data, size); }
    [[nodiscard]] std::uint64_t remaining() const override { return m_bytes.remaining(); }

private:
    MemorySource m_bytes;
};

// What reading the bytes gives: the books written again, or the refusal.
struct Outcome {
    std::string bytes;
    std::string error;
};

template <typename Source> Outcome readAs(std::string_view file, bool periodFile) {
    Source source(file);
    ArchiveReader in(source);
    try {
        if (periodFile) {
            const std::string owner = readPeriodArchiveOwner(in);
            return {test::periodBytes(readPeriodArchiveBody(in), owner), {}};
        }
        return {test::companyBytes(readCompanyArchive(in)), {}};
    } catch (const ArchiveError& error) {
        return {{}, error.what()};
    }
}

void expectReadAlike(std::string_view file, const std::string& what, bool periodFile = false) {
    const Outcome two = readAs<MemorySource>(file, periodFile);
    const Outcome one = readAs<OnceOnlySource>(file, periodFile);
    EXPECT_EQ(two.error, one.error) << what;
    EXPECT_TRUE(two.bytes == one.bytes) << what << ": the books read differ";
}

// A company of several megabytes: the full test company with thousands of
// vouchers more, each posted to its accounts. The last voucher is marked by
// its text and an amount that no other voucher has (its posted row has it too,
// earlier in the file).
constexpr double kMarkedAmount = 98765.43;

CompanyState largeCompany(int vouchers, bool postRows = true) {
    CompanyState doc = test::fullCompany();
    std::vector<CKonto*> accounts;
    for (auto& konto : doc.m_allaKonton) {
        if (konto->m_nKontonr >= 1000) {
            accounts.push_back(konto.get());
        }
    }
    for (int v = 1; v <= vouchers; ++v) {
        const bool last = v == vouchers;
        CEttVerifikat ver;
        ver.m_nVernr = 1000 + v;
        ver.m_nTransDag = ver.m_nBokfDag = 1 + v % 28;
        ver.m_nTransManad = ver.m_nBokfManad = 1 + v % 12;
        ver.m_nTransAr = ver.m_nBokfAr = 2026;
        ver.m_strVertext =
            last ? std::string("Sista verifikatet") : "Leverantörsfaktura " + std::to_string(v);
        for (int r = 0; r < 4; ++r) {
            CKonto& konto = *accounts[static_cast<std::size_t>(v + r) % accounts.size()];
            CVerifikatrad rad;
            rad.m_nKonto = konto.m_nKontonr;
            rad.m_strKontonamn = konto.m_strKolumn2;
            rad.m_strRadtext = "Rad " + std::to_string(r) + " av fakturan " + std::to_string(v);
            rad.m_dDebet = r < 2 ? (last && r == 0 ? kMarkedAmount : 100.0 + v) : 0.0;
            rad.m_dKredit = r < 2 ? 0.0 : 100.0 + v;
            if (postRows) {
                CKontorad row;
                row.m_nVernr = ver.m_nVernr;
                row.m_nDag = ver.m_nTransDag;
                row.m_nManad = ver.m_nTransManad;
                row.m_nAr = 2026;
                row.m_dDebet = rad.m_dDebet;
                row.m_dKredit = rad.m_dKredit;
                row.m_strText = rad.m_strRadtext;
                row.m_strKontonamn = rad.m_strKontonamn;
                konto.m_rader.push_back(row);
            }
            ver.m_rader.push_back(std::move(rad));
        }
        ver.m_nAntalRader = 4;
        doc.m_verifikat.push_back(std::move(ver));
    }
    return doc;
}

class LargeFileRead : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_bytes = new std::string(test::companyBytes(largeCompany(9000)));
        ASSERT_GT(s_bytes->size(), std::size_t{5} << 20);
    }
    static void TearDownTestSuite() {
        delete s_bytes;
        s_bytes = nullptr;
    }
    // The second thread's part is the same on a busy machine as on an idle one.
    void SetUp() override { detail::awaitSecondThread(true); }
    void TearDown() override { detail::awaitSecondThread(false); }
    static const std::string& bytes() { return *s_bytes; }
    static std::size_t find(std::string_view pattern) {
        const std::size_t pos = bytes().rfind(pattern);
        EXPECT_NE(pos, std::string::npos);
        return pos;
    }

    static std::string* s_bytes;
};

std::string* LargeFileRead::s_bytes = nullptr;

TEST_F(LargeFileRead, GivesTheSameBooksOrTheSameRefusalAsOneThread) {
    const std::size_t markedAmount = find(test::Bytes().f64(kMarkedAmount).str());
    const std::size_t lastVoucher = find("Sista verifikatet");
    const std::size_t firstVoucher = find("Leverant\xF6rsfaktura 1\xE9\x03");
    const std::size_t postedRow = bytes().find(test::Bytes().text("Rad 0 av fakturan 1").str());
    const std::size_t end = bytes().size();
    struct Case {
        std::string what;
        std::function<void(std::string&)> damage;
    };
    const auto putDouble = [](std::size_t pos, double value) {
        return [pos, value](std::string& file) { file.replace(pos, 8, test::Bytes().f64(value).str()); };
    };
    std::vector<Case> cases = {
        {"intact", [](std::string&) {}},
        {"bad amount in the last voucher", putDouble(markedAmount, std::numeric_limits<double>::infinity())},
        {"bad amount in a posted row", putDouble(postedRow - 3 * 8, std::nan(""))},
        {"the last voucher's text runs past the end",
         [lastVoucher](std::string& file) { file[lastVoucher - 1] = '\xFE'; }},
        {"the first voucher's text runs short",
         [firstVoucher](std::string& file) { file[firstVoucher - 1] = 3; }},
        {"cut in the last vouchers", [end](std::string& file) { file.resize(end - 900); }},
        {"cut in the accounts", [postedRow](std::string& file) { file.resize(postedRow + 30); }},
        {"bytes after the end", [](std::string& file) { file += "xyz"; }},
    };
    std::mt19937 random(20261210); // and forty bytes changed anywhere
    for (int i = 0; i < 40; ++i) {
        const std::size_t pos = std::uniform_int_distribution<std::size_t>(0, end - 1)(random);
        const auto value = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
        cases.push_back({"byte " + std::to_string(pos) + " changed",
                         [pos, value](std::string& file) { file[pos] = value; }});
    }
    for (const Case& c : cases) {
        std::string file = bytes();
        c.damage(file);
        expectReadAlike(file, c.what);
    }
    const std::size_t before = detail::vouchersReadOnSecondThread();
    expectReadAlike(bytes(), "intact, again");
    EXPECT_EQ(detail::vouchersReadOnSecondThread(), before + 1)
        << "the second thread's vouchers were not taken";
}

TEST_F(LargeFileRead, AFileOnDiskIsReadAtTwoOffsetsAtOnce) {
    const test::TempDir dir;
    const std::string path = dir.file("Stor.bok");
    std::string file = bytes();
    test::writeFile(path, file);
    std::string read;
    const std::size_t before = detail::vouchersReadOnSecondThread();
    EXPECT_EQ(readArchiveAt(
                  path, [&read](ArchiveReader& in) { read = test::companyBytes(readCompanyArchive(in)); }),
              "");
    EXPECT_TRUE(read == file);
    EXPECT_EQ(detail::vouchersReadOnSecondThread(), before + 1)
        << "the second thread's vouchers were not taken";
    file.resize(file.size() - 900);
    test::writeFile(path, file);
    EXPECT_EQ(readArchiveAt(path, [](ArchiveReader& in) { readCompanyArchive(in); }),
              readAs<OnceOnlySource>(file, false).error);
}

TEST(LargeFileReadShapes, UnusualCompaniesReadAlike) {
    // Vouchers without posted rows: the accounts are over at once, and the
    // first thread may well read every voucher itself.
    expectReadAlike(test::companyBytes(largeCompany(9000, false)), "vouchers without posted rows");
    const CompanyState doc = largeCompany(9000);
    expectReadAlike(test::periodBytes(doc, "Firma.bok"), "a period file", true);
    const std::string small = test::companyBytes(largeCompany(200));
    expectReadAlike(small, "a company too small for two threads");
}

} // namespace
} // namespace kv
