#include "budget/BudgetReport.h"

#include "reports/ReportCommon.h"
#include "reports/ReportText.h"
#include "reports/ReportTexts.h"
#include "reports/StatementReport.h"
#include "storage/CompanyDatabase.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace kv {

namespace {

std::string monthText(YearMonth month) {
    return std::to_string(month.month) + "." + std::to_string(month.year);
}

std::string runText(YearMonth from, YearMonth to) {
    return monthText(from) + " - " + monthText(to);
}

// The figure a statement row shows: its amount or its sum.
std::optional<Ore> shown(const StatementRow& row) {
    return row.amount ? row.amount : row.sum;
}

const AccountOutcome* outcomeFor(const std::vector<AccountOutcome>& outcome, std::int32_t account) {
    for (const AccountOutcome& entry : outcome) {
        if (entry.account == account && entry.income) {
            return &entry;
        }
    }
    return nullptr;
}

std::string formatted(const std::optional<Ore>& amount) {
    return amount ? formatOre(*amount) : std::string();
}

std::string percentOf(const BudgetReportRow& row) {
    const std::optional<double> percent = row.deviationPercent();
    return percent ? percentText(*percent) : std::string();
}

} // namespace

std::optional<Ore> BudgetReportRow::deviation() const {
    if (!outcome || !budget) {
        return std::nullopt;
    }
    return addOre(*outcome, -*budget);
}

std::optional<double> BudgetReportRow::deviationPercent() const {
    const std::optional<Ore> difference = deviation();
    if (!difference || *budget == 0) {
        return std::nullopt;
    }
    return static_cast<double>(*difference) * 100.0 / std::fabs(static_cast<double>(*budget));
}

std::string percentText(double percent) {
    char text[48];
    std::snprintf(text, sizeof text, "%.1f", percent);
    // No "-0.0" for a deviation that rounds to nothing.
    return std::string(text) == "-0.0" ? "0.0" : text;
}

BudgetReport buildBudgetReport(const CTallvingeDoc& doc, const std::optional<PeriodBudget>& budget,
                               const std::optional<PreviousPeriod>& previous,
                               const std::optional<std::string>& previousFailure) {
    BudgetReport report;
    report.heading = std::string(kBudgetReportTitle) + "  " + doc.periodLabel();
    report.refusal = incomeStatementRefusal(doc);
    if (report.refusal) {
        return report;
    }
    const CompanyState& company = doc.state();
    const MonthSelection selection = doc.monthSelection(RangeRule::SubPeriod);
    const bool whole = selection.rule == RangeRule::WholePeriod;
    const YearMonth from = whole ? doc.periodStart() : selection.from;
    const YearMonth to = whole ? doc.periodEnd() : selection.to;
    report.months = whole ? "Hela perioden" : "Månader: " + runText(from, to);
    report.hasBudget = budget.has_value();
    if (!budget) {
        report.notes.emplace_back(kMsgIngenBudget);
    }
    // The previous period: all of it, or the same months a year earlier.
    const YearMonth previousFrom = previous && whole ? previous->first : from.plusMonths(-12);
    const YearMonth previousTo = previous && whole ? previous->last : to.plusMonths(-12);
    report.hasPrevious = previous.has_value();
    if (previous) {
        report.previousMonths = "Föregående år: " + runText(previousFrom, previousTo);
    } else {
        report.notes.push_back(previousFailure.value_or(kMsgIngenForegaendePeriod));
    }
    const auto outcomeRows = incomeStatementRows(
        company, [&selection](const CKonto& konto) { return balanceOf(konto, selection); });
    const auto budgetRows = incomeStatementRows(company, [&](const CKonto& konto) {
        return budget && konto.m_nKontonr > 0 ? -budget->amount(konto.m_nKontonr, from, to) : Ore{0};
    });
    const auto previousRows = incomeStatementRows(company, [&](const CKonto& konto) {
        const AccountOutcome* entry = previous ? outcomeFor(previous->outcome, konto.m_nKontonr) : nullptr;
        return entry == nullptr || konto.m_nKontonr <= 0 ? Ore{0} : -entry->over(previousFrom, previousTo);
    });
    for (std::size_t i = 0; i < outcomeRows.size(); ++i) {
        const StatementRow& row = outcomeRows[i];
        BudgetReportRow line{row.number,   row.name, row.sum.has_value(), shown(row), std::nullopt,
                             std::nullopt, false};
        if (line.outcome) {
            line.budget = budget ? shown(budgetRows[i]) : std::nullopt;
            line.previous = previous ? shown(previousRows[i]) : std::nullopt;
        }
        line.removed = row.removed && line.budget.value_or(0) == 0 && line.previous.value_or(0) == 0;
        report.rows.push_back(std::move(line));
    }
    if (budget) {
        for (const BudgetLine& removed : budget->lines) {
            if (removed.removed) {
                report.removedAccounts.push_back(
                    {std::to_string(removed.account), removed.name + " (" + kBorttagetKonto + ")", false,
                     std::nullopt, budget->amount(removed.account, from, to), std::nullopt, false});
            }
        }
    }
    return report;
}

