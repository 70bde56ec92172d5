// Reports as data: every report of the hand-built association (and the VAT
// report of a trading company) as CSV and JSON against the files in
// expected/data/ (KV_UPDATE_EXPECTED=1 writes them anew after a change that
// is meant); the amounts of the data against the totals of the text form; the
// CSV fields and the JSON numbers; the Excel workbook read back.
#include "ReportTestCompany.h"
#include "TestSupport.h"
#include "VatTestCompanies.h"

#include "reports/JournalReport.h"
#include "reports/LedgerReport.h"
#include "reports/ReportDataFiles.h"
#include "reports/ReportKinds.h"
#include "reports/ReportText.h"
#include "reports/TrialBalanceReport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace kv::test {
namespace {

const std::optional<MonthRange> kMarchToMay = MonthRange{{2025, 3}, {2025, 5}};

std::string expectedPath(const std::string& name) {
    return std::string(KVISTORAN_EXPECTED_DIR) + "/data/" + name;
}

void expectMatchesFile(const std::string& name, const std::string& produced) {
    if (std::getenv("KV_UPDATE_EXPECTED") != nullptr) {
        std::ofstream(expectedPath(name), std::ios::binary) << produced;
        return;
    }
    std::ifstream file(expectedPath(name), std::ios::binary);
    ASSERT_TRUE(file.good()) << "missing " << expectedPath(name);
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(expected.str(), produced);
}

// A display amount of the text form ("- 100 000.00") in öre.
Ore shownOre(std::string text) {
    std::erase(text, ' ');
    std::erase(text, '.');
    return std::stoll(text);
}

// The records of a report's text form whose column holds the text.
std::vector<std::vector<std::string>> recordsWith(const ReportForm& form, std::size_t column,
                                                  const std::string& text) {
    std::vector<std::vector<std::string>> found;
    for (auto& record : formRecords(form)) {
        if (record.size() > column && record[column] == text) {
            found.push_back(std::move(record));
        }
    }
    return found;
}

template <typename T> T cellOf(const DataTable& table, std::size_t row, const std::string& column) {
    const int index = table.column(column);
    EXPECT_GE(index, 0) << column;
    const auto* value = std::get_if<T>(&table.rows[row][static_cast<std::size_t>(index)]);
    EXPECT_NE(value, nullptr) << column << " of row " << row;
    return value != nullptr ? *value : T{};
}

Ore sumOf(const std::vector<Ore>& amounts) {
    Ore sum = 0;
    for (const Ore ore : amounts) {
        sum += ore;
    }
    return sum;
}

class ReportDataOfCompany : public ::testing::Test {
protected:
    void SetUp() override {
        buildReportCompany(doc, templates.path());
        buildBasVatCompany(vatDoc, templates.path());
    }
    TempDir templates;
    CTallvingeDoc doc;
    CTallvingeDoc vatDoc;
};

TEST_F(ReportDataOfCompany, EveryReportAsCsvAndJsonMatchesItsExpectedFile) {
    enum class Format { Csv, SwedishCsv, Json };
    struct Case {
        const char* file;
        ReportKind kind;
        std::optional<MonthRange> months;
        std::optional<std::int32_t> account;
        Format format;
    };
    const Case cases[] = {
        {"journal.csv", ReportKind::Journal, std::nullopt, std::nullopt, Format::Csv},
        {"journal.json", ReportKind::Journal, std::nullopt, std::nullopt, Format::Json},
        {"ledger.csv", ReportKind::Ledger, std::nullopt, std::nullopt, Format::Csv},
        {"ledger-1050-mar-may.json", ReportKind::Ledger, kMarchToMay, 1050, Format::Json},
        {"ledger-2090-sv.csv", ReportKind::Ledger, std::nullopt, 2090, Format::SwedishCsv},
        {"trial-balance.csv", ReportKind::TrialBalance, std::nullopt, std::nullopt, Format::Csv},
        {"trial-balance-sv.csv", ReportKind::TrialBalance, std::nullopt, std::nullopt, Format::SwedishCsv},
        {"trial-balance-mar-may.json", ReportKind::TrialBalance, kMarchToMay, std::nullopt, Format::Json},
        {"income.csv", ReportKind::Income, std::nullopt, std::nullopt, Format::Csv},
        {"income-mar-may.json", ReportKind::Income, kMarchToMay, std::nullopt, Format::Json},
        {"balance.csv", ReportKind::Balance, std::nullopt, std::nullopt, Format::Csv},
        {"balance.json", ReportKind::Balance, std::nullopt, std::nullopt, Format::Json},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        doc.setMonthRange(c.months);
        const ReportData data = reportData(doc, c.kind, c.account);
        expectMatchesFile(c.file, c.format == Format::Json         ? reportJson(data)
                                  : c.format == Format::SwedishCsv ? reportCsv(data, kCsvSwedish)
                                                                   : reportCsv(data));
    }
    const ReportData vat =
        vatReportData(vatDoc, buildVatReport(vatDoc, VatRange{{2025, 11}, {2026, 1}, false}));
    expectMatchesFile("vat-nov-jan.csv", reportCsv(vat));
    expectMatchesFile("vat-nov-jan.json", reportJson(vat));
}

// Each report's amounts against the totals its text form shows, over the whole
// period and a month range.
TEST_F(ReportDataOfCompany, JournalLinesAddUpToTheVoucherTotals) {
    const ReportData data = journalData(doc);
    Ore debit = 0;
    Ore credit = 0;
    const ReportForm text = journalListingForm(journalListing(doc, {}));
    for (const auto& record : formRecords(text)) {
        // The totals line of a voucher: only debit and credit.
        if (record.size() == 8 && record[0].empty() && record[1].empty() && !record[6].empty() &&
            record[7].find('_') == std::string::npos) {
            debit += shownOre(record[6]);
            credit += shownOre(record[7]);
        }
    }
    EXPECT_EQ(debit, 141347195); // the twelve vouchers' debits, added by hand
    EXPECT_EQ(sumOf(amountsOf(data.table, "debet")), debit);
    EXPECT_EQ(sumOf(amountsOf(data.table, "kredit")), credit);
    EXPECT_EQ(data.sums, (std::vector<std::pair<std::string, Ore>>{{"debet", debit}, {"kredit", credit}}));
    EXPECT_EQ(data.table.rows.size(), 25U);
}

TEST_F(ReportDataOfCompany, LedgerRowsAddUpToEachAccountsTotals) {
    for (const auto& months : {std::optional<MonthRange>{}, kMarchToMay}) {
        doc.setMonthRange(months);
        const ReportData all = ledgerData(doc);
        for (const std::int32_t account : ledgerAccounts(doc.state())) {
            SCOPED_TRACE(account);
            const ReportForm text = ledgerForm(doc, account, ScreenMeasures{});
            const auto summa = recordsWith(text, 2, "Summa");
            const auto difference = recordsWith(text, 2, "Deb - Kre");
            ASSERT_EQ(summa.size(), 1U);
            ASSERT_EQ(difference.size(), 1U);
            const ReportData one = ledgerData(doc, account);
            EXPECT_EQ(sumOf(amountsOf(one.table, "debet")), shownOre(summa[0][3]));
            EXPECT_EQ(sumOf(amountsOf(one.table, "kredit")), shownOre(summa[0][4]));
            const auto balances = amountsOf(one.table, "saldo");
            EXPECT_EQ(balances.empty() ? 0 : balances.back(), shownOre(difference[0][3]));
            // The account's rows stand in the ledger of every account as they are.
            std::size_t inAll = 0;
            for (std::size_t r = 0; r < all.table.rows.size(); ++r) {
                inAll += cellOf<std::int64_t>(all.table, r, "konto") == account ? 1 : 0;
            }
            EXPECT_EQ(inAll, one.table.rows.size());
        }
    }
}

TEST_F(ReportDataOfCompany, LedgerRowsSayWhatTheyAre) {
    doc.addOpeningBalances({{1050, 500000}, {2040, -500000}});
    struct Case {
        std::int32_t account;
        std::size_t row;
        const char* kind;
        std::optional<std::int64_t> voucher;
        std::optional<DataDate> date;
        Ore balance;
    };
    const Case cases[] = {
        {1050, 0, "ingående balans", std::nullopt, DataDate{2025, 1, 1}, 500000},
        {1050, 1, "verifikat", 1, DataDate{2025, 1, 15}, 1750000},
        {2040, 0, "ingående balans", std::nullopt, DataDate{2025, 1, 1}, -500000},
        {2090, 0, "resultat", std::nullopt, std::nullopt, -126314483},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.account) + ":" + std::to_string(c.row));
        const ReportData data = ledgerData(doc, c.account);
        ASSERT_GT(data.table.rows.size(), c.row);
        const auto& row = data.table.rows[c.row];
        EXPECT_EQ(cellOf<std::string>(data.table, c.row, "slag"), c.kind);
        const auto* voucher = std::get_if<std::int64_t>(&row[3]);
        EXPECT_EQ(voucher ? std::optional(*voucher) : std::nullopt, c.voucher);
        const auto* date = std::get_if<DataDate>(&row[4]);
        EXPECT_EQ(date ? std::optional(*date) : std::nullopt, c.date);
        EXPECT_EQ(cellOf<DataAmount>(data.table, c.row, "saldo").ore, c.balance);
    }
}

