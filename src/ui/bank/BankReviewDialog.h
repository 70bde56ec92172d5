// The review of a bank statement read in: its lines with the proposed
// account, VAT and status, and the accounts beside them. Keyboard first:
// Space takes a line with or leaves it out, a typed number sets the line's
// account, Return goes to the next line (and shows the voucher of a booked
// one), "Spara som regel" makes a rule of the line, "Bokför" books the lines
// taken and "Ångra" takes that back, "Stäng" or Escape closes.
#pragma once

#include "bank/BankReviewDialogModel.h"
#include "interaction/Prompter.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace kv::ui {

class BankReviewDialog : public QDialog {
    Q_OBJECT
public:
    // The grid's first column marks the lines taken; the model's columns follow.
    static constexpr int kTakenColumn = 0;
    static constexpr int kFirstModelColumn = 1;

    BankReviewDialog(BankReviewDialogModel& model, Prompter& prompter, QWidget* parent = nullptr);

    [[nodiscard]] QTableWidget* grid() const { return m_grid; }
    [[nodiscard]] QListWidget* accountList() const { return m_accounts; }
    [[nodiscard]] QPushButton* ruleButton() const { return m_rule; }
    [[nodiscard]] QPushButton* bookButton() const { return m_book; }
    [[nodiscard]] QPushButton* undoButton() const { return m_undo; }
    [[nodiscard]] QLabel* statusLabel() const { return m_status; }
    [[nodiscard]] QPushButton* closeButton() const { return m_close; }
    [[nodiscard]] QLabel* balanceLabel() const { return m_balance; }
    [[nodiscard]] QLabel* summaryLabel() const { return m_summary; }
    [[nodiscard]] QLabel* outcomeLabel() const { return m_outcome; }
    [[nodiscard]] static int gridColumn(BankColumn column) {
        return kFirstModelColumn + static_cast<int>(column);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void showRow(int row);
    [[nodiscard]] int currentLine() const;
    void toggleCurrent();
    void accountEdited(QTableWidgetItem* item);
    void takeListedAccount(int line);
    void saveRule();
    void book();
    void undo();
    // Return or a double-click on a line: its voucher shown when it has
    // one; else Return goes on to the next line.
    void activate(int row, bool moveOn);
    void showStatus();

    BankReviewDialogModel& m_model;
    Prompter& m_prompter;
    QLabel* m_balance = nullptr;
    QTableWidget* m_grid = nullptr;
    QListWidget* m_accounts = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_outcome = nullptr;
    QPushButton* m_rule = nullptr;
    QPushButton* m_book = nullptr;
    QPushButton* m_undo = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_close = nullptr;
    bool m_filling = false;
};

} // namespace kv::ui
