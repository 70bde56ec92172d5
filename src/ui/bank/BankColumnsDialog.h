// Which column of a CSV export holds what: the file's first rows and a
// choice of column per field.
#pragma once

#include "bank/BankDialogs.h"
#include "interaction/Prompter.h"

#include <QDialog>

#include <map>

class QComboBox;
class QPushButton;
class QTableWidget;

namespace kv::ui {

class BankColumnsDialog : public QDialog {
    Q_OBJECT
public:
    BankColumnsDialog(CsvColumnsModel& model, Prompter& prompter, QWidget* parent = nullptr);

    [[nodiscard]] QComboBox* fieldBox(CsvField field) const { return m_boxes.at(field); }
    [[nodiscard]] QTableWidget* preview() const { return m_preview; }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }

private:
    void ok();

    CsvColumnsModel& m_model;
    Prompter& m_prompter;
    std::map<CsvField, QComboBox*> m_boxes;
    QTableWidget* m_preview = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace kv::ui