TEST_F(ReportDataOfCompany, TrialBalanceRowsAreTheTextFormsBalances) {
    for (const auto& months : {std::optional<MonthRange>{}, kMarchToMay}) {
        doc.setMonthRange(months);
        const ReportData data = trialBalanceData(doc);
        const ReportForm text = trialBalanceForm(buildTrialBalance(doc), ScreenMeasures{});
        ASSERT_EQ(data.table.rows.size(), 22U);
        Ore sum = 0;
        for (std::size_t r = 0; r < data.table.rows.size(); ++r) {
            const auto number = cellOf<std::int64_t>(data.table, r, "konto");
            const auto shown = recordsWith(text, 0, std::to_string(number));
            ASSERT_EQ(shown.size(), 1U) << number;
            EXPECT_EQ(cellOf<DataAmount>(data.table, r, "saldo").ore, shownOre(shown[0][2])) << number;
            EXPECT_EQ(std::to_string(cellOf<std::int64_t>(data.table, r, "antal_rader")), shown[0][3]);
            sum += cellOf<DataAmount>(data.table, r, "saldo").ore;
        }
        const Ore total = shownOre(recordsWith(text, 1, "Saldo råbalans").at(0)[2]);
        ASSERT_EQ(data.sums.size(), 2U);
        EXPECT_EQ(data.sums[0].second, total);
        EXPECT_EQ(sum + data.sums[1].second, total); // the posted result added back
    }
}

