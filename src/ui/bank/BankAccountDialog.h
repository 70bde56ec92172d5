// The account of the books that the bank's account is booked on: typed, or
// chosen in the list of the balance chart's accounts.
#pragma once

#include "bank/BankDialogs.h"
#include "interaction/Prompter.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv::ui {

class BankAccountDialog : public QDialog {
    Q_OBJECT
public:
    BankAccountDialog(BankAccountChoiceModel& model, Prompter& prompter, QWidget* parent = nullptr);

    [[nodiscard]] QLineEdit* numberField() const { return m_number; }
    [[nodiscard]] QListWidget* accountList() const { return m_list; }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }

private:
    void showSelected();
    void ok();

    BankAccountChoiceModel& m_model;
    Prompter& m_prompter;
    QLineEdit* m_number = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace kv::ui