BudgetReport buildOpenBudgetReport(const CTallvingeDoc& doc, const std::optional<PreviousPeriod>& previous,
                                   const std::optional<std::string>& previousFailure) {
    std::optional<PeriodBudget> budget;
    std::optional<std::string> budgetFailure;
    if (doc.hasOpenPeriod()) {
        try {
            budget = loadBudget(doc, doc.state().m_nAktuellPeriod);
        } catch (const DatabaseError& error) {
            budgetFailure = error.what();
        } catch (const BudgetRefusal& refusal) {
            budgetFailure = refusal.what();
        }
    }
    BudgetReport report = buildBudgetReport(doc, budget, previous, previousFailure);
    if (budgetFailure) {
        report.notes.push_back(*budgetFailure);
    }
    return report;
}

std::optional<std::string> readPreviousPeriod(const CTallvingeDoc& doc,
                                              std::optional<PreviousPeriod>& previous) {
    if (!doc.hasOpenPeriod()) {
        return std::nullopt;
    }
    try {
        previous = loadPreviousPeriod(doc);
    } catch (const BudgetRefusal& refusal) {
        return std::string("Föregående period kunde inte läsas: ") + refusal.what();
    }
    return std::nullopt;
}

BudgetReport buildBudgetReport(const CTallvingeDoc& doc) {
    std::optional<PreviousPeriod> previous;
    const std::optional<std::string> failure = readPreviousPeriod(doc, previous);
    return buildOpenBudgetReport(doc, previous, failure);
}

ReportForm budgetReportForm(const BudgetReport& report) {
    ReportForm form;
    form.columns = {"Konto", "Namn", "Utfall", "Budget", "Avvikelse kr", "Avvikelse %", "Föregående år"};
    static constexpr std::array<std::int32_t, 7> x = {0, 60, 400, 510, 620, 720, 850};
    std::int32_t y = 0;
    const auto note = [&form, &y](const std::string& text) {
        form.lines.push_back({y, {{text, -1, 0, TextAlign::Left, std::nullopt, false}}});
        y += 16;
    };
    note(report.heading);
    if (report.refusal) {
        note(*report.refusal);
        form.height = y;
        return form;
    }
    note(report.months);
    if (report.hasPrevious) {
        note(report.previousMonths);
    }
    for (const std::string& text : report.notes) {
        note(text);
    }
    // The column titles, as a line of the table, so the text and CSV name their columns.
    FormLine titles{y, {}};
    for (std::size_t c = 0; c < form.columns.size(); ++c) {
        titles.cells.push_back({form.columns[c], static_cast<std::int32_t>(c), x[c],
                                c < 2 ? TextAlign::Left : TextAlign::Right, std::nullopt, false});
    }
    form.lines.push_back(std::move(titles));
    y += 16;
    const auto add = [&](const BudgetReportRow& row) {
        FormLine line{y, {}};
        line.cells.push_back({row.number, 0, x[0], TextAlign::Left, std::nullopt, false});
        line.cells.push_back({row.name, 1, x[1], TextAlign::Left, std::nullopt, false});
        const std::array<std::string, 5> figures = {formatted(row.outcome), formatted(row.budget),
                                                    formatted(row.deviation()), percentOf(row),
                                                    formatted(row.previous)};
        for (std::size_t c = 0; c < figures.size(); ++c) {
            if (!figures[c].empty()) {
                const bool behind = c == 2 && row.deviation().value_or(0) < 0;
                line.cells.push_back({figures[c], static_cast<std::int32_t>(c + 2), x[c + 2],
                                      TextAlign::Right,
                                      behind ? std::optional<Rgb>(kReportRed) : std::nullopt, false});
            }
        }
        form.lines.push_back(std::move(line));
        y += 16;
    };
    bool blankBefore = false;
    for (const BudgetReportRow& row : report.rows) {
        // Runs of empty chart rows print as one empty line.
        const bool blank = row.number.empty() && row.name.empty() && !row.outcome;
        if (row.removed || (blank && blankBefore)) {
            continue;
        }
        blankBefore = blank;
        add(row);
    }
    if (!report.removedAccounts.empty()) {
        note("");
        note("Budgeterade konton som inte längre finns i kontoplanen (ingår inte i summorna):");
        for (const BudgetReportRow& row : report.removedAccounts) {
            add(row);
        }
    }
    form.height = y;
    return form;
}