TEST_F(ReportDataOfCompany, StatementRowsAreTheTextFormsAmounts) {
    struct Case {
        ReportKind kind;
        const char* total; // the row whose sum all account amounts above add up to
    };
    for (const auto& months : {std::optional<MonthRange>{}, kMarchToMay}) {
        doc.setMonthRange(months);
        for (const Case& c :
             {Case{ReportKind::Income, "RÄK PER VINST / FÖRLUST"}, Case{ReportKind::Balance, ""}}) {
            SCOPED_TRACE(reportTitle(c.kind));
            const ReportData data = reportData(doc, c.kind);
            const ReportForm text = reportForms(doc, c.kind).front();
            Ore accounts = 0;
            std::map<std::string, Ore> totals;
            for (std::size_t r = 0; r < data.table.rows.size(); ++r) {
                const auto& row = data.table.rows[r];
                const std::string kind = cellOf<std::string>(data.table, r, "slag");
                const std::string name = std::get<std::string>(row[2]);
                const auto shown = recordsWith(text, 1, name);
                ASSERT_FALSE(shown.empty()) << name;
                const auto* amount = std::get_if<DataAmount>(&row[3]);
                const auto* sum = std::get_if<DataAmount>(&row[4]);
                EXPECT_EQ(amount ? std::optional(amount->ore) : std::nullopt,
                          shown[0][2].empty() ? std::nullopt : std::optional(shownOre(shown[0][2])))
                    << name;
                EXPECT_EQ(sum ? std::optional(sum->ore) : std::nullopt,
                          shown[0].size() < 4 || shown[0][3].empty() ? std::nullopt
                                                                     : std::optional(shownOre(shown[0][3])))
                    << name;
                if (kind == "konto" && amount) {
                    accounts += amount->ore;
                }
                if (kind == "summa") {
                    totals[name] = sum->ore;
                }
            }
            if (c.kind == ReportKind::Income) {
                EXPECT_EQ(totals.at(c.total), accounts);
            } else {
                // Assets less liabilities and equity, each shown positive.
                EXPECT_EQ(totals.at("Sa AKTIVA"), totals.at("Sa PASSIVA"));
            }
        }
    }
}

