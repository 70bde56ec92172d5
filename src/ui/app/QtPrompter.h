// Asks the user with message boxes and file dialogs, with Swedish buttons.
#pragma once

#include "interaction/Prompter.h"

#include <QMessageBox>

class QWidget;

namespace kv::ui {

// The icon of a message box of a kind.
[[nodiscard]] QMessageBox::Icon messageIcon(MessageKind kind);

class QtPrompter : public Prompter {
public:
    // Dialogs are centred over parent (may be null until the main window exists).
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const std::string& text) override;
    void say(MessageKind kind, const std::string& text) override;
    Answer askOkCancel(const std::string& text, Answer byDefault = Answer::Ok) override;
    Answer askYesNoCancel(const std::string& text) override;
    std::optional<std::string> chooseCompanyToOpen() override;
    std::optional<std::string> chooseCompanySaveName(const std::string& suggestedName) override;

    Answer runPeriodDialog(PeriodDialogModel& dialog) override;
    Answer runTemplateChooser(TemplateChooserModel& chooser) override;
    Answer runChartEditor(ChartEditorModel& editor) override;
    Answer runVatRules(VatRulesModel& rules) override;
    Answer runDeleteTemplate(DeleteTemplateModel& dialog) override;
    // Periods
    Answer askYesNo(const std::string& text) override;
    Answer runPeriodList(PeriodListModel& list) override;
    Answer runRenameDialog(RenameDialogModel& dialog) override;
    // Vouchers
    void information(const std::string& caption, const std::string& text) override;
    Answer runVoucherLookup(VoucherLookupModel& lookup) override;
    // Reports
    Answer runMonthRange(MonthRangeModel& dialog) override;
    Answer runVoucherRange(VoucherRangeModel& dialog) override;
    Answer runAccountChoice(AccountChoiceModel& dialog) override;
    // SIE
    std::optional<std::string> chooseSieFileToOpen(const char* title = kSieOpenTitle) override;
    std::optional<std::string> chooseSieSaveName(const std::string& suggestedName) override;
    Answer showSieImportSummary(SieImportSummary& summary) override;
    Answer showSieAddSummary(const SieAddSummary& summary) override;
    // Backups
    Answer runBackupList(BackupListModel& list) override;
    std::optional<std::string> chooseBackupCopyName(const std::string& suggestedPath) override;

private:
    // Over the dialog that is showing, if any: a message from a dialog belongs to it.
    [[nodiscard]] QWidget* owner() const;

    QWidget* m_parent = nullptr;
};

} // namespace kv::ui
