// A prompter that answers from a script and records everything it was told,
// so that a test reads like a user at work: ask -> answer Cancel -> check.
#pragma once

#include "backup/BackupListModel.h" // Backups
#include "chart/ChartEditorModel.h"
#include "chart/TemplateChooserModel.h"
#include "chart/UserTemplates.h"
#include "interaction/Prompter.h"
#include "periods/PeriodDialogModel.h"
#include "periods/PeriodListModel.h"    // Periods
#include "periods/RenameDialogModel.h"  // Periods
#include "reports/AccountChoiceModel.h" // Reports
#include "reports/MonthRangeModel.h"
#include "reports/VoucherRangeModel.h"
#include "sie/SieAddVouchers.h"   // SIE
#include "sie/SieImportSummary.h" // SIE
#include "voucher/VatRulesModel.h"
#include "voucher/VoucherLookupModel.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A question the test did not script is a failure of the test, in the core
// tests' framework or in the window tests'.
#ifdef KVISTORAN_QTEST
#include <QTest>
#define KV_UNSCRIPTED(what) QTest::qFail(("not scripted: " + std::string(what)).c_str(), __FILE__, __LINE__)
#else
#include <gtest/gtest.h>
#define KV_UNSCRIPTED(what) ADD_FAILURE() << "not scripted: " << (what)
#endif

namespace kv::test {

class ScriptedPrompter : public Prompter {
public:
    // Answers for the questions, in the order they are asked.
    ScriptedPrompter& answer(Answer next) {
        m_answers.push_back(next);
        return *this;
    }
    // Answers for the file choices, in order; nothing stands for Cancel.
    ScriptedPrompter& chooseFile(std::optional<std::string> path) {
        m_files.push_back(std::move(path));
        return *this;
    }

    void message(const std::string& text) override { say(MessageKind::Refusal, text); }
    void say(MessageKind kind, const std::string& text) override {
        said.push_back(text);
        kindOf[text] = kind;
    }
    Answer askOkCancel(const std::string& text, Answer byDefault = Answer::Ok) override {
        defaultOf[text] = byDefault;
        return ask(text, Answer::Ok);
    }
    Answer askYesNoCancel(const std::string& text) override { return ask(text, Answer::Yes); }
    std::optional<std::string> chooseCompanyToOpen() override { return choose("<öppna>"); }
    std::optional<std::string> chooseCompanySaveName(const std::string& suggestedName) override {
        return choose("<spara som " + suggestedName + ">");
    }

    Answer runPeriodDialog(PeriodDialogModel& dialog) override {
        return show(dialog.title(), periodDialog, dialog);
    }
    Answer runTemplateChooser(TemplateChooserModel& chooser) override {
        return show(kTemplateChooserTitle, templateChooser, chooser);
    }
    Answer runChartEditor(ChartEditorModel& editor) override {
        return show(editor.title(), chartEditor, editor);
    }
    Answer runVatRules(VatRulesModel& rules) override { return show(rules.title(), vatRules, rules); }
    Answer runDeleteTemplate(DeleteTemplateModel& dialog) override {
        return show(kDeleteTemplateTitle, deleteTemplate, dialog);
    }
    // Periods: Yes/No questions take the scripted answers; the period list
    // and the rename dialog run their scripted functions.
    Answer askYesNo(const std::string& text) override { return ask(text, Answer::Yes); }
    Answer runPeriodList(PeriodListModel& list) override { return show(list.title(), periodList, list); }
    Answer runRenameDialog(RenameDialogModel& dialog) override {
        return show(dialog.title(), renameDialog, dialog);
    }
    // Vouchers: the caption goes to captions, the text to said.
    void information(const std::string& caption, const std::string& text) override {
        captions.push_back(caption);
        said.push_back(text);
    }
    Answer runVoucherLookup(VoucherLookupModel& lookup) override {
        return show("Ta fram verifikat", voucherLookup, lookup);
    }
    // Reports
    Answer runMonthRange(MonthRangeModel& dialog) override {
        return show(dialog.title(), monthRange, dialog);
    }
    Answer runVoucherRange(VoucherRangeModel& dialog) override {
        return show("Ta fram verifikat", voucherRange, dialog);
    }
    Answer runAccountChoice(AccountChoiceModel& dialog) override {
        return show(dialog.title(), accountChoice, dialog);
    }
    // SIE: the file choices appear as "<importera SIE>" and "<exportera SIE NAME>".
    std::optional<std::string> chooseSieFileToOpen(const char* title = kSieOpenTitle) override {
        return choose(std::string(title) == kSieOpenTitle ? "<importera SIE>" : "<läs in SIE>");
    }
    std::optional<std::string> chooseSieSaveName(const std::string& suggestedName) override {
        return choose("<exportera SIE " + suggestedName + ">");
    }
    Answer showSieAddSummary(const SieAddSummary& summary) override {
        dialogs.push_back(kSieAddTitle);
        if (!sieAddSummary) {
            ++unscripted;
            KV_UNSCRIPTED(kSieAddTitle);
            return Answer::Cancel;
        }
        return sieAddSummary(summary);
    }
    Answer showSieImportSummary(SieImportSummary& summary) override {
        dialogs.push_back(kSieImportTitle);
        if (!sieSummary) {
            ++unscripted;
            KV_UNSCRIPTED(kSieImportTitle);
            return Answer::Cancel;
        }
        return sieSummary(summary);
    }
    // Backups: the list runs backupList; the copy's name is a file choice, "<spara kopia som PATH>".
    Answer runBackupList(BackupListModel& list) override { return show(list.title(), backupList, list); }
    std::optional<std::string> chooseBackupCopyName(const std::string& suggestedPath) override {
        return choose("<spara kopia som " + suggestedPath + ">");
    }

