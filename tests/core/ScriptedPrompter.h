// A prompter that answers from a script and records everything it was told,
// so that a test reads like a user at work: ask -> answer Cancel -> check.
#pragma once

#include "interaction/Prompter.h"
#include "chart/ChartEditorModel.h"
#include "chart/TemplateChooserModel.h"
#include "chart/UserTemplates.h"
#include "periods/PeriodDialogModel.h"
#include "voucher/VatRulesModel.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

    void message(const std::string& text) override { said.push_back(text); }
    Answer askOkCancel(const std::string& text) override { return ask(text, Answer::Ok); }
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

    // What the user does in each dialog: works on its model and closes it,
    // with Answer::Ok after the model accepted. An unscripted dialog is
    // closed without OK.
    std::function<Answer(PeriodDialogModel&)> periodDialog;
    std::function<Answer(TemplateChooserModel&)> templateChooser;
    std::function<Answer(ChartEditorModel&)> chartEditor;
    std::function<Answer(VatRulesModel&)> vatRules;
    std::function<Answer(DeleteTemplateModel&)> deleteTemplate;

    // Everything said or asked, in order; file choices appear as "<öppna>"
    // and "<spara som NAME>".
    std::vector<std::string> said;
    // The titles of the dialogs shown, in order.
    std::vector<std::string> dialogs;
    // Questions and dialogs met without a scripted answer (a test should leave none).
    int unscripted = 0;

private:
    template <typename Model>
    Answer show(const std::string& title, const std::function<Answer(Model&)>& user, Model& model) {
        dialogs.push_back(title);
        if (!user) {
            ++unscripted;
            return Answer::Cancel;
        }
        return user(model);
    }

    Answer ask(const std::string& text, Answer fallback) {
        said.push_back(text);
        if (m_answers.empty()) {
            ++unscripted;
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
