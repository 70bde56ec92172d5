// The period list "Öppna period": the company's periods, the locked ones
// marked, from which the user picks the one to open.
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace kv {
class PeriodListModel;
} // namespace kv

namespace kv::ui {

class PeriodListDialog : public QDialog {
    Q_OBJECT
public:
    PeriodListDialog(PeriodListModel& model, QWidget* parent = nullptr);

    [[nodiscard]] QListWidget* list() const { return m_list; }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }
    [[nodiscard]] QPushButton* cancelButton() const { return m_cancel; }

private:
    void confirm();

    PeriodListModel& m_model;
    QListWidget* m_list;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace kv::ui
