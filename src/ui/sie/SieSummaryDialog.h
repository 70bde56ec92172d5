// The summary of a SIE file before anything is made of it: "Importera
// SIE-fil" before a company is made, "Läs in verifikat från SIE-fil" before
// vouchers are added. It shows the summary's figures, lists and conclusion;
// the accepting button is offered only when the summary allows it, and where
// the user may take the file as it stands, a check box enables it.
#pragma once

#include "sie/SieImportSummary.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kv::ui {

class SieSummaryDialog : public QDialog {
    Q_OBJECT
public:
    // option, when the view offers a check box: its state, read and written.
    SieSummaryDialog(const SieSummaryView& view, bool* option, QWidget* parent = nullptr);

    // The accepting button ("Skapa företaget...", "Lägg till verifikaten"), or nullptr.
    [[nodiscard]] QPushButton* acceptButton() const { return m_accept; }
    [[nodiscard]] QCheckBox* optionBox() const { return m_option; }

private:
    void showOption(bool ticked);

    SieSummaryView m_view;
    bool* m_taken;
    QLabel* m_conclusion = nullptr;
    QPushButton* m_accept = nullptr;
    QCheckBox* m_option = nullptr;
};

} // namespace kv::ui
