#include "budget/BudgetEditorModel.h"

#include "storage/CompanyDatabase.h"

#include <algorithm>

namespace kv {

namespace {

std::string monthTitle(YearMonth month) {
    return std::to_string(month.month) + "." + std::to_string(month.year);
}

std::optional<PeriodBudget> previousBudget(const CTallvingeDoc& doc, std::int32_t period) {
    return period > 0 ? loadBudget(doc, period - 1) : std::nullopt;
}

} // namespace

BudgetEditorModel::BudgetEditorModel(const CTallvingeDoc& doc, std::optional<std::int32_t> period)
    : m_doc(doc) {
    const std::int32_t index = period.value_or(doc.state().m_nAktuellPeriod);
    try {
        m_budget = emptyBudget(doc, index);
        if (std::optional<PeriodBudget> saved = loadBudget(doc, index)) {
            m_budget = std::move(*saved);
        }
    } catch (const DatabaseError& error) {
        m_loadMessage = error.what();
    } catch (const BudgetRefusal& refusal) {
        m_loadMessage = refusal.what();
    }
    rebuildRows();
}

std::string BudgetEditorModel::title() const {
    if (m_budget.monthCount == 0) {
        return kBudgetTitle;
    }
    return std::string(kBudgetTitle) + " " + monthTitle(m_budget.first) + " - " +
           monthTitle(m_budget.month(m_budget.monthCount - 1));
}

void BudgetEditorModel::setShowBalanceAccounts(bool show) {
    if (show != m_showBalance) {
        m_showBalance = show;
        rebuildRows();
        changed();
    }
}

std::int32_t BudgetEditorModel::columnCount() const {
    return kColFirstMonth + m_budget.monthCount;
}

std::vector<std::string> BudgetEditorModel::columnTitles() const {
    std::vector<std::string> titles = {"Konto", "Namn", "År"};
    for (std::int32_t i = 0; i < m_budget.monthCount; ++i) {
        titles.push_back(monthTitle(m_budget.month(i)));
    }
    return titles;
}

std::int32_t BudgetEditorModel::rowCount() const {
    return static_cast<std::int32_t>(m_rows.size());
}

const BudgetEditorRow& BudgetEditorModel::row(std::int32_t row) const {
    return m_rows.at(static_cast<std::size_t>(row));
}

std::string BudgetEditorModel::cellText(std::int32_t r, std::int32_t column) const {
    if (r < 0 || r >= rowCount() || column < 0 || column >= columnCount()) {
        return {};
    }
    const BudgetEditorRow& shown = row(r);
    switch (column) {
    case kColAccount:
        return std::to_string(shown.account);
    case kColName:
        return shown.kind == BudgetRowKind::Removed ? shown.name + " (" + kBorttagetKonto + ")" : shown.name;
    case kColYear:
        return formatOre(shown.year);
    default:
        return formatOre(shown.months[static_cast<std::size_t>(column - kColFirstMonth)]);
    }
}

bool BudgetEditorModel::isEditable(std::int32_t r, std::int32_t column) const {
    return r >= 0 && r < rowCount() && column >= kColYear && column < columnCount() && !m_loadMessage &&
           row(r).kind != BudgetRowKind::Removed;
}

Ore BudgetEditorModel::incomeResult(std::int32_t column) const {
    Ore sum = 0;
    for (const BudgetEditorRow& shown : m_rows) {
        if (shown.kind == BudgetRowKind::Income && column >= kColYear && column < columnCount()) {
            sum = addOre(sum, column == kColYear
                                  ? shown.year
                                  : shown.months[static_cast<std::size_t>(column - kColFirstMonth)]);
        }
    }
    return sum;
}

std::optional<std::string> BudgetEditorModel::typeCell(std::int32_t r, std::int32_t column,
                                                       const std::string& text) {
    if (!isEditable(r, column)) {
        return std::nullopt;
    }
    const TypedBudgetAmount typed = readBudgetAmount(text);
    if (!typed.amount) {
        return typed.refusal;
    }
    BudgetEditorRow& shown = m_rows[static_cast<std::size_t>(r)];
    if (column == kColYear) {
        shown.months = evenSpread(*typed.amount, m_budget.monthCount);
        shown.spreadEvenly = true;
    } else {
        shown.months[static_cast<std::size_t>(column - kColFirstMonth)] = *typed.amount;
        shown.spreadEvenly = false;
    }
    storeRow(shown);
    changed();
    return std::nullopt;
}

void BudgetEditorModel::spreadEvenly(std::int32_t r) {
    if (!isEditable(r, kColYear)) {
        return;
    }
    BudgetEditorRow& shown = m_rows[static_cast<std::size_t>(r)];
    shown.months = evenSpread(shown.year, m_budget.monthCount);
    shown.spreadEvenly = true;
    storeRow(shown);
    changed();
}

std::optional<std::string> BudgetEditorModel::copyPreviousOutcome(const std::string& percentText) {
    const std::optional<double> percent = readPercentChange(percentText);
    if (!percent) {
        return std::string(kMsgBudgetProcent);
    }
    if (m_loadMessage) {
        return m_loadMessage;
    }
    try {
        if (m_budget.period != m_doc.state().m_nAktuellPeriod) {
            return std::string("Utfallet kopieras till den öppna periodens budget.");
        }
        const std::optional<PreviousPeriod> previous = loadPreviousPeriod(m_doc);
        if (!previous) {
            return std::string(kMsgBudgetIngenForegaende);
        }
        std::vector<std::int32_t> accounts;
        for (const BudgetEditorRow& shown : m_rows) {
            if (shown.kind != BudgetRowKind::Removed) {
                accounts.push_back(shown.account);
            }
        }
        const auto months = static_cast<std::int32_t>(previous->last.key() - previous->first.key() + 1);
        fillFromOutcome(m_budget, accounts, previous->outcome, previous->first, months, *percent);
    } catch (const BudgetRefusal& refusal) {
        return std::string(refusal.what());
    }
    rebuildRows();
    changed();
    return std::nullopt;
}

std::optional<std::string> BudgetEditorModel::copyPreviousBudget(const std::string& percentText) {
    const std::optional<double> percent = readPercentChange(percentText);
    if (!percent) {
        return std::string(kMsgBudgetProcent);
    }
    if (m_loadMessage) {
        return m_loadMessage;
    }
    try {
        const std::optional<PeriodBudget> previous = previousBudget(m_doc, m_budget.period);
        if (!previous) {
            return std::string(m_budget.period > 0 ? kMsgBudgetIngenForegaendeBudget
                                                   : kMsgBudgetIngenForegaende);
        }
        std::vector<std::int32_t> accounts;
        for (const BudgetEditorRow& shown : m_rows) {
            if (shown.kind != BudgetRowKind::Removed) {
                accounts.push_back(shown.account);
            }
        }
        fillFromBudget(m_budget, accounts, *previous, *percent);
    } catch (const DatabaseError& error) {
        return std::string(error.what());
    } catch (const BudgetRefusal& refusal) {
        return std::string(refusal.what());
    }
    rebuildRows();
    changed();
    return std::nullopt;
}

std::optional<std::string> BudgetEditorModel::save(const LocalClock& clock) {
    if (m_loadMessage) {
        return m_loadMessage;
    }
    try {
        saveBudget(m_doc, m_budget, clock);
    } catch (const DatabaseError& error) {
        return std::string(error.what());
    } catch (const BudgetRefusal& refusal) {
        return std::string(refusal.what());
    }
    // Saved without the removed accounts: so the window shows it now.
    std::erase_if(m_budget.lines, [](const BudgetLine& line) { return line.removed; });
    m_modified = false;
    rebuildRows();
    if (m_listener) {
        m_listener();
    }
    return std::nullopt;
}

void BudgetEditorModel::chartsChanged() {
    for (BudgetLine& line : m_budget.lines) {
        line.removed = !m_doc.hasAccount(line.account);
    }
    rebuildRows();
    if (m_listener) {
        m_listener();
    }
}

void BudgetEditorModel::rebuildRows() {
    m_rows.clear();
    const CompanyState& company = m_doc.state();
    const auto addChart = [this](const KontoRefs& chart, BudgetRowKind kind) {
        for (const CKonto* konto : chart) {
            if (konto->m_nKontonr <= 0) {
                continue;
            }
            BudgetEditorRow shown{konto->m_nKontonr,
                                  konto->m_strKolumn2,
                                  kind,
                                  0,
                                  std::vector<Ore>(static_cast<std::size_t>(m_budget.monthCount), 0),
                                  true};
            if (const BudgetLine* line = m_budget.line(konto->m_nKontonr)) {
                shown.months = line->months;
                shown.months.resize(static_cast<std::size_t>(m_budget.monthCount), 0);
                shown.spreadEvenly = line->spreadEvenly;
            }
            shown.year = BudgetLine{0, {}, shown.months}.year();
            m_rows.push_back(std::move(shown));
        }
    };
    addChart(company.m_resKonton, BudgetRowKind::Income);
    if (m_showBalance) {
        addChart(company.m_balKonton, BudgetRowKind::Balance);
    }
    for (const BudgetLine& line : m_budget.lines) {
        if (line.removed) {
            m_rows.push_back({line.account, line.name, BudgetRowKind::Removed, line.year(), line.months,
                              line.spreadEvenly});
        }
    }
}

void BudgetEditorModel::changed() {
    m_modified = true;
    if (m_listener) {
        m_listener();
    }
}

BudgetLine& BudgetEditorModel::lineFor(const BudgetEditorRow& shown) {
    if (BudgetLine* line = m_budget.line(shown.account)) {
        return *line;
    }
    m_budget.lines.push_back({shown.account, shown.name, {}, true, false});
    return m_budget.lines.back();
}

void BudgetEditorModel::storeRow(const BudgetEditorRow& shown) {
    BudgetEditorRow& kept = m_rows[static_cast<std::size_t>(&shown - m_rows.data())];
    kept.year = BudgetLine{0, {}, kept.months}.year();
    BudgetLine& line = lineFor(kept);
    line.name = kept.name;
    line.months = kept.months;
    line.spreadEvenly = kept.spreadEvenly;
}

} // namespace kv
