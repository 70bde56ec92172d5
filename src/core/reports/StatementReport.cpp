#include "reports/StatementReport.h"

#include "reports/ReportBooks.h"
#include "reports/ReportCommon.h"
#include "reports/ReportTexts.h"

#include <array>

namespace kv {

namespace {

bool hasCode(const std::string& code) {
    return !code.empty();
}

// Sums of the balances of the rows above, by group letter and in all.
class RunningSums {
public:
    void add(const CKonto& konto, Ore balance) {
        m_all = addOre(m_all, balance);
        if (!konto.m_strKolumn3.empty()) {
            auto& group = m_groups[static_cast<unsigned char>(konto.m_strKolumn3.front())];
            group = addOre(group, balance);
        }
    }
    // The rows above whose group is one of the characters of groups.
    [[nodiscard]] Ore ofGroups(const std::string& groups) const {
        std::array<bool, 256> counted{};
        Ore sum = 0;
        for (const char c : groups) {
            const auto index = static_cast<unsigned char>(c);
            if (!counted[index]) {
                counted[index] = true;
                sum = addOre(sum, m_groups[index]);
            }
        }
        return sum;
    }
    [[nodiscard]] Ore all() const { return m_all; }

private:
    std::array<Ore, 256> m_groups{};
    Ore m_all = 0;
};

// The kind of a chart row: the total and subtotal codes first, then the
// account number, then a name alone.
StatementRowKind kindOf(const CKonto& konto, bool total) {
    if (total) {
        return StatementRowKind::Total;
    }
    if (hasCode(konto.m_strKolumn4)) {
        return StatementRowKind::Subtotal;
    }
    if (konto.m_nKontonr > 0) {
        return StatementRowKind::Account;
    }
    return konto.m_strKolumn2.empty() ? StatementRowKind::Empty : StatementRowKind::Heading;
}

StatementRow rowOf(const CKonto& konto, bool total) {
    StatementRow row;
    row.kind = kindOf(konto, total);
    if (konto.m_nKontonr != 0) {
        row.number = std::to_string(konto.m_nKontonr);
    }
    row.name = konto.m_strKolumn2;
    return row;
}

bool isUnusedCandidate(const CKonto& konto) {
    return konto.m_nKontonr > 0 && !konto.m_strKolumn2.empty();
}

std::string onlyUsedText(const CompanyState& company, const char* onlyUsed) {
    return company.m_nEndastAnvanda == 1 ? onlyUsed : kVisarAllaKonton;
}

std::optional<std::string> incomeRefusal(const CTallvingeDoc& doc) {
    const CompanyState& company = doc.state();
    if (company.m_resKonton.empty()) {
        return std::string(kRegistreraResultatkontot);
    }
    if (company.m_balKonton.empty()) {
        return std::string(kRegistreraBalanskontot);
    }
    // The result account: column 2 of the second-last income row, a balance
    // row at or after the first row coded "a".
    const std::int32_t number =
        company.m_resKonton.size() >= 2
            ? readWholeNumber(company.m_resKonton[company.m_resKonton.size() - 2]->m_strKolumn2)
            : 0;
    bool liabilities = false;
    for (const CKonto* konto : company.m_balKonton) {
        liabilities = liabilities || konto->m_strKolumn5 == "a";
        if (liabilities && number != 0 && konto->m_nKontonr == number) {
            return std::nullopt;
        }
    }
    return std::string(kVinstkontoSaknas);
}

} // namespace

std::optional<std::string> incomeStatementRefusal(const CTallvingeDoc& doc) {
    return incomeRefusal(doc);
}

std::vector<StatementRow> incomeStatementRows(const CompanyState& company,
                                              const std::function<Ore(const CKonto&)>& balance) {
    std::vector<StatementRow> out;
    const auto& rows = company.m_resKonton;
    // The last named row above the result rows and the end marker.
    std::size_t shown = 0;
    for (std::size_t i = 0; i + 4 < rows.size(); ++i) {
        if (!rows[i]->m_strKolumn2.empty()) {
            shown = i + 1;
        }
    }
    RunningSums above;
    for (std::size_t i = 0; i < shown; ++i) {
        const CKonto& konto = *rows[i];
        const Ore amount = balance(konto);
        StatementRow row = rowOf(konto, hasCode(konto.m_strKolumn5));
        if (hasCode(konto.m_strKolumn3)) {
            row.amount = -amount;
        }
        if (hasCode(konto.m_strKolumn4)) {
            row.sum = -above.ofGroups(konto.m_strKolumn4);
        }
        if (hasCode(konto.m_strKolumn5)) {
            row.sum = -above.all();
        }
        row.removed = company.m_nEndastAnvanda == 1 && isUnusedCandidate(konto) && konto.m_nAnvands == 0;
        above.add(konto, amount);
        out.push_back(std::move(row));
    }
    return out;
}

StatementReport buildIncomeStatement(const CTallvingeDoc& doc) {
    const CompanyState& company = doc.state();
    StatementReport report;
    report.which = Statement::Income;
    report.heading = std::string(kResultatrakning) + "  " + doc.periodLabel();
    report.headerButton =
        onlyUsedText(company, kVisarEndastAnvandaIncome) + subPeriodText(company).value_or("");
    report.refusal = incomeRefusal(doc);
    if (report.refusal) {
        return report;
    }
    const MonthSelection months = doc.monthSelection(RangeRule::SubPeriod);
    report.rows =
        incomeStatementRows(company, [&months](const CKonto& konto) { return balanceOf(konto, months); });
    return report;
}

StatementReport buildBalanceSheet(const CTallvingeDoc& doc) {
    const CompanyState& company = doc.state();
    StatementReport report;
    report.which = Statement::Balance;
    report.heading = std::string(kBalansrakning) + "  " + doc.periodLabel();
    std::string range;
    if (company.m_nDelperiod == 1) {
        range = kDelperiodTom + std::to_string(company.m_nDelTillManad) + "." +
                std::to_string(company.m_nDelTillAr);
    }
    report.headerButton = onlyUsedText(company, kVisarEndastAnvandaBalance) + range;
    const auto& rows = company.m_balKonton;
    if (rows.empty()) {
        return report;
    }
    std::size_t last = 0; // the last row coded "p"; only the first without one
    std::optional<std::size_t> assetsEnd;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i]->m_strKolumn5 == "p") {
            last = i;
        }
        if (!assetsEnd && rows[i]->m_strKolumn5 == "a") {
            assetsEnd = i;
        }
    }
    // With a month range: the rows through its last month; the result
    // account carries the income statement's result from the period start.
    const ReportBooks books(doc, RangeRule::Cumulative);
    const MonthSelection months = doc.monthSelection(RangeRule::Cumulative);
    std::vector<Ore> balances(rows.size());
    Ore liabilities = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        balances[i] = books.balance(*rows[i], books.isResultAccount(*rows[i]) ? MonthSelection{} : months);
        if (assetsEnd && i > *assetsEnd) {
            liabilities = addOre(liabilities, balances[i]);
        }
    }
    RunningSums above;
    for (std::size_t i = 0; i <= last; ++i) {
        const CKonto& konto = *rows[i];
        const bool liabilitySide = assetsEnd && i > *assetsEnd;
        const Ore sign = liabilitySide ? -1 : 1;
        const bool hidden = assetsEnd && i > *assetsEnd && i < *assetsEnd + 5;
        StatementRow row =
            hidden ? StatementRow{} : rowOf(konto, konto.m_strKolumn5 == "a" || konto.m_strKolumn5 == "p");
        if (!hidden) {
            if (hasCode(konto.m_strKolumn3)) {
                row.amount = sign * balances[i];
            }
            if (hasCode(konto.m_strKolumn4)) {
                row.sum = sign * above.ofGroups(konto.m_strKolumn4);
            }
            if (konto.m_strKolumn5 == "a") {
                row.sum = above.all();
            } else if (konto.m_strKolumn5 == "p") {
                row.sum = -liabilities;
            }
            row.removed = company.m_nEndastAnvanda == 1 && isUnusedCandidate(konto) &&
                          books.rows(konto).empty() && !(liabilitySide && books.isResultAccount(konto));
        }
        above.add(konto, balances[i]);
        // Chart row a + 4 has no report row: from a + 5 on, chart row i stands at report row i.
        if (!(assetsEnd && i == *assetsEnd + 4)) {
            report.rows.push_back(std::move(row));
        }
    }
    return report;
}

