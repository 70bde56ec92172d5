// Which account a bank line gets: the rules in their order (text, sign,
// amount), then the most recent voucher booked with the same text, else
// none; and the VAT split of a proposal with a VAT rule.
#include "BankTestSupport.h"

#include "bank/BankImport.h"
#include "bank/BankMatching.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::bankLine;

TEST(BankMatching, TheCounterpartsWordsLeaveOutWhatChangesEveryMonth) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Vattenfall AB faktura 123456 mars", "vattenfall ab"},
        {"ICA MAXI STORMARKNAD 14/3", "ica maxi stormarknad"},
        {"KAFFEBAREN 2026-03-14 kl 10:12", "kaffebaren kl"},
        {"Hyra MARS 2026", "hyra"},
        {"Fortum Oyj lasku maaliskuu 1232", "fortum oyj"},
        {"Betalning RF18 5390 0754 7034", "betalning"},
        {"4711 0815", ""},
    };
    for (const auto& [text, words] : cases) {
        EXPECT_EQ(bankCounterpartWords(text), words) << text;
    }
    BankLine line = bankLine(3, 1, -800000, "Fastighets AB Bostaden", "", "Hyra mars");
    EXPECT_EQ(bankRuleProposal(line), "Fastighets AB Bostaden");
    line.counterpart.clear();
    line.text = "Hyra mars 2026 Fastighets AB Bostaden";
    EXPECT_EQ(bankRuleProposal(line), "Hyra Fastighets AB Bostaden");
}

// What the bank lines booked before went to, in any period: the account most
// of them went to, with the share that agrees.
TEST(BankMatching, WhatWasBookedBeforeIsLearntWithItsShare) {
    test::BankCompany company; // no vouchers of its own: a new year
    std::vector<BankLineRecord> booked;
    const auto add = [&booked](const std::string& date, std::int32_t account, std::int32_t voucher,
                               const std::string& words) {
        booked.push_back({"SE45", date, -4500, "|", voucher, 0, "2026-01-01 10:00:00", 1930, account, 0,
                          words, "historik"});
    };
    for (int month = 1; month <= 9; ++month) {
        add("2025-" + std::string(month < 10 ? "0" : "") + std::to_string(month) + "-14", 5460, month,
            "kaffebaren");
    }
    add("2025-10-14", 6071, 10, "kaffebaren"); // once a representation
    add("2025-11-02", 6110, 11, "vattenfall ab");
    const std::vector<BankLine> lines = {bankLine(1, 14, -4700, "", "", "KAFFEBAREN 14/1"),
                                         bankLine(1, 20, -99000, "Vattenfall AB", "Faktura 777"),
                                         bankLine(1, 21, -5000, "Okänd")};
    const BankMatcher matcher(company.doc, {}, 1930, lines, booked);
    const BankMatch coffee = matcher.match(lines[0]);
    EXPECT_EQ(coffee.source, MatchSource::Learnt);
    EXPECT_EQ(coffee.account, 5460);
    EXPECT_EQ(coffee.agreeing, 9U);
    EXPECT_EQ(coffee.earlier, 10U);
    EXPECT_EQ(coffee.voucher, 9);
    EXPECT_EQ(matcher.match(lines[1]).account, 6110);
    EXPECT_EQ(matcher.match(lines[2]).source, MatchSource::None);

    BankProposal proposal;
    proposal.status = ProposalStatus::Proposed;
    proposal.source = coffee.source;
    proposal.agreeing = coffee.agreeing;
    proposal.earlierLines = coffee.earlier;
    proposal.earlierVoucher = coffee.voucher;
    proposal.earlierDate = coffee.voucherDate;
    EXPECT_EQ(proposalStatusText(proposal),
              "förslag som tidigare rader (9 av 10 tidigare, senast verifikat 9, 2025-09-14)");
}

TEST(BankMatching, NormalisedTexts) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"TELIA SVERIGE AB, 1234-5678/9", "telia sverige ab #"},
        {"  Åhléns   ÖSTERMALM ", "åhléns östermalm"},
        {"Bg 5050-1055 ÄÄ", "bg # ää"},
        {"...", ""},
        {"OCR: 4711 0815", "ocr #"},
    };
    for (const auto& [text, normalised] : cases) {
        EXPECT_EQ(normaliseBankText(text), normalised) << text;
    }
}