TEST_F(ReportDataOfCompany, VatRowsAreTheTextFormsSums) {
    const VatReport report = buildVatReport(vatDoc, VatRange{{2025, 11}, {2026, 1}, false});
    const ReportData data = vatReportData(vatDoc, report);
    const ReportForm text = vatReportForm(report, ScreenMeasures{});
    std::map<std::string, Ore> ruleVat; // per VAT account: the rules' implied VAT
    for (std::size_t r = 0; r < data.table.rows.size(); ++r) {
        const std::string part = cellOf<std::string>(data.table, r, "del");
        if (part == "regel") {
            ruleVat[std::to_string(cellOf<std::int64_t>(data.table, r, "momskonto"))] +=
                cellOf<DataAmount>(data.table, r, "beräknad_moms").ore;
        } else if (part == "momskonto") {
            const std::string account = std::to_string(cellOf<std::int64_t>(data.table, r, "momskonto"));
            const auto shown = recordsWith(text, 1, account);
            ASSERT_EQ(shown.size(), 1U) << account;
            EXPECT_EQ(cellOf<DataAmount>(data.table, r, "bokförd_moms").ore, shownOre(shown[0][4]));
            EXPECT_EQ(cellOf<DataAmount>(data.table, r, "beräknad_moms").ore, shownOre(shown[0][5]));
            EXPECT_EQ(ruleVat[account], shownOre(shown[0][5]));
        } else if (part == "kontroll") {
            const char* label =
                cellOf<std::string>(data.table, r, "sida") == "utgående" ? "Utgående moms" : "Ingående moms";
            auto shown = recordsWith(text, 2, label);
            std::erase_if(shown,
                          [](const auto& record) { return !record[1].empty(); }); // the VAT account's line
            ASSERT_EQ(shown.size(), 1U);
            EXPECT_EQ(cellOf<DataAmount>(data.table, r, "bokförd_moms").ore, shownOre(shown[0][4]));
            EXPECT_EQ(cellOf<DataAmount>(data.table, r, "differens").ore, shownOre(shown[0][6]));
        } else {
            ASSERT_EQ(part, "ruta");
            const auto shown = recordsWith(text, 1, "Ruta " + cellOf<std::string>(data.table, r, "ruta"));
            ASSERT_EQ(shown.size(), 1U);
            // The screen shows a refund without its minus sign; the data keeps it.
            EXPECT_EQ(std::abs(cellOf<DataAmount>(data.table, r, "belopp").ore),
                      std::abs(shownOre(shown[0][5])));
        }
    }
    const auto toPay = recordsWith(text, 2, "Moms att betala (utg. - ing.)");
    ASSERT_EQ(toPay.size(), 1U);
    EXPECT_EQ(data.sums.back(), (std::pair<std::string, Ore>{"moms_att_betala", shownOre(toPay[0][4])}));
}

