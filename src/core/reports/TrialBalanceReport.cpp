#include "reports/TrialBalanceReport.h"

#include "reports/ReportBooks.h"
#include "reports/ReportCommon.h"
#include "reports/ReportText.h"
#include "reports/ReportTexts.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <future>
#include <system_error>
#include <unordered_map>

namespace kv {

namespace {

// The rate of every VAT rule whose debit-side or credit-side account this is.
std::vector<std::string> ratesOf(const CompanyState& company, std::int32_t number) {
    std::vector<std::string> rates;
    for (const CAutomoms& rule : company.m_momsregler) {
        if (rule.m_nDebetkonto == number || rule.m_nKreditkonto == number) {
            std::string text = rateText(rule.m_dMomssats);
            if (std::find(rates.begin(), rates.end(), text) == rates.end()) {
                rates.push_back(std::move(text));
            }
        }
    }
    return rates;
}

std::string joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& text : texts) {
        out += (out.empty() ? "" : " / ") + text;
    }
    return out;
}

FormCell cell(std::string text, std::int32_t column, std::int32_t x, TextAlign align = TextAlign::Left) {
    return {std::move(text), column, x, align, std::nullopt, false};
}

// The vouchers whose lines do not balance, in the order kept.
std::vector<std::int32_t> unbalancedVouchers(const std::vector<CEttVerifikat>& vouchers) {
    std::vector<std::int32_t> unbalanced;
    for (const CEttVerifikat& voucher : vouchers) {
        Ore difference = 0;
        for (const CVerifikatrad& line : voucher.m_rader) {
            difference = addOre(difference, addOre(toOre(line.m_dDebet), -toOre(line.m_dKredit)));
        }
        if (difference != 0) {
            unbalanced.push_back(voucher.m_nVernr);
        }
    }
    return unbalanced;
}

// From this many vouchers on they are checked on another thread while the
// accounts are summed.
constexpr std::size_t kVouchersForAThread = 20000;

} // namespace

TrialBalanceReport buildTrialBalance(const CTallvingeDoc& doc) {
    const CompanyState& company = doc.state();
    TrialBalanceReport report;
    report.periodLabel = doc.periodLabel();
    report.rangeText = trialBalanceRangeText(company);
    report.shown = booksComplete(company);
    if (!report.shown) {
        return report;
    }
    const std::string label = report.periodLabel;
    report.resultNote = "(resultat fr.o.m. " + label.substr(0, label.find(' ')) + ")";
    std::future<std::vector<std::int32_t>> unbalanced;
    if (company.m_verifikat.size() >= kVouchersForAThread) {
        try {
            unbalanced = std::async(std::launch::async, unbalancedVouchers, std::cref(company.m_verifikat));
        } catch (const std::system_error&) {
            // no thread to be had: they are checked below, after the accounts
        }
    }
    // Each account's rows are walked once: the period's result is the income
    // accounts' balances over the same months.
    const MonthSelection months = doc.monthSelection(RangeRule::Cumulative);
    std::unordered_map<const CKonto*, Ore> balances;
    balances.reserve(company.m_allaKonton.size());
    for (const auto& konto : company.m_allaKonton) {
        balances.emplace(konto.get(), balanceOf(*konto, months));
    }
    Ore incomeSum = 0;
    for (const CKonto* konto : company.m_resKonton) {
        incomeSum = addOre(incomeSum, balances.at(konto));
    }
    const ReportBooks books(doc, -incomeSum);
    Ore total = 0;
    for (const auto& konto : company.m_allaKonton) {
        if (konto->m_nKontonr <= 0) {
            continue;
        }
        TrialBalanceRow row;
        row.number = konto->m_nKontonr;
        row.name = konto->m_strKolumn2;
        // The result row carries no date: all of the result account's rows count.
        row.balance = books.isResultAccount(*konto) ? books.balance(*konto, MonthSelection{})
                                                    : balances.at(konto.get());
        row.rowCount = books.rows(*konto).size();
        row.rates = ratesOf(company, row.number);
        row.resultNote = report.rangeText.has_value() && books.isResultAccount(*konto);
        total = addOre(total, row.balance);
        report.rows.push_back(std::move(row));
    }
    report.total = addOre(total, books.postedResult().value_or(0));
    report.unbalanced = unbalanced.valid() ? unbalanced.get() : unbalancedVouchers(company.m_verifikat);
    return report;
}

