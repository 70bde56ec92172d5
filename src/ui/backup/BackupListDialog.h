// "Säkerhetskopior": the backups of the open company, newest first, with
// "Öppna..." for the chosen one and "Stäng".
#pragma once

#include <QDialog>

class QPushButton;
class QTreeWidget;

namespace kv {
class BackupListModel;
} // namespace kv

namespace kv::ui {

class BackupListDialog : public QDialog {
    Q_OBJECT
public:
    explicit BackupListDialog(BackupListModel& model, QWidget* parent = nullptr);

    [[nodiscard]] QTreeWidget* list() const { return m_list; }
    [[nodiscard]] QPushButton* openButton() const { return m_open; }
    [[nodiscard]] QPushButton* closeButton() const { return m_close; }

private:
    void selectionMoved();
    void openSelected();

    BackupListModel& m_model;
    QTreeWidget* m_list;
    QPushButton* m_open;
    QPushButton* m_close;
};

} // namespace kv::ui