ReportData smallTable() {
    ReportData data;
    data.kind = "test";
    data.title = "Prov";
    data.table.columns = {{"text", DataKind::Text}, {"tal", DataKind::Integer},  {"belopp", DataKind::Amount},
                          {"sats", DataKind::Rate}, {"satser", DataKind::Rates}, {"dag", DataKind::Date}};
    return data;
}

TEST(ReportDataFiles, CsvFieldsAreQuotedAndWrittenInEitherStyle) {
    struct Case {
        DataCell cell;
        std::size_t column;
        std::string plain;
        std::string swedish;
    };
    const Case cases[] = {
        {std::string("Bank"), 0, "Bank", "Bank"},
        {std::string("Annonsering, reklam"), 0, "\"Annonsering, reklam\"", "Annonsering, reklam"},
        {std::string("Hyra; mars"), 0, "Hyra; mars", "\"Hyra; mars\""},
        {std::string("Tryck \"Bästa\""), 0, "\"Tryck \"\"Bästa\"\"\"", "\"Tryck \"\"Bästa\"\"\""},
        {std::string("två\r\nrader"), 0, "\"två\r\nrader\"", "\"två\r\nrader\""},
        {std::string("=SUMMA(A1:A9)"), 0, "'=SUMMA(A1:A9)", "'=SUMMA(A1:A9)"},
        {std::string("-rabatt"), 0, "'-rabatt", "'-rabatt"},
        {std::int64_t{1050}, 1, "1050", "1050"},
        {DataAmount{-123456789}, 2, "-1234567.89", "-1234567,89"},
        {DataAmount{-5}, 2, "-0.05", "-0,05"},
        {DataAmount{0}, 2, "0.00", "0,00"},
        {DataRate{2550}, 3, "25.50", "25,50"},
        {DataRates{{2500, 1200}}, 4, "25.00 / 12.00", "25,00 / 12,00"},
        {DataDate{2025, 3, 5}, 5, "2025-03-05", "2025-03-05"},
        {std::monostate{}, 5, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plain);
        ReportData data = smallTable();
        data.table.rows.push_back(std::vector<DataCell>(6));
        data.table.rows[0][c.column] = c.cell;
        for (const auto& [style, expected] :
             {std::pair{kCsvPlain, c.plain}, std::pair{kCsvSwedish, c.swedish}}) {
            std::string fields(c.column, style.separator);
            fields += expected + std::string(5 - c.column, style.separator);
            const std::string header = style.separator == ',' ? "text,tal,belopp,sats,satser,dag"
                                                              : "text;tal;belopp;sats;satser;dag";
            EXPECT_EQ(reportCsv(data, style), "\xEF\xBB\xBF" + header + "\r\n" + fields + "\r\n");
        }
    }
}

TEST(ReportDataFiles, JsonNumbersAreExactDecimalsAndEmptyCellsNull) {
    ReportData data = smallTable();
    data.period = DataMonths{{2025, 1}, {2025, 12}, "1.2025 - 12.2025"};
    data.sums = {{"summa", 123450}};
    data.table.rows = {{std::string("Kassa \"A\""), std::int64_t{1010}, DataAmount{123450}, DataRate{2500},
                        DataRates{{2500, 600}}, DataDate{2025, 12, 31}},
                       {std::monostate{}, std::monostate{}, DataAmount{-1}, std::monostate{}, DataRates{},
                        std::monostate{}}};
    const std::string json = reportJson(data);
    EXPECT_NE(json.find("\"belopp\": 1234.50,"), std::string::npos);
    EXPECT_NE(json.find("\"belopp\": -0.01,"), std::string::npos);
    EXPECT_NE(json.find("\"summor\": {\"summa\": 1234.50}"), std::string::npos);
    const auto parsed = nlohmann::json::parse(json);
    EXPECT_EQ(parsed["period"]["från"], "2025-01");
    EXPECT_TRUE(parsed["månader"].is_null());
    const auto& first = parsed["rader"][0];
    EXPECT_EQ(first["text"], "Kassa \"A\"");
    EXPECT_TRUE(first["tal"].is_number_integer());
    EXPECT_EQ(first["belopp"].get<double>(), 1234.5);
    EXPECT_EQ(first["satser"], nlohmann::json::parse("[25.0, 6.0]"));
    EXPECT_EQ(first["dag"], "2025-12-31");
    const auto& second = parsed["rader"][1];
    EXPECT_TRUE(second["text"].is_null());
    EXPECT_TRUE(second["satser"].is_array());
    EXPECT_EQ(parsed["kolumner"][2], nlohmann::json::parse(R"({"namn": "belopp", "typ": "belopp"})"));
}

