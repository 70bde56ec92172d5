// "Importera SIE-fil": the summary of a SIE file before a company is made
// from it. It shows the summary's figures, the accounts that are added and
// the balances that disagree; "Skapa företaget..." is offered only when the
// company may be made.
#pragma once

#include <QDialog>

class QPushButton;

namespace kv {
struct SieImportSummary;
}

namespace kv::ui {

class SieImportSummaryDialog : public QDialog {
    Q_OBJECT
public:
    explicit SieImportSummaryDialog(const SieImportSummary& summary, QWidget* parent = nullptr);

    // "Skapa företaget...", or nullptr when the company cannot be made.
    [[nodiscard]] QPushButton* createButton() const { return m_create; }

private:
    QPushButton* m_create = nullptr;
};

} // namespace kv::ui