ReportForm statementForm(const StatementReport& report) {
    ReportForm form;
    form.columns = {"Konto", "Namn", "Belopp", "Summa"};
    std::int32_t y = 0;
    form.lines.push_back({y, {{report.heading, -1, 0, TextAlign::Left, std::nullopt, false}}});
    form.lines.push_back({y += 16, {{report.headerButton, -1, 0, TextAlign::Left, std::nullopt, false}}});
    if (report.refusal) {
        form.lines.push_back({y += 16, {{*report.refusal, -1, 0, TextAlign::Left, std::nullopt, false}}});
        return form;
    }
    bool blankBefore = false;
    for (const StatementRow& row : report.rows) {
        // Runs of empty chart rows print as one empty line.
        const bool blank = row.number.empty() && row.name.empty() && !row.amount && !row.sum;
        if (row.removed || (blank && blankBefore)) {
            continue;
        }
        blankBefore = blank;
        FormLine line{y += 16, {}};
        line.cells.push_back({row.number, 0, 0, TextAlign::Left, std::nullopt, false});
        line.cells.push_back({row.name, 1, 100, TextAlign::Left, std::nullopt, false});
        if (row.amount) {
            line.cells.push_back({formatOre(*row.amount), 2, 420, TextAlign::Right, std::nullopt, false});
        }
        if (row.sum) {
            line.cells.push_back({formatOre(*row.sum), 3, 530, TextAlign::Right, std::nullopt, false});
        }
        form.lines.push_back(std::move(line));
    }
    form.height = y + 16;
    return form;
}

} // namespace kv
