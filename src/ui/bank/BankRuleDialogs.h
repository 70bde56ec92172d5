// The bank rules in the window program: "Bankregler..." lists the company's
// rules in the order they are tried, with how many lines each has taken,
// and edits, moves and removes them; "Bankregel" edits one rule (also
// opened by "Spara som regel" in the review, filled from the line).
#pragma once

#include "bank/BankRules.h"
#include "interaction/Prompter.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kv::ui {

class BankRuleDialog : public QDialog {
    Q_OBJECT
public:
    BankRuleDialog(BankRuleModel& model, Prompter& prompter, QWidget* parent = nullptr);

    [[nodiscard]] QLineEdit* patternField() const { return m_pattern; }
    [[nodiscard]] QLineEdit* accountField() const { return m_account; }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }

private:
    void ok();

    BankRuleModel& m_model;
    Prompter& m_prompter;
    QLineEdit* m_pattern = nullptr;
    QCheckBox* m_equals = nullptr;
    QLineEdit* m_account = nullptr;
    QLineEdit* m_vat = nullptr;
    QComboBox* m_sign = nullptr;
    QLineEdit* m_min = nullptr;
    QLineEdit* m_max = nullptr;
    QPushButton* m_ok = nullptr;
};

class BankRulesDialog : public QDialog {
    Q_OBJECT
public:
    BankRulesDialog(BankRulesModel& model, Prompter& prompter, QWidget* parent = nullptr);

    [[nodiscard]] QTableWidget* grid() const { return m_grid; }
    [[nodiscard]] QPushButton* newButton() const { return m_new; }
    [[nodiscard]] QPushButton* editButton() const { return m_edit; }
    [[nodiscard]] QPushButton* upButton() const { return m_up; }
    [[nodiscard]] QPushButton* downButton() const { return m_down; }
    [[nodiscard]] QPushButton* removeButton() const { return m_remove; }

private:
    void refresh(int current);
    void edit(bool existing);
    void move(int step);
    void remove();
    void told(const std::optional<std::string>& refusal);

    BankRulesModel& m_model;
    Prompter& m_prompter;
    QTableWidget* m_grid = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_remove = nullptr;
};

} // namespace kv::ui