TEST(BankMatching, TheVoucherTextNamesWhoPaidAndTheReference) {
    struct Case {
        std::string counterpart, reference, text, voucherText;
    };
    const std::vector<Case> cases = {
        {"Kund Ett AB", "4105602", "Inbetalning", "Kund Ett AB 4105602"},
        {"", "4105602", "Inbetalning Kund Ett AB", "Inbetalning Kund Ett AB 4105602"}, // a CSV without payee
        {"", "", "Månadsavgift", "Månadsavgift"},
        {"Telia Sverige AB", "", "", "Telia Sverige AB"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        BankLine line;
        line.counterpart = c.counterpart;
        line.reference = c.reference;
        line.text = c.text;
        EXPECT_EQ(bankVoucherText(line), c.voucherText) << c.text;
    }
}

TEST(BankMatching, RulesInOrderThenTheMostRecentVoucherElseNone) {
    struct Case {
        const char* what;
        std::vector<BankRule> rules;
        BankLine line;
        MatchSource source;
        std::int32_t account;
        std::int32_t vatRule = 0;
        std::size_t ruleNumber = 0;
    };
    const auto rule = [](std::string pattern, std::int32_t account,
                         BankTextMatch match = BankTextMatch::Contains,
                         BankAmountSign sign = BankAmountSign::Any, std::optional<Ore> min = {},
                         std::optional<Ore> max = {}, std::int32_t vat = 0) {
        return BankRule{std::move(pattern), match, sign, min, max, account, vat};
    };
    const std::vector<Case> cases = {
        {"the first rule that matches",
         {rule("telia", 6211), rule("TELIA SVERIGE", 6212)},
         bankLine(3, 1, -49900, "TELIA SVERIGE AB"),
         MatchSource::Rule,
         6211,
         0,
         1},
        {"a rule further down when the first does not match",
         {rule("tele2", 6211), rule("Telia Sverige", 6212)},
         bankLine(3, 1, -49900, "TELIA  SVERIGE AB"),
         MatchSource::Rule,
         6212,
         0,
         2},
        {"equals takes the whole text only",
         {rule("ica", 4010, BankTextMatch::Equals)},
         bankLine(3, 1, -12000, "ICA Nära"),
         MatchSource::None,
         0},
        {"equals: any digits stand for any digits",
         {rule("ica maxi 99", 4010, BankTextMatch::Equals)},
         bankLine(3, 1, -12000, "ICA MAXI 1234"),
         MatchSource::Rule,
         4010,
         0,
         1},
        {"å ä ö case-folded",
         {rule("ÅHLÉNS", 4010)},
         bankLine(3, 1, -5000, "åhléns city"),
         MatchSource::Rule,
         4010,
         0,
         1},
        {"a rule for money out passes money in by",
         {rule("kund", 3010, BankTextMatch::Contains, BankAmountSign::Out)},
         bankLine(3, 1, 10000, "Kund AB"),
         MatchSource::None,
         0},
        {"a rule for money in",
         {rule("kund", 6570, BankTextMatch::Contains, BankAmountSign::Out),
          rule("kund", 3010, BankTextMatch::Contains, BankAmountSign::In)},
         bankLine(3, 1, 10000, "Kund AB"),
         MatchSource::Rule,
         3010,
         0,
         2},
        {"an amount above the range",
         {rule("bank", 6570, BankTextMatch::Contains, BankAmountSign::Any, 100, 5000)},
         bankLine(3, 1, -5001, "Banken", "", "avgift"),
         MatchSource::None,
         0},
        {"an amount within the range, without its sign",
         {rule("avgift", 6570, BankTextMatch::Contains, BankAmountSign::Any, 100, 5000)},
         bankLine(3, 1, -5000, "Banken", "", "Avgift"),
         MatchSource::Rule,
         6570,
         0,
         1},
        {"a rule with its VAT rule",
         {rule("grossisten", 4010, BankTextMatch::Contains, BankAmountSign::Any, {}, {}, 2)},
         bankLine(3, 1, -12500, "Grossisten AB"),
         MatchSource::Rule,
         4010,
         2,
         1},
        {"the rules before history",
         {rule("kontorsgrossen", 6570)},
         bankLine(4, 1, -100, "Kontorsgrossen AB"),
         MatchSource::Rule,
         6570,
         0,
         1},
        {"history: the most recent by date, not by number",
         {},
         bankLine(4, 1, -100, "KONTORSGROSSEN AB"),
         MatchSource::History,
         5460},
        {"history: the reference's digits do not matter",
         {},
         bankLine(4, 1, -100, "Hyresvärden", "Faktura 4477"),
         MatchSource::History,
         5010},
        {"history: the VAT line gives its VAT rule",
         {},
         bankLine(4, 1, -62500, "Grossisten AB"),
         MatchSource::History,
         4010,
         27},
        {"history: a voucher of three accounts teaches nothing",
         {},
         bankLine(4, 1, -100, "Lönen"),
         MatchSource::None,
         0},
        {"nothing known", {}, bankLine(4, 1, -100, "Okänd mottagare"), MatchSource::None, 0},
        {"a rule matches whole words: not ICA in MONICA",
         {rule("ICA", 4010)},
         bankLine(4, 1, -30000, "MONICA ANDERSSON"),
         MatchSource::None,
         0},
        {"a rule matches whole words: ICA MAXI",
         {rule("ICA", 4010)},
         bankLine(4, 1, -30000, "ICA MAXI STOCKHOLM"),
         MatchSource::Rule,
         4010,
         0,
         1},
        {"a rule never books on the bank's own account",
         {rule("överföring", 1930), rule("överföring", 1940)},
         bankLine(4, 1, -30000, "Överföring sparkonto"),
         MatchSource::Rule,
         1940,
         0,
         2},
        {"history: a text-only export, the date in the text left aside",
         {},
         bankLine(4, 12, -41250, "", "", "ICA MAXI STORMARKNAD 12/4"),
         MatchSource::History,
         4010},
        {"history: Swish from a member",
         {},
         bankLine(4, 3, 20000, "", "", "Swish från Lars Nilsson"),
         MatchSource::History,
         3010},
        {"history: the counterpart before the message of the voucher text",
         {},
         bankLine(4, 2, -84000, "Elbolaget", "", "Elräkning april"),
         MatchSource::History,
         6110},
    };
    test::BankCompany company;
    // Booked later in the year first, so that numbers and dates disagree.
    company.book(20, 3, "Kontorsgrossen AB", {{5460, 300}, {1930, -300}});
    company.book(10, 2, "Kontorsgrossen AB", {{6110, 200}, {1930, -200}});
    company.book(10, 2, "Hyresvärden Faktura 4211", {{5010, 800000}, {1930, -800000}});
    company.book(12, 2, "Grossisten AB", {{4010, 10000}, {1650, 2500}, {1930, -12500}});
    company.book(25, 2, "Lönen", {{7011, 2000000}, {2710, -600000}, {1930, -1400000}});
    company.book(14, 3, "ICA MAXI STORMARKNAD 14/3", {{4010, 38000}, {1930, -38000}});
    company.book(3, 3, "Swish från Lars Nilsson", {{1930, 20000}, {3010, -20000}});
    company.book(2, 3, "Elbolaget Elräkning mars", {{6110, 91000}, {1930, -91000}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BankMatcher matcher(company.doc, c.rules, 1930, {c.line}, {});
        const BankMatch match = matcher.match(c.line);
        EXPECT_EQ(match.source, c.source);
        EXPECT_EQ(match.account, c.account);
        EXPECT_EQ(match.vatRule, c.vatRule);
        EXPECT_EQ(match.ruleNumber, c.ruleNumber);
    }
}

TEST(BankMatching, AVatRuleSplitsTheCounterpartAsTheVoucherDialogDoes) {
    struct Case {
        Ore amount;
        std::int32_t vatRule;
        std::vector<std::tuple<std::int32_t, Ore, Ore>> lines; // account, debit, credit
    };
    const std::vector<Case> cases = {
        {-12500, 2, {{1930, 0, 12500}, {4010, 10000, 0}, {1650, 2500, 0}}},
        {-9999, 2, {{1930, 0, 9999}, {4010, 7999, 0}, {1650, 2000, 0}}},
        {12500, 1, {{1930, 12500, 0}, {3010, 0, 10000}, {2610, 0, 2500}}},
        {-4200, 0, {{1930, 0, 4200}, {6570, 4200, 0}}},
    };
    test::BankCompany company;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        BankProposal proposal;
        proposal.line = bankLine(3, 5, c.amount, "Motpart", "4711");
        proposal.text = bankVoucherText(proposal.line);
        proposal.account = std::get<0>(c.lines[1]);
        proposal.vatRule = c.vatRule;
        const CEttVerifikat voucher = bankVoucher(company.doc, proposal, 1930);
        ASSERT_EQ(voucher.m_rader.size(), c.lines.size());
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(voucher.m_rader[i].m_nKonto, std::get<0>(c.lines[i]));
            EXPECT_EQ(toOre(voucher.m_rader[i].m_dDebet), std::get<1>(c.lines[i]));
            EXPECT_EQ(toOre(voucher.m_rader[i].m_dKredit), std::get<2>(c.lines[i]));
        }
        EXPECT_EQ(voucher.m_strVertext, "Motpart 4711");
        EXPECT_EQ(voucher.m_nTransDag, 5);
        EXPECT_FALSE(bankVoucherRefusal(company.doc, voucher));
    }
    // A VAT rule without a VAT account on the side the counterpart takes cannot split it.
    BankProposal wrongSide;
    wrongSide.line = bankLine(3, 5, 12500, "Kund");
    wrongSide.account = 3010;
    wrongSide.vatRule = 2; // a purchase rule: VAT on the debit side only
    EXPECT_THROW(bankVoucher(company.doc, wrongSide, 1930), DocumentRefusal);
}

} // namespace
} // namespace kv
