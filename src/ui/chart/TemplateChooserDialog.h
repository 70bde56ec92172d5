// "Kontoplanmallar": a new company chooses the template of its charts. The
// dialog has only OK; closing it otherwise chooses nothing.
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace kv {
class TemplateChooserModel;
}

namespace kv::ui {

class TemplateChooserDialog : public QDialog {
    Q_OBJECT
public:
    explicit TemplateChooserDialog(TemplateChooserModel& model, QWidget* parent = nullptr);

    [[nodiscard]] QListWidget* list() const { return m_list; }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }

private:
    void choose();

    TemplateChooserModel& m_model;
    QListWidget* m_list;
    QPushButton* m_ok;
};

} // namespace kv::ui
