#include "budget/BudgetDialogModel.h"

#include "storage/CompanyDatabase.h"

#include <algorithm>
#include <cstdio>

namespace kv {

namespace {

std::string monthsOf(const PeriodBudget& budget) {
    const YearMonth last = budget.month(budget.monthCount - 1);
    return std::to_string(budget.first.month) + "." + std::to_string(budget.first.year) + " - " +
           std::to_string(last.month) + "." + std::to_string(last.year);
}

std::string percentWords(double percent) {
    if (percent == 0.0) {
        return {};
    }
    char text[32];
    std::snprintf(text, sizeof text, "%+.2f", percent);
    std::string shown = text;
    while (shown.back() == '0') {
        shown.pop_back();
    }
    if (shown.back() == '.') {
        shown.pop_back();
    }
    std::replace(shown.begin(), shown.end(), '.', ',');
    return ", ändrat med " + shown + " %";
}

} // namespace

BudgetDialogModel::BudgetDialogModel(const CTallvingeDoc& doc, Prompter& prompter, LocalClock clock)
    : m_doc(doc), m_prompter(prompter), m_clock(std::move(clock)), m_editor(doc), m_grid(m_editor, prompter) {
    m_grid.setListener([this] { changed(); });
}

std::string BudgetDialogModel::dialogTitle() const {
    return m_editor.title();
}

void BudgetDialogModel::opened() {
    if (m_editor.loadMessage()) {
        m_prompter.say(MessageKind::Failure, *m_editor.loadMessage());
    }
}

void BudgetDialogModel::changed() {
    if (m_listener) {
        m_listener();
    }
}

bool BudgetDialogModel::endEdit() {
    return m_grid.grid().endEdit();
}

bool BudgetDialogModel::isModified() const {
    const Grid& grid = m_grid.grid();
    return m_editor.isModified() ||
           (grid.isEditing() && grid.text(grid.currentCell().row, grid.currentCell().col) !=
                                    grid.storedText(grid.currentCell().row, grid.currentCell().col));
}

void BudgetDialogModel::setShowBalanceAccounts(bool show) {
    if (!endEdit()) {
        changed(); // the box goes back to what is shown
        return;
    }
    m_editor.setShowBalanceAccounts(show);
}

bool BudgetDialogModel::hasAmounts() const {
    for (std::int32_t row = 0; row < m_editor.rowCount(); ++row) {
        const BudgetEditorRow& shown = m_editor.row(row);
        if (shown.kind != BudgetRowKind::Removed &&
            std::any_of(shown.months.begin(), shown.months.end(), [](Ore month) { return month != 0; })) {
            return true;
        }
    }
    return false;
}

bool BudgetDialogModel::copy(std::optional<std::string> (BudgetEditorModel::*action)(const std::string&)) {
    if (!endEdit()) {
        return false;
    }
    if (!readPercentChange(m_percent)) {
        m_prompter.message(kMsgBudgetProcent);
        return false;
    }
    if (hasAmounts() && m_prompter.askOkCancel(kAskErsattBelopp, Answer::Cancel) != Answer::Ok) {
        return false;
    }
    if (const std::optional<std::string> refusal = (m_editor.*action)(m_percent)) {
        m_prompter.message(*refusal);
        return false;
    }
    return true;
}

bool BudgetDialogModel::copyPreviousOutcome() {
    return copy(&BudgetEditorModel::copyPreviousOutcome);
}

bool BudgetDialogModel::copyPreviousBudget() {
    return copy(&BudgetEditorModel::copyPreviousBudget);
}

bool BudgetDialogModel::spreadCurrentRow() {
    if (!endEdit()) {
        return false;
    }
    const std::int32_t row = m_grid.modelRow(m_grid.grid().currentCell().row);
    if (row < 0 || !m_editor.isEditable(row, BudgetEditorModel::kColYear)) {
        m_prompter.message(kMsgValjKontorad);
        return false;
    }
    m_editor.spreadEvenly(row);
    return true;
}

bool BudgetDialogModel::save() {
    if (!endEdit()) {
        return false;
    }
    if (const std::optional<std::string> failure = m_editor.save(m_clock)) {
        m_prompter.say(MessageKind::Failure, *failure);
        return false;
    }
    m_savedAny = true;
    changed();
    return true;
}

bool BudgetDialogModel::newBudgetFromOutcome() {
    if (!endEdit()) {
        return false;
    }
    const std::optional<double> percent = readPercentChange(m_percent);
    if (!percent) {
        m_prompter.message(kMsgBudgetProcent);
        return false;
    }
    try {
        const PeriodBudget next = nextBudgetFromOutcome(m_doc, *percent);
        const std::string months = monthsOf(next);
        if (loadBudget(m_doc, next.period) &&
            m_prompter.askOkCancel("Det finns redan en sparad budget för " + months +
                                       ".\n\nVill du ersätta den med en budget av årets utfall?",
                                   Answer::Cancel) != Answer::Ok) {
            return false;
        }
        saveBudget(m_doc, next, m_clock);
        m_savedAny = true;
        m_prompter.say(MessageKind::Information,
                       "Budgeten för " + months + " är sparad, gjord av årets utfall" +
                           percentWords(*percent) +
                           ".\n\nDen visas här och i rapporten Budget och utfall när perioden är öppen.");
    } catch (const BudgetRefusal& refusal) {
        m_prompter.message(refusal.what());
        return false;
    } catch (const DatabaseError& error) {
        m_prompter.say(MessageKind::Failure, error.what());
        return false;
    }
    return true;
}

bool BudgetDialogModel::mayClose() {
    if (!isModified()) {
        m_grid.grid().cancelEdit();
        return true;
    }
    switch (m_prompter.askYesNoCancel(kAskSparaBudget)) {
    case Answer::Yes:
        return save();
    case Answer::No:
        m_grid.grid().cancelEdit();
        return true;
    default:
        return false;
    }
}

} // namespace kv
