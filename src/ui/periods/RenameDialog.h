// The dialog "Byt företagets namn": the company's name now and the new one.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kv {
class Prompter;
class RenameDialogModel;
} // namespace kv

namespace kv::ui {

class RenameDialog : public QDialog {
    Q_OBJECT
public:
    // prompter tells what the OK button's checks say.
    RenameDialog(RenameDialogModel& model, Prompter& prompter, QWidget* parent = nullptr);

    [[nodiscard]] QLineEdit* currentName() const { return m_current; }
    [[nodiscard]] QLineEdit* newName() const { return m_new; }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }
    [[nodiscard]] QPushButton* cancelButton() const { return m_cancel; }

private:
    void confirm();

    RenameDialogModel& m_model;
    Prompter& m_prompter;
    QLineEdit* m_current;
    QLineEdit* m_new;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace kv::ui
