// A company exported and imported again has the same vouchers, lines,
// opening balances and balances, and exports to the same file.
#include "SieTestSupport.h"
#include "TestSupport.h"

#include "app/NewCompany.h"
#include "sie/SieWriter.h"

#include <gtest/gtest.h>

#include <random>

namespace kv {
namespace {

constexpr SieDate kGenerated{2024, 2, 1};

// The numbered accounts of a chart, the result account left out.
std::vector<std::int32_t> bookableAccounts(const CTallvingeDoc& doc, const KontoRefs& chart) {
    std::int32_t resultAccount = 0;
    EXPECT_TRUE(doc.resultAccountNumber(resultAccount));
    std::vector<std::int32_t> numbers;
    for (const CKonto* konto : chart) {
        if (konto->m_nKontonr > 0 && konto->m_nKontonr != resultAccount) {
            numbers.push_back(konto->m_nKontonr);
        }
    }
    return numbers;
}

CVerifikatrad lineOn(const CTallvingeDoc& doc, std::int32_t account, Ore amount, std::string text) {
    CVerifikatrad line;
    line.m_nKonto = account;
    line.m_strKontonamn =
        doc.state().m_allaKonton[static_cast<std::size_t>(doc.accountIndex(account))]->m_strKolumn2;
    (amount >= 0 ? line.m_dDebet : line.m_dKredit) = toKronor(amount >= 0 ? amount : -amount);
    line.m_strRadtext = std::move(text);
    return line;
}

// A company of the 247-account template for 2023 with opening balances and
// voucherCount vouchers of two to four lines on random accounts.
void generateCompany(CTallvingeDoc& doc, int voucherCount) {
    const test::TempDir templates;
    ASSERT_TRUE(createDefaultCompany(doc, {kSieDefaultTemplate, 1, 2023, 12, 2023, templates.path()}).ok);
    std::mt19937 random(20230101);
    const auto balance = bookableAccounts(doc, doc.state().m_balKonton);
    const auto all = [&] {
        auto numbers = balance;
        const auto income = bookableAccounts(doc, doc.state().m_resKonton);
        numbers.insert(numbers.end(), income.begin(), income.end());
        return numbers;
    }();
    const auto pick = [&random](const std::vector<std::int32_t>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    const auto amount = [&random] { return std::uniform_int_distribution<Ore>(1, 2'000'000)(random); };

    std::vector<OpeningBalance> opening;
    Ore sum = 0;
    for (int i = 0; i < 20; ++i) {
        const std::int32_t number = pick(balance);
        const bool taken = std::any_of(opening.begin(), opening.end(),
                                       [number](const OpeningBalance& b) { return b.account == number; });
        if (!taken && number != 2040) {
            opening.push_back({number, i % 3 == 0 ? -amount() : amount()});
            sum += opening.back().amount;
        }
    }
    opening.push_back({2040, -sum});
    doc.addOpeningBalances(opening);

    const char* const texts[] = {"Hyra", "Medlemsavgift åäö ÅÄÖ", "Kvitto \"nr 5\"", "", "Bank\tgiro"};
    for (int v = 0; v < voucherCount; ++v) {
        const int lineCount = 2 + v % 3;
        std::vector<CVerifikatrad> lines;
        Ore total = 0;
        for (int l = 0; l + 1 < lineCount; ++l) {
            const Ore value = l % 2 == 0 ? amount() : -amount();
            total += value;
            lines.push_back(lineOn(doc, pick(all), value, texts[(v + l) % 5]));
        }
        lines.push_back(lineOn(doc, pick(all), total == 0 ? 0 : -total, "Motkonto"));
        CEttVerifikat voucher = makeVoucher(1 + v % 28, 1 + (v / 7) % 12, 2023,
                                            "Verifikat " + std::to_string(v), std::move(lines));
        voucher.m_nBokfDag = 28;
        doc.registerVoucher(std::move(voucher));
    }
}

void expectSameBooks(const CTallvingeDoc& original, const CTallvingeDoc& imported) {
    const auto& before = original.state().m_verifikat;
    const auto& after = imported.state().m_verifikat;
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t v = 0; v < before.size(); ++v) {
        const CEttVerifikat& a = before[v];
        const CEttVerifikat& b = after[v];
        ASSERT_EQ(a.m_nVernr, b.m_nVernr);
        ASSERT_EQ(a.m_strVertext, b.m_strVertext) << a.m_nVernr;
        ASSERT_EQ((std::array{a.m_nTransDag, a.m_nTransManad, a.m_nTransAr, a.m_nBokfDag, a.m_nBokfManad,
                              a.m_nBokfAr}),
                  (std::array{b.m_nTransDag, b.m_nTransManad, b.m_nTransAr, b.m_nBokfDag, b.m_nBokfManad,
                              b.m_nBokfAr}))
            << a.m_nVernr;
        ASSERT_EQ(a.m_rader.size(), b.m_rader.size()) << a.m_nVernr;
        for (std::size_t l = 0; l < a.m_rader.size(); ++l) {
            const CVerifikatrad& x = a.m_rader[l];
            const CVerifikatrad& y = b.m_rader[l];
            ASSERT_EQ(x.m_nKonto, y.m_nKonto) << a.m_nVernr;
            ASSERT_EQ(toOre(x.m_dDebet), toOre(y.m_dDebet)) << a.m_nVernr;
            ASSERT_EQ(toOre(x.m_dKredit), toOre(y.m_dKredit)) << a.m_nVernr;
            // A tab in a text is no field separator in the file: it comes back a blank.
            std::string text = x.m_strRadtext;
            std::replace(text.begin(), text.end(), '\t', ' ');
            ASSERT_EQ(text, y.m_strRadtext) << a.m_nVernr;
            ASSERT_EQ(x.m_strKontonamn, y.m_strKontonamn) << a.m_nVernr;
        }
    }
    for (const auto& konto : original.state().m_allaKonton) {
        if (konto->m_nKontonr <= 0) {
            continue;
        }
        const int index = imported.accountIndex(konto->m_nKontonr);
        ASSERT_GE(index, 0) << konto->m_nKontonr;
        const CKonto& same = *imported.state().m_allaKonton[static_cast<std::size_t>(index)];
        EXPECT_EQ(original.balanceUnder(*konto, RangeRule::WholePeriod),
                  imported.balanceUnder(same, RangeRule::WholePeriod))
            << konto->m_nKontonr;
        EXPECT_EQ(konto->m_nAnvands, same.m_nAnvands) << konto->m_nKontonr;
    }
}

TEST(SieRoundTrip, TenThousandVouchersComeBackAsTheyWere) {
    CTallvingeDoc original;
    generateCompany(original, 10'000);
    const SieExport first = writeSie(original, kGenerated);

    const SieImportResult result = test::importSie(first.bytes);
    ASSERT_TRUE(result.summary.canImport());
    EXPECT_TRUE(result.summary.added.empty());
    EXPECT_EQ(result.summary.vouchers, 10'000U);
    EXPECT_GT(result.summary.balancesChecked, 200U);
    const CTallvingeDoc& imported = *result.company;
    expectSameBooks(original, imported);
    // The opening rows, account by account.
    for (const auto& konto : original.state().m_allaKonton) {
        const CKonto& same =
            *imported.state()
                 .m_allaKonton[static_cast<std::size_t>(imported.accountIndex(konto->m_nKontonr))];
        const bool opened = !konto->m_rader.empty() && konto->m_rader.front().m_nVernr == 0;
        ASSERT_EQ(opened, !same.m_rader.empty() && same.m_rader.front().m_nVernr == 0) << konto->m_nKontonr;
        if (opened) {
            EXPECT_EQ(konto->m_rader.front(), same.m_rader.front()) << konto->m_nKontonr;
        }
    }

    // Exported again, the file is the same.
    const SieExport second = writeSie(imported, kGenerated);
    EXPECT_TRUE(first.bytes == second.bytes);
}

TEST(SieRoundTrip, ALaterPeriodComesBackWithItsCarriedBalances) {
    CTallvingeDoc original;
    generateCompany(original, 40);
    original.newPeriod({1, 2024, 12, 2024});
    for (int v = 0; v < 20; ++v) {
        test::postVoucher(original, 1 + v, 3, 2024, {{1930, 10.0 + v, 0}, {3010, 0, 10.0 + v}});
    }
    const SieExport first = writeSie(original, kGenerated);
    const SieImportResult result = test::importSie(first.bytes);
    ASSERT_TRUE(result.summary.canImport());
    expectSameBooks(original, *result.company);
    // The imported company starts with the year: no #RAR -1, all else the same.
    std::string expected = first.bytes;
    const auto previous = expected.find("#RAR -1 20230101 20231231\r\n");
    ASSERT_NE(previous, std::string::npos);
    expected.erase(previous, std::string("#RAR -1 20230101 20231231\r\n").size());
    std::string second = writeSie(*result.company, kGenerated).bytes;
    const auto withoutChecksum = [](std::string& text) { text.erase(text.rfind("#KSUMMA ")); };
    withoutChecksum(expected);
    withoutChecksum(second);
    EXPECT_TRUE(expected == second);
}

} // namespace
} // namespace kv
