#include "reports/ReportData.h"

#include "reports/JournalReport.h"
#include "reports/ReportBooks.h"
#include "reports/ReportCommon.h"
#include "reports/StatementReport.h"
#include "reports/TrialBalanceReport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

namespace kv {

namespace {

using K = DataKind;

DataCell text(std::string_view value) {
    return std::string(value);
}

DataCell integer(std::int64_t value) {
    return value;
}

DataCell amount(Ore ore) {
    return DataAmount{ore};
}

std::int64_t hundredths(double rate) {
    return std::isfinite(rate) ? std::llround(rate * 100.0) : 0;
}

// A date of the books, or an empty cell when the numbers make none.
DataCell date(std::int32_t year, std::int32_t month, std::int32_t day) {
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31) {
        return {};
    }
    return DataDate{year, month, day};
}

std::string monthText(YearMonth month) {
    return std::to_string(month.month) + "." + std::to_string(month.year);
}

DataMonths monthsOf(YearMonth from, YearMonth to) {
    return {from, to, monthText(from) + " - " + monthText(to)};
}

ReportData headed(const CTallvingeDoc& doc, ReportKind kind) {
    return reportHead(doc, reportKindWord(kind), reportTitle(kind));
}

void addRow(DataTable& table, std::vector<DataCell> row) {
    row.resize(table.columns.size());
    table.rows.push_back(std::move(row));
}

// The kinds of a ledger row: a voucher's posting, a balance carried in, or
// the period's result as the result account shows it.
constexpr const char* kVoucherRow = "verifikat";
constexpr const char* kOpeningRow = "ingående balans";
constexpr const char* kResultRow = "resultat";

void addLedgerRows(ReportData& data, const ReportBooks& books, const CKonto& konto, Ore& debit, Ore& credit) {
    Ore balance = 0;
    const bool resultAccount = books.isResultAccount(konto);
    for (const CKontorad& rad : books.rows(konto)) {
        const Ore d = toOre(rad.m_dDebet);
        const Ore c = toOre(rad.m_dKredit);
        balance = addOre(balance, addOre(d, -c));
        debit = addOre(debit, d);
        credit = addOre(credit, c);
        const bool voucher = rad.m_nVernr > 0;
        const char* kind = voucher ? kVoucherRow : resultAccount ? kResultRow : kOpeningRow;
        // A balance carried in stands at the first day of its month.
        const std::int32_t day = voucher || rad.m_nDag > 0 ? rad.m_nDag : 1;
        addRow(data.table, {integer(konto.m_nKontonr), text(konto.m_strKolumn2), text(kind),
                            voucher ? integer(rad.m_nVernr) : DataCell{}, date(rad.m_nAr, rad.m_nManad, day),
                            text(rad.m_strText.view()), amount(d), amount(c), amount(balance)});
    }
}

std::string statementKindWord(StatementRowKind kind) {
    switch (kind) {
    case StatementRowKind::Heading:
        return "rubrik";
    case StatementRowKind::Account:
        return "konto";
    case StatementRowKind::Subtotal:
        return "delsumma";
    case StatementRowKind::Total:
        return "summa";
    case StatementRowKind::Empty:
        break;
    }
    return "";
}

ReportData statementData(const CTallvingeDoc& doc, ReportKind kind, const StatementReport& report) {
    ReportData data = headed(doc, kind);
    data.table.columns = {{"slag", K::Text},
                          {"konto", K::Integer},
                          {"namn", K::Text},
                          {"belopp", K::Amount},
                          {"summa", K::Amount}};
    if (report.refusal) {
        data.notes.push_back(*report.refusal);
        return data;
    }
    for (const StatementRow& row : report.rows) {
        if (row.removed || row.kind == StatementRowKind::Empty) {
            continue;
        }
        const std::int32_t number = readWholeNumber(row.number);
        addRow(data.table,
               {text(statementKindWord(row.kind)), number > 0 ? integer(number) : DataCell{}, text(row.name),
                row.amount ? amount(*row.amount) : DataCell{}, row.sum ? amount(*row.sum) : DataCell{}});
    }
    return data;
}

const char* sideWord(VatSide side) {
    return side == VatSide::Sales ? "utgående" : "ingående";
}

} // namespace

ReportData reportHead(const CTallvingeDoc& doc, std::string kind, std::string title) {
    const CompanyState& company = doc.state();
    ReportData data;
    data.kind = std::move(kind);
    data.title = std::move(title);
    if (doc.hasOpenPeriod()) {
        data.period =
            monthsOf({company.m_nFranAr, company.m_nFranManad}, {company.m_nTillAr, company.m_nTillManad});
    }
    if (company.m_nDelperiod == 1) {
        data.months = monthsOf({company.m_nDelFranAr, company.m_nDelFranManad},
                               {company.m_nDelTillAr, company.m_nDelTillManad});
    }
    return data;
}