// The workbook read back by tests/core/read-xlsx.py (Python's zipfile): every
// cell with its type and value, the frozen rows and the page header.
nlohmann::json readBack(const TempDir& dir, const std::string& bytes) {
    const std::string path = dir.file("rapport.xlsx");
    writeFile(path, bytes);
    const std::string command = "python3 '" KVISTORAN_XLSX_READER "' '" + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
        out += buffer;
    }
    return nlohmann::json::parse(out);
}

TEST_F(ReportDataOfCompany, ExcelCellsAreTypedAndTheHeadingRowFrozen) {
    TempDir dir;
    const ReportData data = journalData(doc);
    const auto book = readBack(dir, reportXlsx(data));
    const auto& sheet = book["sheets"][0];
    EXPECT_EQ(sheet["name"], "Grundbok (verifikat)");
    EXPECT_EQ(sheet["frozen_rows"], 1);
    EXPECT_NE(sheet["header"].get<std::string>().find("Period 1.2025 - 12.2025"), std::string::npos);
    const auto& rows = sheet["rows"];
    ASSERT_EQ(rows.size(), data.table.rows.size() + 1);
    EXPECT_EQ(rows[0][0], nlohmann::json::parse(R"(["s", "verifikat", ""])"));
    Ore debit = 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < data.table.columns.size(); ++c) {
            const DataCell& cell = data.table.rows[r - 1][c];
            const auto& read = rows[r][c];
            SCOPED_TRACE(std::to_string(r) + ":" + data.table.columns[c].name);
            const std::string type = read[0];
            const std::string format = read[2];
            switch (data.table.columns[c].kind) {
            case DataKind::Integer:
                EXPECT_EQ(type, "n");
                EXPECT_EQ(read[1].get<double>(), static_cast<double>(std::get<std::int64_t>(cell)));
                break;
            case DataKind::Amount:
                EXPECT_EQ(type, "n");
                EXPECT_EQ(format, "#,##0.00");
                EXPECT_EQ(std::llround(read[1].get<double>() * 100.0), std::get<DataAmount>(cell).ore);
                break;
            case DataKind::Date:
                EXPECT_EQ(type, "n");
                EXPECT_EQ(format, "yyyy-mm-dd");
                break;
            case DataKind::Text:
                EXPECT_EQ(type, std::get<std::string>(cell).empty() ? "" : "s");
                break;
            case DataKind::Rate:
            case DataKind::Rates:
                EXPECT_EQ(type, std::holds_alternative<std::monostate>(cell) ? "" : "n");
                break;
            }
        }
        debit += std::llround(rows[r][7][1].get<double>() * 100.0);
    }
    EXPECT_EQ(debit, data.sums[0].second);
    // 20 March 2025, the spreadsheet's day number.
    EXPECT_EQ(rows[5][1][1].get<double>(), 45736.0);
    const auto& head = book["sheets"][1]["rows"];
    EXPECT_EQ(head[1], nlohmann::json::parse(R"([["s", "period", ""], ["s", "1.2025 - 12.2025", ""]])"));
}

TEST(ReportDataFiles, ExcelRefusesMoreRowsThanASheetHolds) {
    ReportData data = smallTable();
    data.table.rows.resize(1048576, std::vector<DataCell>(6));
    EXPECT_THROW(static_cast<void>(reportXlsx(data)), ReportDataError);
}

} // namespace
} // namespace kv::test
