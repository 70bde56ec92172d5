// The dialog "Budget" of "Kontoplan → Budget...": the budget of the open
// period in a grid (BudgetEditorModel through BudgetGrid), the copy buttons
// with their percentage, "Fördela jämnt", "Spara", "Stäng" with the save
// question, and "Ny budget från årets utfall" for the period after. The
// dialog's view only shows this model and forwards the buttons; the
// questions and messages are asked here, through the prompter.
#pragma once

#include "budget/BudgetEditorModel.h"
#include "budget/BudgetGrid.h"
#include "interaction/DialogModel.h"
#include "interaction/Prompter.h"

#include <functional>
#include <string>

namespace kv {

inline constexpr const char* kBudgetMenuText = "Budget...";
inline constexpr const char* kBudgetReportMenuText = "Budget och utfall";

inline constexpr const char* kButtonKopieraUtfall = "Kopiera från föregående års utfall";
inline constexpr const char* kButtonKopieraBudget = "Kopiera från föregående års budget";
inline constexpr const char* kLabelProcent = "Ändring i %:";
inline constexpr const char* kButtonFordelaJamnt = "Fördela jämnt";
inline constexpr const char* kButtonNyBudgetFranUtfall = "Ny budget från årets utfall";
inline constexpr const char* kButtonSpara = "Spara";
inline constexpr const char* kButtonStang = "Stäng";
inline constexpr const char* kLabelVisaBalanskonton = "Visa balanskonton";
inline constexpr const char* kLabelBudgetHjalp =
    "Skriv årets belopp i kolumnen År (fördelas jämnt på månaderna) eller beloppen per månad. Intäkter "
    "skrivs positiva och kostnader negativa, som i resultaträkningen.";

inline constexpr const char* kMsgGorEnBudget =
    "Gör en budget med knappen Budget... här eller under Kontoplan - Budget...";

inline constexpr const char* kAskSparaBudget = "Budgeten har ändrats.\n\nVill du spara ändringarna?";
inline constexpr const char* kAskErsattBelopp =
    "Budgetens belopp för de visade kontona ersätts.\n\nVill du fortsätta?";
inline constexpr const char* kMsgValjKontorad = "Ställ markören på ett kontos rad först.";

class BudgetDialogModel : public DialogModelOf<BudgetDialogModel> {
public:
    // Opens the budget of the open period. The document and the prompter
    // outlive the model; clock stamps what is saved.
    BudgetDialogModel(const CTallvingeDoc& doc, Prompter& prompter, LocalClock clock);

    [[nodiscard]] std::string dialogTitle() const override;
    [[nodiscard]] BudgetEditorModel& editor() { return m_editor; }
    [[nodiscard]] const BudgetEditorModel& editor() const { return m_editor; }
    [[nodiscard]] Grid& grid() { return m_grid.grid(); }
    [[nodiscard]] BudgetGrid& budgetGrid() { return m_grid; }

    // Says why the saved budget could not be read, if it could not: once, as the dialog shows.
    void opened();

    // The percentage of the copy buttons and of a new budget, as typed.
    [[nodiscard]] const std::string& percentText() const { return m_percent; }
    void setPercentText(std::string text) { m_percent = std::move(text); }

    void setShowBalanceAccounts(bool show);

    // The buttons. Each ends an open edit of the grid first (a refused edit
    // stops it) and tells the user what went wrong; true when it was done.
    bool copyPreviousOutcome();
    bool copyPreviousBudget();
    bool spreadCurrentRow();
    bool save();
    // The period after the open one, made from the open period's outcome
    // changed by the percentage and saved at once; asks before it replaces a
    // saved budget, and says what it made.
    bool newBudgetFromOutcome();

    // "Stäng", Escape and the close box: with edits not saved, asks whether
    // to save them. True when the dialog may close.
    bool mayClose();

    // Changed since opened or saved, an edit being typed included.
    [[nodiscard]] bool isModified() const;
    // A budget was written to the company's database while the dialog was open.
    [[nodiscard]] bool savedAny() const { return m_savedAny; }

    // Told after every change of the amounts or of what is shown.
    void setListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    bool endEdit();
    bool copy(std::optional<std::string> (BudgetEditorModel::*action)(const std::string&));
    [[nodiscard]] bool hasAmounts() const;
    void changed();

    const CTallvingeDoc& m_doc;
    Prompter& m_prompter;
    LocalClock m_clock;
    BudgetEditorModel m_editor;
    BudgetGrid m_grid;
    std::string m_percent;
    bool m_savedAny = false;
    std::function<void()> m_listener;
};

} // namespace kv
