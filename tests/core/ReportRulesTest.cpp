// The rules of the reports: amounts, listing lines, pages, the month range and
// its texts, the result and the signs of the statements.
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "reports/AccountChoiceModel.h"
#include "reports/JournalReport.h"
#include "reports/LedgerReport.h"
#include "reports/MonthRangeModel.h"
#include "reports/ReportActions.h"
#include "reports/ReportBooks.h"
#include "reports/ReportText.h"
#include "reports/StatementReport.h"
#include "reports/TrialBalanceReport.h"
#include "reports/VoucherRangeModel.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kv::test {
namespace {

// Ten device units a character, so that placements can be checked by hand.
class FixedMeasurer final : public TextMeasurer {
public:
    [[nodiscard]] std::int32_t width(const std::string& utf8) const override {
        return static_cast<std::int32_t>(characterCount(utf8)) * 10;
    }
};

// The texts of a form, line by line, cells joined by "|".
std::vector<std::string> formTexts(const ReportForm& form) {
    std::vector<std::string> out;
    for (const FormLine& line : form.lines) {
        std::string text;
        for (const FormCell& cell : line.cells) {
            if (!cell.rule) {
                text += (text.empty() ? "" : "|") + cell.text;
            }
        }
        out.push_back(text);
    }
    return out;
}

bool hasLine(const ReportForm& form, const std::string& text) {
    const auto texts = formTexts(form);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

bool anyLineContains(const ReportForm& form, const std::string& part) {
    const auto texts = formTexts(form);
    return std::any_of(texts.begin(), texts.end(),
                       [&part](const std::string& text) { return text.find(part) != std::string::npos; });
}

TEST(ReportRules, AmountsAreFormattedWithBlanksBetweenThousands) {
    const std::pair<double, const char*> cases[] = {
        {1234567.5, "1 234 567.50"},
        {999.5, "999.50"},
        {1000, "1 000.00"},
        {0, "0.00"},
        {1234567.891, "1 234 567.89"},
        {-123456.78, "- 123 456.78"},
        {-0.001, "0.00"},
        {-1500, "-1 500.00"},
    };
    for (const auto& [amount, text] : cases) {
        EXPECT_EQ(FormatAmount(amount), text) << amount;
    }
}

TEST(ReportRules, PagesCountAndSliceTheListing) {
    const std::tuple<std::size_t, int, int> counts[] = {{40, 20, 2}, {41, 20, 3}, {45, 20, 3}, {0, 20, 1}};
    for (const auto& [lines, perPage, pages] : counts) {
        EXPECT_EQ(pageCount(lines, perPage), pages) << lines;
    }
    Listing listing;
    listing.firstLine = 8;
    for (int i = 0; i < 45; ++i) {
        CUtskriftsrad line;
        line.m_text[0] = "rad " + std::to_string(i + 1);
        line.m_x[0] = 150;
        listing.lines.push_back(line);
    }
    const PrintDevice device{2323, 3300, 50, 300};
    const ListingPage page = layoutListingPage(listing, device, FixedMeasurer(), 20, 3);
    ASSERT_EQ(page.texts.size(), 6U);
    EXPECT_EQ(page.texts.front().text, "rad 41");
    EXPECT_EQ(page.texts.front().y, 8 * 50);
    EXPECT_EQ(page.texts.front().x, 150);
    EXPECT_EQ(page.texts[4].text, "rad 45");
    const PagePlacement& footer = page.texts.back();
    EXPECT_EQ(footer.text, "3 / 3");
    EXPECT_EQ(footer.x, (2323 - 50) / 2);
    EXPECT_EQ(footer.y, 3300 - 50);
}

// The start-up 20 without a printer gives way to the first real device; a
// value a device settled is only ever lowered.
TEST(ReportRules, LinesPerPageOnlyShrinkOnceADeviceSettledThem) {
    const PrintDevice small{2323, 50 * 50, 50, 300}; // room for 50 - 12 lines
    const PrintDevice large{2323, 80 * 50, 50, 300}; // room for 80 - 12 lines
    const std::vector<std::tuple<PageLines, PrintDevice, PageLines>> cases = {
        {{45, true}, small, {38, true}},
        {{38, true}, large, {38, true}},
        {{}, large, {68, true}}, // the stand-in, not a printer's count
        {{}, small, {38, true}},
    };
    for (const auto& [current, device, after] : cases) {
        EXPECT_EQ(linesWhenPrinting(current, device), after) << current.lines << " " << device.height;
    }
}

TEST(ReportRules, TextsAreCutWhereTheNextBeginsOrThePageEnds) {
    Listing listing;
    CUtskriftsrad line;
    line.m_x[0] = 150;
    line.m_text[4] = std::string(60, 'x'); // at C(1015), runs into the debit column
    line.m_text[6] = "12.00";
    listing.lines.push_back(line);
    const PrintDevice device{2323, 3300, 50, 300};
    const ListingPage page = layoutListingPage(listing, device, FixedMeasurer(), 20, 1);
    ASSERT_GE(page.texts.size(), 2U);
    const PagePlacement& text = page.texts[0];
    const PagePlacement& debit = page.texts[1];
    EXPECT_EQ(debit.x, 1950 - 50);
    EXPECT_LE(text.x + static_cast<std::int32_t>(text.text.size()) * 10, debit.x - 10);
}

class SmallBooks : public ::testing::Test {
protected:
    void SetUp() override { buildSmallCompany(doc); }
    CTallvingeDoc doc;
};

TEST_F(SmallBooks, JournalListsEachVoucherWithItsLinesAndTotals) {
    postVoucher(doc, 5, 3, 2012, {{1930, 100, 0}, {1910, 50, 0}, {3000, 0, 150}});
    postVoucher(doc, 6, 3, 2012, {{1930, 10, 0}, {3000, 0, 10}});
    Listing listing = journalListing(doc, JournalPrintRange{});
    ASSERT_EQ(listing.lines.size(), 7U + 6U);
    EXPECT_EQ(listing.lines[0].m_text[0], "00001");
    EXPECT_EQ(listing.lines[0].m_text[2], "05032012");
    EXPECT_EQ(listing.lines[1].m_text[1], "1930");
    EXPECT_EQ(listing.lines[1].m_text[6], "100.00");
    EXPECT_EQ(listing.lines[4].m_text[7], std::string(24, '_'));
    EXPECT_EQ(listing.lines[5].m_text[7], "150.00");
    EXPECT_EQ(listing.lines[7].m_text[0], "00002");

    // A chosen range; one beyond the last voucher is cut to it.
    const std::tuple<int, int, std::size_t, const char*> ranges[] = {
        {2, 2, 6, "00002"}, {1, 9, 13, "00001"}, {0, 0, 13, "00001"}, {5, 9, 6, "00002"}};
    for (const auto& [from, to, lines, first] : ranges) {
        listing = journalListing(doc, JournalPrintRange{from, to});
        ASSERT_EQ(listing.lines.size(), lines) << from << "-" << to;
        EXPECT_EQ(listing.lines[0].m_text[0], first);
    }
}

TEST_F(SmallBooks, LedgerRunsTheBalanceAndTellsTheMonthRange) {
    postVoucher(doc, 10, 1, 2012, {{1930, 100, 0}, {3000, 0, 100}});
    postVoucher(doc, 11, 1, 2012, {{1930, 0, 30}, {4000, 30, 0}});
    ReportForm form = ledgerForm(doc, 1930, ScreenMeasures{});
    EXPECT_TRUE(anyLineContains(form, "|100.00|0.00|100.00"));
    EXPECT_TRUE(anyLineContains(form, "|0.00|30.00|70.00"));
    EXPECT_TRUE(hasLine(form, "Deb - Kre|70.00"));

    doc.setMonthRange(MonthRange{{2012, 3}, {2012, 5}});
    form = ledgerForm(doc, 1930, ScreenMeasures{});
    EXPECT_TRUE(hasLine(form, "Transaktioner saknas i perioden: 03.2012 - 05.2012"));
    EXPECT_FALSE(anyLineContains(form, "Delperiodens"));
    form = ledgerForm(doc, 2090, ScreenMeasures{});
    EXPECT_TRUE(hasLine(form, "Vinst / Förlust i perioden: 03.2012 - 05.2012"));

    postVoucher(doc, 2, 4, 2012, {{1930, 250, 0}, {3000, 0, 250}});
    postVoucher(doc, 3, 5, 2012, {{1930, 0, 50}, {4000, 50, 0}});
    form = ledgerForm(doc, 1930, ScreenMeasures{});
    EXPECT_TRUE(hasLine(form, "Delårssaldo   03.2012 - 05.2012:    Delperiodens Deb - Kre  =   200.00"));
    EXPECT_TRUE(hasLine(form, "Delperiod: 3.2012 - 5.2012"));
    // Every account has a block of five lines in print, rows or not.
    const Listing listing = ledgerListing(doc, PrintDevice{2323, 3300, 50, 300});
    EXPECT_EQ(listing.size(), 9U * 5U + 8U + 1U); // nine accounts, eight rows, the result row
}

// The archive's ledger lists each account that has rows, with all of them,
// and no account without: the first line of each block is the account's.
TEST_F(SmallBooks, TheArchivesLedgerLeavesOutAccountsWithoutRows) {
    postVoucher(doc, 1, 2, 2012, {{1930, 100, 0}, {3000, 0, 100}});
    postVoucher(doc, 1, 4, 2012, {{1930, 0, 30}, {4000, 30, 0}});
    const PrintDevice device{2323, 3300, 50, 300};
    const auto listedAccounts = [&](LedgerAccounts which) {
        const Listing listing = ledgerListing(doc, device, which);
        std::vector<std::string> accounts;
        for (std::size_t i = 0; i < listing.size(); ++i) {
            const CUtskriftsrad line = listing.line(i);
            if (!line.m_text[2].empty()) { // an account's first line: number and name
                accounts.push_back(line.m_text[0]);
            }
        }
        return std::make_pair(accounts, listing.size());
    };
    const auto [every, everyLines] = listedAccounts(LedgerAccounts::Every);
    EXPECT_EQ(every.size(), 9U);
    const auto [withRows, withRowsLines] = listedAccounts(LedgerAccounts::WithRows);
    // In chart order: 3000, 4000, then 1930 (two rows) and the result account's "Resultat" row.
    EXPECT_EQ(withRows, (std::vector<std::string>{"03000", "04000", "01930", "02090"}));
    EXPECT_EQ(withRowsLines, 4U * 5U + 5U);
    // Nothing posted: only the result account with its row "Resultat".
    CTallvingeDoc empty;
    buildSmallCompany(empty);
    const Listing none = ledgerListing(empty, device, LedgerAccounts::WithRows);
    ASSERT_EQ(none.size(), 6U);
    EXPECT_EQ(none.line(0).m_text[0], "02090");
}

TEST_F(SmallBooks, TrialBalanceAddsThePostedResultBack) {
    postVoucher(doc, 10, 1, 2012, {{1930, 500, 0}, {3000, 0, 200}, {3010, 0, 300}});
    postVoucher(doc, 10, 2, 2012, {{4000, 0, 1500}, {1910, 1500, 0}});
    CAutomoms rule;
    rule.m_dMomssats = 25;
    rule.m_nKreditkonto = 3000;
    rule.m_nKreditMomskonto = 2440;
    doc.setVatRules({rule});
    TrialBalanceReport report = buildTrialBalance(doc);
    const auto row = [&report](std::int32_t number) {
        return *std::find_if(report.rows.begin(), report.rows.end(),
                             [number](const TrialBalanceRow& r) { return r.number == number; });
    };
    EXPECT_EQ(formatOre(row(1930).balance), "500.00");
    EXPECT_EQ(formatOre(row(4000).balance), "-1 500.00");
    EXPECT_EQ(formatOre(row(2090).balance), "-2 000.00");
    EXPECT_EQ(report.total, 0);
    EXPECT_EQ(row(3000).rates, std::vector<std::string>{"25.00"});
    EXPECT_TRUE(row(2440).rates.empty()); // the VAT account of the rule gets no rate
    EXPECT_TRUE(row(3010).rates.empty());

    // With March to May the balances run from the period start through May.
    postVoucher(doc, 10, 6, 2012, {{1930, 999, 0}, {3000, 0, 999}});
    doc.setMonthRange(MonthRange{{2012, 3}, {2012, 5}});
    report = buildTrialBalance(doc);
    EXPECT_EQ(formatOre(row(1930).balance), "500.00");
    EXPECT_EQ(formatOre(row(2090).balance), "-2 000.00");
    EXPECT_TRUE(row(2090).resultNote);
    EXPECT_EQ(report.resultNote, "(resultat fr.o.m. 1.2012)");
    EXPECT_EQ(report.total, 0);
    EXPECT_EQ(report.rangeText, "Råbalans t.o.m. 5.2012");
    const ReportForm form = trialBalanceForm(report, ScreenMeasures{});
    EXPECT_TRUE(hasLine(form, "Saldo råbalans|0.00"));
    const Listing listing = trialBalanceListing(report, doc);
    EXPECT_EQ(listing.lines.back().m_text[0], "RÅBALANS");
    EXPECT_EQ(listing.lines.back().m_text[5], "0.00");
}

// A voucher registered with a difference: the total is not 0, shows in red,
// and the voucher is named; balanced books show neither.
TEST_F(SmallBooks, TrialBalanceOutOfBalanceShowsRedAndNamesTheVouchers) {
    CAutomoms rule;
    rule.m_dMomssats = 25;
    rule.m_nKreditkonto = 3000;
    rule.m_nKreditMomskonto = 2440;
    doc.setVatRules({rule});
    postVoucher(doc, 10, 1, 2012, {{1930, 500, 0}, {3000, 0, 500}});
    const auto totalCell = [](const ReportForm& form) {
        for (const FormLine& line : form.lines) {
            if (!line.cells.empty() && line.cells[0].text == "Saldo råbalans") {
                return line.cells.at(1);
            }
        }
        return FormCell{};
    };
    ReportForm form = trialBalanceForm(buildTrialBalance(doc), ScreenMeasures{});
    EXPECT_EQ(totalCell(form).text, "0.00");
    EXPECT_FALSE(totalCell(form).color.has_value());
    EXPECT_FALSE(anyLineContains(form, "differens"));

    postVoucher(doc, 11, 1, 2012, {{1930, 100, 0}, {3000, 0, 90}});
    const TrialBalanceReport report = buildTrialBalance(doc);
    EXPECT_EQ(report.unbalanced, std::vector<std::int32_t>{2});
    form = trialBalanceForm(report, ScreenMeasures{});
    EXPECT_EQ(totalCell(form).text, "10.00");
    EXPECT_EQ(totalCell(form).color, kReportRed);
    EXPECT_TRUE(hasLine(form, "Verifikat med differens: 2"));
}

TEST_F(SmallBooks, ReportsLeaveTheBooksAsTheyWere) {
    postVoucher(doc, 10, 1, 2012, {{1930, 500, 0}, {3000, 0, 500}});
    doc.savedInFull();
    const CompanyState before = copyCompanyState(doc.state());
    static_cast<void>(buildTrialBalance(doc));
    static_cast<void>(buildBalanceSheet(doc));
    static_cast<void>(ledgerForm(doc, 2090, ScreenMeasures{}));
    static_cast<void>(journalListing(doc, JournalPrintRange{1, 1}));
    EXPECT_FALSE(doc.isModified());
    const auto index = accountIndex(doc.state(), 2090);
    EXPECT_EQ(doc.state().m_allaKonton[index]->m_rader, before.m_allaKonton[index]->m_rader);
    EXPECT_TRUE(doc.state().m_allaKonton[index]->m_rader.empty());
}

TEST_F(SmallBooks, StatementsTurnTheSignsAndSumTheGroupsAbove) {
    postVoucher(doc, 10, 1, 2012, {{1930, 1000, 0}, {3000, 0, 1000}});
    postVoucher(doc, 10, 4, 2012, {{4000, 300, 0}, {1930, 0, 300}});
    postVoucher(doc, 10, 7, 2012, {{1930, 40, 0}, {2440, 0, 40}});
    StatementReport income = buildIncomeStatement(doc);
    ASSERT_FALSE(income.refusal);
    ASSERT_EQ(income.rows.size(), 9U);        // the result rows and the end marker are not shown
    EXPECT_EQ(income.rows[1].amount, 100000); // 3000 income shows positive
    EXPECT_EQ(income.rows[3].sum, 100000);    // Sa intäkter
    EXPECT_EQ(income.rows[5].amount, -30000); // 4000 cost shows negative
    EXPECT_EQ(income.rows[7].sum, -30000);    // Sa kostnader: group b only
    EXPECT_EQ(income.rows[8].sum, 70000);     // RESULTAT: profit positive

    doc.setMonthRange(MonthRange{{2012, 3}, {2012, 5}});
    income = buildIncomeStatement(doc);
    EXPECT_EQ(income.rows[1].amount, 0);
    EXPECT_EQ(income.rows[8].sum, -30000);
    EXPECT_EQ(income.headerButton, "Visar alla konton   Delperiod: 3.2012 - 5.2012");

    // The balance sheet through May: July's posting is left out, 2090
    // carries the result from the period start to May.
    StatementReport balance = buildBalanceSheet(doc);
    ASSERT_EQ(balance.rows.size(), 15U);
    EXPECT_EQ(balance.rows[2].amount, 70000);  // 1930
    EXPECT_EQ(balance.rows[4].sum, 70000);     // Sa AKTIVA
    EXPECT_TRUE(balance.rows[5].name.empty()); // the fixed rows are not shown
    EXPECT_EQ(balance.rows[8].name, "P A S S I V A");
    EXPECT_EQ(balance.rows[10].amount, 70000); // 2090, on the liabilities side, positive
    EXPECT_EQ(balance.rows[11].sum, 70000);    // Sa eget kapital: a sum on the liabilities side, positive
    EXPECT_EQ(balance.rows[12].amount, 0);     // 2440: July is after the range
    EXPECT_EQ(balance.rows[14].sum, 70000);    // Sa PASSIVA
    EXPECT_EQ(balance.headerButton, "Visar alla konton   Delperiod t.o.m. 5.2012");

    // Only used accounts: unused accounts leave, headings, sums and 2090 stay.
    doc.setMonthRange(std::nullopt);
    doc.setOnlyUsedAccounts(true);
    income = buildIncomeStatement(doc);
    EXPECT_TRUE(income.rows[2].removed);  // 3010 unused
    EXPECT_FALSE(income.rows[1].removed); // 3000 used
    EXPECT_FALSE(income.rows[3].removed); // the sum
    balance = buildBalanceSheet(doc);
    EXPECT_TRUE(balance.rows[1].removed);   // 1910 without rows
    EXPECT_FALSE(balance.rows[10].removed); // 2090 never
    EXPECT_EQ(balance.headerButton, "Visar endast använda konton  ");
    GridState grid;
    writeStatementGrid(income, grid);
    EXPECT_EQ(grid.rowCount(), 9 - 2); // 3010 and 5010 taken out
    EXPECT_EQ(grid.text(5, 0), "4000");
    EXPECT_EQ(grid.text(5, 2), "- 300.00");
    EXPECT_TRUE(grid.style(6, 3).bold); // Sa kostnader
    EXPECT_EQ(grid.text(0, 1), "Visar endast använda konton   ");
}

TEST_F(SmallBooks, StatementChecksAndChartsWithoutTotals) {
    loadEdited(doc, [](CompanyState& c) { c.m_resKonton[c.m_resKonton.size() - 2]->m_strKolumn2 = "1910"; });
    EXPECT_EQ(buildIncomeStatement(doc).refusal,
              "Vinstkonto för vinst/förlust saknas antingen i resultat- eller balansräkningen.");
    loadEdited(doc, [](CompanyState& c) {
        for (CKonto* konto : c.m_balKonton) {
            if (konto->m_strKolumn5 == "p") {
                konto->m_strKolumn5.clear();
            }
        }
    });
    EXPECT_EQ(buildBalanceSheet(doc).rows.size(), 1U);
    CTallvingeDoc empty;
    EXPECT_EQ(buildIncomeStatement(empty).refusal, "Gå till kontoplan och registrera resultatkontot");
}

TEST_F(SmallBooks, MonthRangeDialogListsMonthsAndRefusesAnEndBeforeTheStart) {
    ScriptedPrompter prompter;
    MonthRangeModel model(doc);
    EXPECT_EQ(model.title(), "Månadsbokslut, en eller flera månader i perioden  1.2012 - 12.2012");
    ASSERT_EQ(model.firstMonths().size(), 12U);
    EXPECT_EQ(model.firstMonths().front(), "2012  januari");
    EXPECT_EQ(model.fromText(), "2012   januari");
    EXPECT_FALSE(model.lastMonthsEnabled());
    model.chooseFirstMonth(2); // mars
    model.chooseLastMonth(1);  // april
    EXPECT_EQ(model.toText(), "2012   april");
    model.chooseFirstMonth(4); // maj, the last month stays april
    EXPECT_FALSE(model.accept(prompter));
    EXPECT_EQ(prompter.said, std::vector<std::string>{"Slutdatumet är inte korrekt ifyllt"});
    model.chooseLastMonth(0);
    ASSERT_TRUE(model.accept(prompter));
    EXPECT_EQ(model.result()->from, (YearMonth{2012, 5}));
    EXPECT_EQ(model.result()->to, (YearMonth{2012, 5}));

    MonthRangeModel whole(doc);
    whole.chooseFirstMonth(0);
    whole.chooseLastMonth(11);
    ASSERT_TRUE(whole.accept(prompter));
    EXPECT_FALSE(whole.result().has_value()); // January to December is the whole period

    loadEdited(doc, [](CompanyState& c) {
        c.m_perioder[0].m_nFranManad = 7;
        c.m_perioder[0].m_nTillManad = 6;
        c.m_perioder[0].m_nTillAr = 2013;
    });
    const MonthRangeModel split(doc);
    ASSERT_EQ(split.firstMonths().size(), 12U);
    EXPECT_EQ(split.firstMonths().front(), "2012  juli");
    EXPECT_EQ(split.firstMonths().back(), "2013  juni");
}

TEST_F(SmallBooks, VoucherRangeDialogChecksBothNumbers) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"2", "7", "Felaktigt verifikatnummer"},
        {"3", "2", "Felaktigt verifikatnummer"},
        {"0", "3", "Ange ett heltal mellan 1 och 5."},
        {"x", "3", "Ange ett heltal mellan 1 och 5."},
        {"2", "2000000", "Ange ett heltal mellan 1 och 1000000."},
        {"2", "4", ""}};
    for (const auto& [from, to, message] : cases) {
        ScriptedPrompter prompter;
        VoucherRangeModel model(5);
        model.setFromText(from);
        model.setToText(to);
        const bool accepted = model.accept(prompter);
        EXPECT_EQ(accepted, std::string(message).empty()) << from << "-" << to;
        EXPECT_EQ(prompter.said.empty() ? "" : prompter.said.front(), message);
    }
}

TEST_F(SmallBooks, LedgerAccountsAreChosenByNumberAndStepped) {
    AccountChoiceModel choice(doc.state());
    EXPECT_EQ(choice.entries().front(), "3000  Försäljning");
    EXPECT_TRUE(choice.selectTyped("40"));
    EXPECT_EQ(choice.chosen(), 4000);
    EXPECT_FALSE(choice.selectTyped("99"));
    EXPECT_EQ(choice.chosen(), 4000);
    EXPECT_EQ(neighbourAccount(doc.state(), 3000, 1), 3010);
    EXPECT_EQ(neighbourAccount(doc.state(), 3000, -1), std::nullopt);
    EXPECT_EQ(neighbourAccount(doc.state(), 0, 1), 3000);

    ScriptedPrompter prompter;
    JournalPrintRange range{2, 3};
    EXPECT_FALSE(chooseJournalRange(doc, prompter, range));
    EXPECT_EQ(prompter.said, std::vector<std::string>{"Det finns inga verifikat"});
    EXPECT_EQ(range.from, 2);
    EXPECT_EQ(range.to, 3);
}

} // namespace
} // namespace kv::test
