// "Ta fram verifikat": the number of the voucher to find in the voucher list.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kv {
class Prompter;
class VoucherLookupModel;
} // namespace kv

namespace kv::ui {

class VoucherLookupDialog : public QDialog {
    Q_OBJECT
public:
    VoucherLookupDialog(VoucherLookupModel& model, Prompter& prompter, QWidget* parent = nullptr);

    [[nodiscard]] QLineEdit* numberField() const { return m_number; }
    [[nodiscard]] QPushButton* findButton() const { return m_find; }

private:
    void find();

    VoucherLookupModel& m_model;
    Prompter& m_prompter;
    QLineEdit* m_number;
    QPushButton* m_find;
};

} // namespace kv::ui
