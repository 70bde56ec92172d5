// The chart editors "Konton i resultaträkningen" and "Konton i
// balansräkningen": the chart grid, the list of the whole chart beside it and
// the row, undo and approval buttons, all over one ChartEditorModel.
#pragma once

#include <QDialog>

#include <memory>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace kv {
class ChartEditorModel;
class Prompter;
class UnapprovedEdits;
} // namespace kv

namespace kv::ui {

class GridWidget;

class ChartEditorDialog : public QDialog {
    Q_OBJECT
public:
    // The model has been opened; it outlives the dialog.
    explicit ChartEditorDialog(ChartEditorModel& model, QWidget* parent = nullptr);
    ~ChartEditorDialog() override;

    // Who is asked before Escape or the close button throws changed rows away.
    void setPrompter(Prompter* prompter) { m_prompter = prompter; }
    // Escape and the close button: asks first when rows were changed. The
    // "Cancel" button closes at once.
    void reject() override;

    [[nodiscard]] GridWidget* gridWidget() const { return m_grid; }
    [[nodiscard]] QListWidget* accountList() const { return m_accounts; }
    [[nodiscard]] QCheckBox* onlyUsedBox() const { return m_onlyUsed; }
    [[nodiscard]] QPushButton* approveButton() const { return m_approve; }
    [[nodiscard]] QPushButton* cancelButton() const { return m_cancel; }
    [[nodiscard]] QPushButton* insertButton() const { return m_insert; }
    [[nodiscard]] QPushButton* deleteButton() const { return m_delete; }
    [[nodiscard]] QPushButton* undoButton() const { return m_undo; }

private:
    QPushButton* makeButton(const char* text);
    void approve();
    void gridCommand(void (ChartEditorModel::*command)());

    ChartEditorModel& m_model;
    GridWidget* m_grid;
    QListWidget* m_accounts;
    QCheckBox* m_onlyUsed;
    QPushButton* m_approve;
    QPushButton* m_cancel;
    QPushButton* m_insert;
    QPushButton* m_delete;
    QPushButton* m_undo;
    Prompter* m_prompter = nullptr;
    std::unique_ptr<UnapprovedEdits> m_edits;
    bool m_cancelled = false;
};

} // namespace kv::ui