int DataTable::column(const std::string& name) const {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const char* reportKindWord(ReportKind kind) {
    switch (kind) {
    case ReportKind::Journal:
        return "journal";
    case ReportKind::Ledger:
        return "ledger";
    case ReportKind::TrialBalance:
        return "trial-balance";
    case ReportKind::Income:
        return "income";
    case ReportKind::Balance:
        return "balance";
    case ReportKind::Vat:
        return "vat";
    }
    return "";
}

ReportData journalData(const CTallvingeDoc& doc, const JournalPrintRange& range) {
    const CompanyState& company = doc.state();
    ReportData data = headed(doc, ReportKind::Journal);
    data.table.columns = {{"verifikat", K::Integer},  {"transaktionsdag", K::Date},
                          {"bokföringsdag", K::Date}, {"verifikattext", K::Text},
                          {"konto", K::Integer},      {"kontonamn", K::Text},
                          {"radtext", K::Text},       {"debet", K::Amount},
                          {"kredit", K::Amount},      {"momssats", K::Rate}};
    Ore debit = 0;
    Ore credit = 0;
    const VoucherSpan span = journalPrintRange(company, range);
    for (std::int32_t number = span.from; number <= span.to; ++number) {
        const CEttVerifikat& ver = company.m_verifikat[static_cast<std::size_t>(number - 1)];
        for (const CVerifikatrad& rad : ver.m_rader) {
            const Ore d = toOre(rad.m_dDebet);
            const Ore c = toOre(rad.m_dKredit);
            debit = addOre(debit, d);
            credit = addOre(credit, c);
            const std::int64_t rate = hundredths(rad.m_dMoms);
            addRow(data.table,
                   {integer(number), date(ver.m_nTransAr, ver.m_nTransManad, ver.m_nTransDag),
                    date(ver.m_nBokfAr, ver.m_nBokfManad, ver.m_nBokfDag), text(ver.m_strVertext.view()),
                    integer(rad.m_nKonto), text(rad.m_strKontonamn.view()), text(rad.m_strRadtext.view()),
                    amount(d), amount(c), rate != 0 ? DataCell{DataRate{rate}} : DataCell{}});
        }
    }
    data.sums = {{"debet", debit}, {"kredit", credit}};
    return data;
}

ReportData ledgerData(const CTallvingeDoc& doc, std::optional<std::int32_t> account) {
    ReportData data = headed(doc, ReportKind::Ledger);
    data.table.columns = {{"konto", K::Integer},     {"kontonamn", K::Text}, {"slag", K::Text},
                          {"verifikat", K::Integer}, {"datum", K::Date},     {"text", K::Text},
                          {"debet", K::Amount},      {"kredit", K::Amount},  {"saldo", K::Amount}};
    // As the screen: the result account carries the result of the chosen months.
    const ReportBooks books(doc, RangeRule::SubPeriod);
    Ore debit = 0;
    Ore credit = 0;
    if (account) {
        const int index = doc.accountIndex(*account);
        if (index >= 0) {
            addLedgerRows(data, books, *doc.state().m_allaKonton[static_cast<std::size_t>(index)], debit,
                          credit);
        }
    } else {
        std::size_t rows = 0;
        for (const auto& konto : doc.state().m_allaKonton) {
            rows += konto->m_nKontonr > 0 ? books.rows(*konto).size() : 0;
        }
        data.table.rows.reserve(rows);
        for (const auto& konto : doc.state().m_allaKonton) {
            if (konto->m_nKontonr > 0) {
                addLedgerRows(data, books, *konto, debit, credit);
            }
        }
    }
    data.sums = {{"debet", debit}, {"kredit", credit}};
    return data;
}

ReportData trialBalanceData(const CTallvingeDoc& doc) {
    ReportData data = headed(doc, ReportKind::TrialBalance);
    data.table.columns = {{"konto", K::Integer},
                          {"kontonamn", K::Text},
                          {"saldo", K::Amount},
                          {"antal_rader", K::Integer},
                          {"momssatser", K::Rates}};
    const TrialBalanceReport report = buildTrialBalance(doc);
    if (!report.shown) {
        return data;
    }
    if (report.rangeText) {
        data.notes.push_back(*report.rangeText);
    }
    Ore sum = 0;
    for (const TrialBalanceRow& row : report.rows) {
        DataRates rates;
        for (const std::string& rate : row.rates) {
            rates.hundredths.push_back(hundredths(std::strtod(rate.c_str(), nullptr)));
        }
        addRow(data.table, {integer(row.number), text(row.name), amount(row.balance),
                            integer(static_cast<std::int64_t>(row.rowCount)), std::move(rates)});
        sum = addOre(sum, row.balance);
    }
    // "Saldo råbalans" adds the result posted on the result account back.
    data.sums = {{"saldo_råbalans", report.total}, {"bokfört_resultat", addOre(report.total, -sum)}};
    if (const auto named = unbalancedVouchersText(report); named && report.total != 0) {
        data.notes.push_back(*named);
    }
    return data;
}

ReportData incomeStatementData(const CTallvingeDoc& doc) {
    return statementData(doc, ReportKind::Income, buildIncomeStatement(doc));
}

ReportData balanceSheetData(const CTallvingeDoc& doc) {
    return statementData(doc, ReportKind::Balance, buildBalanceSheet(doc));
}

ReportData vatReportData(const CTallvingeDoc& doc, const VatReport& report) {
    ReportData data = headed(doc, ReportKind::Vat);
    data.months.reset(); // the report's own months, below
    data.table.columns = {{"del", K::Text},
                          {"sida", K::Text},
                          {"momskonto", K::Integer},
                          {"momssats", K::Rate},
                          {"konto", K::Integer},
                          {"namn", K::Text},
                          {"netto", K::Amount},
                          {"beräknad_moms", K::Amount},
                          {"bokförd_moms", K::Amount},
                          {"differens", K::Amount},
                          {"ruta", K::Text},
                          {"belopp", K::Amount},
                          {"kronor", K::Integer}};
    if (!report.shown) {
        return data;
    }
    data.months = monthsOf(report.range.from, report.range.to);
    if (report.range.defaulted) {
        data.notes.emplace_back("Månaderna är det senaste kvartalet med verifikat");
    }
    data.notes.insert(data.notes.end(), report.notes.begin(), report.notes.end());
    for (const VatAccountGroup& group : report.groups) {
        for (const VatRuleLine& rule : group.rules) {
            addRow(data.table, {text("regel"), text(sideWord(group.side)), integer(group.account),
                                DataRate{hundredths(rule.rate)}, integer(rule.account),
                                text(rule.accountName), amount(rule.net), amount(rule.implied)});
        }
    }
    for (const VatAccountGroup& group : report.groups) {
        addRow(data.table, {text("momskonto"),
                            text(sideWord(group.side)),
                            integer(group.account),
                            {},
                            {},
                            text(group.accountName),
                            {},
                            amount(group.implied),
                            amount(group.booked),
                            amount(group.difference())});
    }
    // The check of the books against the return, per side.
    for (const auto& [side, booked, implied] :
         {std::tuple{VatSide::Sales, report.outputBooked, report.outputImplied},
          std::tuple{VatSide::Purchase, report.inputBooked, report.inputImplied}}) {
        addRow(data.table, {text("kontroll"),
                            text(sideWord(side)),
                            {},
                            {},
                            {},
                            {},
                            {},
                            amount(implied),
                            amount(booked),
                            amount(booked - implied)});
    }
    for (const VatBox& box : report.boxes) {
        addRow(data.table, {text("ruta"),
                            {},
                            {},
                            {},
                            {},
                            text(box.label),
                            {},
                            {},
                            {},
                            {},
                            text(box.code),
                            amount(box.exact),
                            integer(box.kronor)});
    }
    data.sums = {{"utgående_moms_bokförd", report.outputBooked},
                 {"utgående_moms_beräknad", report.outputImplied},
                 {"ingående_moms_bokförd", report.inputBooked},
                 {"ingående_moms_beräknad", report.inputImplied},
                 {"moms_att_betala", report.toPay()}};
    return data;
}

ReportData reportData(const CTallvingeDoc& doc, ReportKind kind, std::optional<std::int32_t> account) {
    switch (kind) {
    case ReportKind::Journal:
        return journalData(doc);
    case ReportKind::Ledger:
        return ledgerData(doc, account);
    case ReportKind::TrialBalance:
        return trialBalanceData(doc);
    case ReportKind::Income:
        return incomeStatementData(doc);
    case ReportKind::Balance:
        return balanceSheetData(doc);
    case ReportKind::Vat:
        return vatReportData(doc, buildVatReport(doc));
    }
    return {};
}

std::vector<Ore> amountsOf(const DataTable& table, const std::string& column) {
    std::vector<Ore> out;
    const int index = table.column(column);
    if (index < 0) {
        return out;
    }
    for (const auto& row : table.rows) {
        if (const auto* value = std::get_if<DataAmount>(&row[static_cast<std::size_t>(index)])) {
            out.push_back(value->ore);
        }
    }
    return out;
}

} // namespace kv