std::optional<std::string> unbalancedVouchersText(const TrialBalanceReport& report) {
    if (report.unbalanced.empty()) {
        return std::nullopt;
    }
    std::string text = kVerifikatMedDifferens;
    for (std::size_t i = 0; i < report.unbalanced.size(); ++i) {
        text += (i == 0 ? " " : ", ") + std::to_string(report.unbalanced[i]);
    }
    return text;
}

ReportForm trialBalanceForm(const TrialBalanceReport& report, const ScreenMeasures& screen) {
    ReportForm form;
    form.columns = {"NR", "NAMN", "SALDO (deb - kre)", "ANTAL RADER", "MOMSSATS"};
    if (!report.shown) {
        return form;
    }
    FormLine period{1,
                    {{kPeriodLead, -1, 380, TextAlign::Left, kReportOrange, false},
                     {report.periodLabel, -1, 450, TextAlign::Left, kReportOrange, false}}};
    form.lines.push_back(std::move(period));
    if (report.rangeText) {
        form.lines.push_back({13, {{*report.rangeText, -1, 380, TextAlign::Left, kReportOrange, false}}});
    }
    form.lines.push_back({25,
                          {cell("NR", 0, 1), cell("NAMN", 1, 55), cell("SALDO (deb - kre)", 2, 230),
                           cell("ANTAL RADER", 3, 380), cell("MOMSSATS", 4, 510)}});
    const std::int32_t lh = screenY(17, screen);
    std::int32_t y = screenY(30, screen) + 2 * lh;
    form.lines.reserve(report.rows.size() + 4);
    for (const TrialBalanceRow& row : report.rows) {
        FormLine line{y,
                      {cell(std::to_string(row.number), 0, 1), cell(firstCharacters(row.name, 27), 1, 55),
                       cell(formatOre(row.balance), 2, 310, TextAlign::Right),
                       cell(std::to_string(row.rowCount), 3, 415)}};
        if (!row.rates.empty()) {
            line.cells.push_back(cell(joined(row.rates), 4, 530));
        }
        if (row.resultNote) {
            line.cells.push_back(cell(report.resultNote, 4, 510));
        }
        form.lines.push_back(std::move(line));
        y += lh;
    }
    // Books out of balance stand out: the total in red, and the vouchers named.
    const std::optional<Rgb> alarm = report.total != 0 ? std::optional<Rgb>(kReportRed) : std::nullopt;
    form.lines.push_back(
        {y,
         {cell(kSaldoRabalans, 1, 55), {formatOre(report.total), 2, 310, TextAlign::Right, alarm, false}}});
    if (const auto named = unbalancedVouchersText(report); named && report.total != 0) {
        y += lh;
        form.lines.push_back({y, {{*named, -1, 55, TextAlign::Left, kReportRed, false}}});
    }
    form.height = y + 2 * lh;
    return form;
}

Listing trialBalanceListing(const TrialBalanceReport& report, const CTallvingeDoc& doc) {
    Listing listing;
    listing.placement = ListingPlacement::FixedColumns;
    listing.firstLine = 8;
    listing.cell5Shift = 150;
    listing.heading = {{kAllaKontonPrinted, 150, 0},
                       {printedCompanyName(doc), 150, 1},
                       {kPeriodLead + report.periodLabel, 150, 2},
                       {kHeadingRule, 150, 3},
                       {"Kontonr", 150, 5},
                       {"Kontonamn", 525, 5, true},
                       {"Kontosaldo (deb-kre)", 1305, 5, true, false, 150},
                       {kHeadingRule, 150, 6}};
    if (report.rangeText) {
        listing.heading.push_back({*report.rangeText, 680, 2});
    }
    if (!report.shown) {
        return listing;
    }
    listing.lines.reserve(report.rows.size() + 1);
    for (const TrialBalanceRow& row : report.rows) {
        CUtskriftsrad line;
        line.m_text[0] = zeroPadded(row.number, 5);
        line.m_text[2] = row.name;
        line.m_text[5] = formatOre(row.balance);
        line.m_x[0] = 150;
        listing.lines.push_back(std::move(line));
    }
    CUtskriftsrad last;
    last.m_text[0] = kRabalansPrinted;
    last.m_text[5] = formatOre(report.total);
    last.m_x[0] = 150;
    listing.lines.push_back(std::move(last));
    return listing;
}

} // namespace kv
