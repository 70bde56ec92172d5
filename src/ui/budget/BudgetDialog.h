// The dialog "Budget": the budget grid, "Visa balanskonton", the copy
// buttons with their percentage, "Fördela jämnt", "Ny budget från årets
// utfall", "Spara" and "Stäng", all over one BudgetDialogModel.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kv {
class BudgetDialogModel;
} // namespace kv

namespace kv::ui {

class GridWidget;

class BudgetDialog : public QDialog {
    Q_OBJECT
public:
    // The model outlives the dialog.
    explicit BudgetDialog(BudgetDialogModel& model, QWidget* parent = nullptr);
    ~BudgetDialog() override;

    // "Stäng", Escape and the close box: the model asks about unsaved edits first.
    void reject() override;

    [[nodiscard]] GridWidget* gridWidget() const { return m_grid; }
    [[nodiscard]] QCheckBox* balanceBox() const { return m_balance; }
    [[nodiscard]] QLineEdit* percentField() const { return m_percent; }
    [[nodiscard]] QPushButton* copyOutcomeButton() const { return m_copyOutcome; }
    [[nodiscard]] QPushButton* copyBudgetButton() const { return m_copyBudget; }
    [[nodiscard]] QPushButton* spreadButton() const { return m_spread; }
    [[nodiscard]] QPushButton* nextBudgetButton() const { return m_nextBudget; }
    [[nodiscard]] QPushButton* saveButton() const { return m_save; }
    [[nodiscard]] QPushButton* closeButton() const { return m_close; }

private:
    QPushButton* makeButton(const char* text);
    void run(bool (BudgetDialogModel::*action)());
    void showState();

    BudgetDialogModel& m_model;
    GridWidget* m_grid;
    QCheckBox* m_balance;
    QLineEdit* m_percent;
    QPushButton* m_copyOutcome;
    QPushButton* m_copyBudget;
    QPushButton* m_spread;
    QPushButton* m_nextBudget;
    QPushButton* m_save;
    QPushButton* m_close;
};

} // namespace kv::ui