Listing budgetReportListing(const BudgetReport& report, const CTallvingeDoc& doc, const PrintDevice& device) {
    Listing listing;
    listing.placement = ListingPlacement::OwnPositions;
    listing.rightFrom = 2;
    listing.firstLine = 7;
    listing.heading = {{kBudgetReportTitle, 150, 0},
                       {printedCompanyName(doc), 150, 1},
                       {kPeriodLead + doc.periodLabel(), 150, 2},
                       {kHeadingRule, 150, 3},
                       {"Konto", 150, 5},
                       {"Namn", 330, 5, true},
                       {"Utfall", 1070, 5, true, true},
                       {"Budget", 1430, 5, true, true},
                       {"Avvikelse", 1790, 5, true, true},
                       {"%", 1960, 5, true, true},
                       {"Föreg. år", 2320, 5, true, true},
                       {kHeadingRule, 150, 6}};
    if (report.refusal) {
        listing.lines.push_back({{*report.refusal}, {fixedX(150, device)}});
        return listing;
    }
    listing.heading.push_back({report.months, 1200, 2, true});
    // Each amount column holds "-999 999 999.00" in the page font; the name gets what is left.
    const std::array<std::int32_t, 8> x{
        fixedX(150, device),   columnX(330, device),  columnX(1070, device), columnX(1430, device),
        columnX(1790, device), columnX(1960, device), columnX(2320, device), 0};
    const auto line = [&](std::array<std::string, 8> texts) {
        CUtskriftsrad out;
        out.m_text = std::move(texts);
        out.m_x = x;
        listing.lines.push_back(std::move(out));
    };
    if (report.hasPrevious) {
        line({report.previousMonths, "", "", "", "", "", "", ""});
    }
    for (const std::string& note : report.notes) {
        line({note, "", "", "", "", "", "", ""});
    }
    if (report.hasPrevious || !report.notes.empty()) {
        line({});
    }
    const auto row = [&](const BudgetReportRow& r) {
        line({r.number, firstCharacters(r.name, 24), formatted(r.outcome), formatted(r.budget),
              formatted(r.deviation()), percentOf(r), formatted(r.previous), ""});
    };
    bool blankBefore = false;
    for (const BudgetReportRow& r : report.rows) {
        const bool blank = r.number.empty() && r.name.empty() && !r.outcome;
        if (r.removed || (blank && blankBefore)) {
            continue;
        }
        blankBefore = blank;
        row(r);
    }
    if (!report.removedAccounts.empty()) {
        line({});
        line({"Budgeterade konton som inte längre finns i kontoplanen (ingår inte i summorna):", "", "", "",
              "", "", "", ""});
        for (const BudgetReportRow& r : report.removedAccounts) {
            row(r);
        }
    }
    return listing;
}

} // namespace kv

namespace kv {

ReportData budgetReportData(const CTallvingeDoc& doc, const BudgetReport& report) {
    ReportData data = reportHead(doc, "budget", kBudgetReportTitle);
    data.notes = report.notes;
    if (report.refusal) {
        data.notes.push_back(*report.refusal);
    }
    data.table.columns = {{"slag", DataKind::Text},
                          {"konto", DataKind::Integer},
                          {"namn", DataKind::Text},
                          {"utfall", DataKind::Amount},
                          {"budget", DataKind::Amount},
                          {"avvikelse", DataKind::Amount},
                          {"avvikelse_procent", DataKind::Rate},
                          {"föregående_år", DataKind::Amount}};
    const auto figure = [](const std::optional<Ore>& ore) {
        return ore ? DataCell{DataAmount{*ore}} : DataCell{};
    };
    const auto add = [&](const BudgetReportRow& row, const char* kind) {
        const std::int32_t number = readWholeNumber(row.number);
        const std::optional<double> percent = row.deviationPercent();
        data.table.rows.push_back({std::string(kind),
                                   number > 0 ? DataCell{std::int64_t{number}} : DataCell{}, row.name,
                                   figure(row.outcome), figure(row.budget), figure(row.deviation()),
                                   percent ? DataCell{DataRate{std::llround(*percent * 100.0)}} : DataCell{},
                                   figure(row.previous)});
    };
    for (const BudgetReportRow& row : report.rows) {
        if (row.removed || (row.number.empty() && row.name.empty())) {
            continue;
        }
        add(row, row.sum ? "summa" : row.number.empty() ? "rubrik" : "konto");
    }
    for (const BudgetReportRow& row : report.removedAccounts) {
        add(row, "borttaget konto");
    }
    return data;
}

} // namespace kv
