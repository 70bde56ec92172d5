// The dialogs of the report windows: "Månadsbokslut", the journal's voucher
// range "Ta fram verifikat" and the ledger's "Välj ett konto". Each shows its
// core model and passes the user's choices on; the model decides.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;

namespace kv {
class AccountChoiceModel;
class MonthRangeModel;
class Prompter;
class VoucherRangeModel;
} // namespace kv

namespace kv::ui {

class MonthRangeDialog : public QDialog {
    Q_OBJECT
public:
    MonthRangeDialog(MonthRangeModel& model, Prompter& prompter, QWidget* parent = nullptr);

    [[nodiscard]] QComboBox* firstMonths() const { return m_first; }
    [[nodiscard]] QComboBox* lastMonths() const { return m_last; }
    [[nodiscard]] QCheckBox* wholePeriod() const { return m_whole; }

private:
    void showModel();
    void tryAccept();

    MonthRangeModel& m_model;
    Prompter& m_prompter;
    QComboBox* m_first;
    QComboBox* m_last;
    QLineEdit* m_from;
    QLineEdit* m_to;
    QCheckBox* m_whole;
    bool m_showing = false;
};

class VoucherRangeDialog : public QDialog {
    Q_OBJECT
public:
    VoucherRangeDialog(VoucherRangeModel& model, Prompter& prompter, QWidget* parent = nullptr);

private:
    void tryAccept();

    VoucherRangeModel& m_model;
    Prompter& m_prompter;
    QLineEdit* m_from;
    QLineEdit* m_to;
};

class AccountChoiceDialog : public QDialog {
    Q_OBJECT
public:
    AccountChoiceDialog(AccountChoiceModel& model, QWidget* parent = nullptr);

    [[nodiscard]] QListWidget* list() const { return m_list; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    AccountChoiceModel& m_model;
    QListWidget* m_list;
    QLineEdit* m_typed;
};

} // namespace kv::ui
