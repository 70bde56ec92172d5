// The period dialog "Ny period" in its three modes: the first period of a new
// company, a new period, and a new end date for the last period.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv {
class PeriodDialogModel;
class Prompter;
} // namespace kv

namespace kv::ui {

class PeriodDialog : public QDialog {
    Q_OBJECT
public:
    // prompter asks the OK button's questions.
    PeriodDialog(PeriodDialogModel& model, Prompter& prompter, QWidget* parent = nullptr);

    [[nodiscard]] QComboBox* startMonth() const { return m_startMonth; }
    [[nodiscard]] QLineEdit* startYear() const { return m_startYear; }
    [[nodiscard]] QComboBox* endMonth() const { return m_endMonth; }
    [[nodiscard]] QLineEdit* endYear() const { return m_endYear; }
    [[nodiscard]] QListWidget* periodList() const { return m_periods; }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }
    [[nodiscard]] QPushButton* cancelButton() const { return m_cancel; }

public slots:
    // Without a Cancel button (the first period) the dialog only closes with OK.
    void reject() override;

private:
    void confirm();

    PeriodDialogModel& m_model;
    Prompter& m_prompter;
    QComboBox* m_startMonth;
    QLineEdit* m_startYear;
    QComboBox* m_endMonth;
    QLineEdit* m_endYear;
    QListWidget* m_periods;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace kv::ui
