// A prompter that nobody sits at: the command-line tool, a flow run with every
// default taken, a benchmark. It keeps what the user would have been told,
// answers every question with OK or Yes, chooses no file and closes every
// dialog without OK. A use that must answer otherwise overrides that call.
#pragma once

#include "interaction/Prompter.h"

#include <string>
#include <vector>

namespace kv {

class UnattendedPrompter : public Prompter {
public:
    void message(const std::string& text) override { said.push_back(text); }
    void information(const std::string&, const std::string& text) override { said.push_back(text); }
    Answer askOkCancel(const std::string&, Answer /*byDefault*/ = Answer::Ok) override { return Answer::Ok; }
    Answer askYesNoCancel(const std::string&) override { return Answer::Yes; }
    Answer askYesNo(const std::string&) override { return Answer::Yes; }
    std::optional<std::string> chooseCompanyToOpen() override { return std::nullopt; }
    std::optional<std::string> chooseCompanySaveName(const std::string&) override { return std::nullopt; }

    Answer runPeriodDialog(PeriodDialogModel&) override { return Answer::Cancel; }
    Answer runTemplateChooser(TemplateChooserModel&) override { return Answer::Cancel; }
    Answer runChartEditor(ChartEditorModel&) override { return Answer::Cancel; }
    Answer runVatRules(VatRulesModel&) override { return Answer::Cancel; }
    Answer runDeleteTemplate(DeleteTemplateModel&) override { return Answer::Cancel; }
    Answer runPeriodList(PeriodListModel&) override { return Answer::Cancel; }
    Answer runRenameDialog(RenameDialogModel&) override { return Answer::Cancel; }
    Answer runVoucherLookup(VoucherLookupModel&) override { return Answer::Cancel; }
    Answer runMonthRange(MonthRangeModel&) override { return Answer::Cancel; }
    Answer runVoucherRange(VoucherRangeModel&) override { return Answer::Cancel; }
    Answer runAccountChoice(AccountChoiceModel&) override { return Answer::Cancel; }
    std::optional<std::string> chooseSieFileToOpen(const char* /*title*/ = kSieOpenTitle) override {
        return std::nullopt;
    }
    std::optional<std::string> chooseSieSaveName(const std::string&) override { return std::nullopt; }
    Answer showSieImportSummary(SieImportSummary&) override { return Answer::Cancel; }
    Answer showSieAddSummary(const SieAddSummary&) override { return Answer::Cancel; }
    Answer runBackupList(BackupListModel&) override { return Answer::Cancel; }
    std::optional<std::string> chooseBackupCopyName(const std::string&) override { return std::nullopt; }

    // Everything the user would have been told, in order.
    std::vector<std::string> said;
};

} // namespace kv
