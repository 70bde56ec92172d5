// The list of the user's chart templates, one of which
// "Ta bort från kontoplanmallar" deletes on OK.
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace kv {
class DeleteTemplateModel;
class Prompter;
} // namespace kv

namespace kv::ui {

class DeleteTemplateDialog : public QDialog {
    Q_OBJECT
public:
    // The model has been opened; prompter tells what writing the file says.
    DeleteTemplateDialog(DeleteTemplateModel& model, Prompter& prompter, QWidget* parent = nullptr);

    [[nodiscard]] QListWidget* list() const { return m_list; }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }
    [[nodiscard]] QPushButton* cancelButton() const { return m_cancel; }

private:
    void deleteSelected();

    DeleteTemplateModel& m_model;
    Prompter& m_prompter;
    QListWidget* m_list;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace kv::ui
