// "Automatisk momsberäkning": the grid of the automatic VAT rules, the list
// of the chart's accounts below it and the approval button.
#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QListWidget;
class QPushButton;

namespace kv {
class Prompter;
class VatRulesModel;
class UnapprovedEdits;
} // namespace kv

namespace kv::ui {

class GridWidget;

class VatRulesDialog : public QDialog {
    Q_OBJECT
public:
    // The model has been opened; it outlives the dialog.
    explicit VatRulesDialog(VatRulesModel& model, QWidget* parent = nullptr);
    ~VatRulesDialog() override;

    // Who is asked before Escape or the close button throws changed rules away.
    void setPrompter(Prompter* prompter) { m_prompter = prompter; }
    // Escape and the close button: asks first when rules were changed. The
    // "Cancel" button closes at once.
    void reject() override;

    [[nodiscard]] GridWidget* gridWidget() const { return m_grid; }
    [[nodiscard]] QListWidget* accountList() const { return m_accounts; }
    [[nodiscard]] QPushButton* approveButton() const { return m_approve; }
    [[nodiscard]] QPushButton* cancelButton() const { return m_cancel; }

private:
    void approve();
    void followCursor();

    VatRulesModel& m_model;
    GridWidget* m_grid;
    QListWidget* m_accounts;
    QPushButton* m_approve;
    QPushButton* m_cancel;
    Prompter* m_prompter = nullptr;
    std::unique_ptr<UnapprovedEdits> m_edits;
    bool m_cancelled = false;
};

} // namespace kv::ui