    // What the user does in each dialog: works on its model and closes it,
    // with Answer::Ok after the model accepted. A dialog or question that the
    // test did not script fails the test (and is closed without OK).
    std::function<Answer(PeriodDialogModel&)> periodDialog;
    std::function<Answer(TemplateChooserModel&)> templateChooser;
    std::function<Answer(ChartEditorModel&)> chartEditor;
    std::function<Answer(VatRulesModel&)> vatRules;
    std::function<Answer(DeleteTemplateModel&)> deleteTemplate;
    std::function<Answer(PeriodListModel&)> periodList;       // Periods
    std::function<Answer(RenameDialogModel&)> renameDialog;   // Periods
    std::function<Answer(VoucherLookupModel&)> voucherLookup; // Vouchers
    // Reports
    std::function<Answer(MonthRangeModel&)> monthRange;
    std::function<Answer(VoucherRangeModel&)> voucherRange;
    std::function<Answer(AccountChoiceModel&)> accountChoice;
    std::function<Answer(SieImportSummary&)> sieSummary;       // SIE
    std::function<Answer(const SieAddSummary&)> sieAddSummary; // SIE
    std::function<Answer(BackupListModel&)> backupList;        // Backups

    // Everything said or asked, in order; file choices appear as "<öppna>"
    // and "<spara som NAME>".
    std::vector<std::string> said;
    // The titles of the dialogs shown, in order.
    std::vector<std::string> dialogs;
    // Vouchers: the captions of the information messages, in order.
    std::vector<std::string> captions;
    // What each message said was (its icon).
    std::map<std::string, MessageKind> kindOf;
    // The answer that Return gives, per OK/Cancel question asked.
    std::map<std::string, Answer> defaultOf;
    // Questions and dialogs met without a scripted answer; each also failed the test.
    int unscripted = 0;

private:
    template <typename Model>
    Answer show(const std::string& title, const std::function<Answer(Model&)>& user, Model& model) {
        dialogs.push_back(title);
        if (!user) {
            ++unscripted;
            KV_UNSCRIPTED(title);
            return Answer::Cancel;
        }
        return user(model);
    }

    Answer ask(const std::string& text, Answer fallback) {
        said.push_back(text);
        if (m_answers.empty()) {
            ++unscripted;
            KV_UNSCRIPTED(text);
            return fallback;
        }
        const Answer next = m_answers.front();
        m_answers.pop_front();
        return next;
    }

    std::optional<std::string> choose(const std::string& what) {
        said.push_back(what);
        if (m_files.empty()) {
            ++unscripted;
            KV_UNSCRIPTED(what);
            return std::nullopt;
        }
        auto next = m_files.front();
        m_files.pop_front();
        return next;
    }

    std::deque<Answer> m_answers;
    std::deque<std::optional<std::string>> m_files;
};

} // namespace kv::test
