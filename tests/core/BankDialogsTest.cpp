// The dialogs before the review of a bank statement: the bank's account in
// the books, and the columns of a CSV export the reader does not know.
#include "TestSupport.h"

#include "bank/BankDialogs.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(BankDialogs, TheBookAccountMustBeABalanceAccount) {
    CTallvingeDoc doc;
    test::buildSmallCompany(doc);
    BankStatement statement;
    BankAccountChoiceModel choice(doc, statement, 1930);
    EXPECT_EQ(choice.typed(), "1930");
    EXPECT_EQ(choice.accountLines(),
              (std::vector<std::string>{"1910  Kassa", "1930  Bank", "2040  Fritt eget kapital",
                                        "2440  Leverantörsskulder"}));
    struct Case {
        std::string typed;
        std::int32_t chosen;
        std::string refusal;
    };
    for (const Case& c : std::vector<Case>{
             {"1910", 1910, ""},
             {" 19 30 ", 1930, ""},
             {"", 0, "Ange kontonumret för bankkontot."},
             {"3010", 0, "Konto 3010 finns inte i balansräkningens kontoplan. Välj ett konto i listan."},
             {"2090", 0, "Konto 2090 finns inte i balansräkningens kontoplan. Välj ett konto i listan."},
         }) {
        choice.setTyped(c.typed);
        EXPECT_EQ(choice.accept().value_or(""), c.refusal) << c.typed;
        EXPECT_EQ(choice.chosen(), c.chosen) << c.typed;
    }
    // Nothing offered when the offer is no balance account.
    EXPECT_EQ(BankAccountChoiceModel(doc, statement, 3010).typed(), "");
}

TEST(BankDialogs, TheAccountChoiceNamesTheStatement) {
    CTallvingeDoc doc;
    test::buildSmallCompany(doc);
    BankStatement statement;
    statement.account = "SE4550000000058398257466";
    statement.lines.resize(2);
    statement.lines[0].bookingDate = {2012, 3, 7};
    statement.lines[1].bookingDate = {2012, 3, 5};
    EXPECT_EQ(BankAccountChoiceModel(doc, statement, 0).intro(),
              "Kontoutdrag för SE4550000000058398257466, 2 rader (2012-03-05 – 2012-03-07). Välj det konto i "
              "balansräkningen som bankkontot bokförs på.");
    statement.account.clear();
    statement.lines.resize(1);
    EXPECT_EQ(BankAccountChoiceModel(doc, statement, 0).intro(),
              "Kontoutdraget, 1 rad (2012-03-07 – 2012-03-07), anger inget bankkonto. Välj det konto i "
              "balansräkningen som bankkontot bokförs på.");
}

// The heading names the columns; a column without a name is its number, and
// short records are shown as long as the longest.
TEST(BankDialogs, TheColumnsAreNamedByTheHeading) {
    CsvDetection detection;
    detection.layout.headerRow = 0;
    detection.layout.amount = 7; // beyond the file's columns: no choice
    detection.layout.date = 0;
    detection.firstRecords = {{1, {"Datum", "", "Belopp"}, false}, {2, {"2012-01-01", "x"}, false}};
    CsvColumnsModel columns(detection, "fil.csv");
    EXPECT_EQ(columns.columnChoices(),
              (std::vector<std::string>{kBankNoColumn, "1: Datum", "2: Kolumn 2", "3: Belopp"}));
    EXPECT_EQ(columns.previewRows().back(), (std::vector<std::string>{"2012-01-01", "x", ""}));
    EXPECT_EQ(columns.choice(CsvField::Date), 1U);
    EXPECT_EQ(columns.choice(CsvField::Amount), 0U);
}

TEST(BankDialogs, TheColumnsMustGiveADateATextAndAnAmountOnce) {
    CsvDetection detection;
    detection.firstRecords = {{1, {"a", "b", "c", "d", "e"}, false}};
    struct Case {
        std::vector<std::pair<CsvField, std::size_t>> choices;
        std::string refusal;
    };
    for (const Case& c : std::vector<Case>{
             {{{CsvField::Date, 1}, {CsvField::Text, 2}, {CsvField::Amount, 3}}, ""},
             {{{CsvField::Date, 1}, {CsvField::Counterpart, 2}, {CsvField::In, 3}, {CsvField::Out, 4}}, ""},
             {{{CsvField::Text, 2}, {CsvField::Amount, 3}}, "Ange kolumnen med datum."},
             {{{CsvField::Date, 1}, {CsvField::Amount, 3}}, "Ange kolumnen med text (eller motpart)."},
             {{{CsvField::Date, 1}, {CsvField::Text, 2}, {CsvField::In, 3}},
              "Ange kolumnen med belopp, eller både kolumnen för in och kolumnen för ut."},
             {{{CsvField::Date, 1}, {CsvField::Text, 2}, {CsvField::Amount, 3}, {CsvField::Out, 4}},
              "Ange antingen en kolumn för belopp eller kolumner för in och ut, inte båda."},
             {{{CsvField::Date, 1}, {CsvField::Text, 2}, {CsvField::Amount, 2}},
              "Kolumn 2 är vald för både Text och Belopp."},
             {{{CsvField::Date, 9}, {CsvField::Text, 2}, {CsvField::Amount, 3}}, "Ange kolumnen med datum."},
         }) {
        CsvColumnsModel columns(detection, "fil.csv");
        for (const auto& [field, choice] : c.choices) {
            columns.setChoice(field, choice);
        }
        EXPECT_EQ(columns.accept().value_or(""), c.refusal);
        EXPECT_EQ(columns.accepted(), c.refusal.empty());
        if (columns.accepted()) {
            EXPECT_EQ(columns.layout().date, 0U);
        }
    }
}

} // namespace
} // namespace kv
