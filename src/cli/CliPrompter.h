// The user of the command-line tool: every message is kept to be written on
// standard error, every question is answered as the command's options say,
// and no dialog is shown.
#pragma once

#include "interaction/Prompter.h"

#include <functional>
#include <string>
#include <vector>

namespace kv::cli {

class CliPrompter final : public Prompter {
public:
    // answer: the reply to each OK/Cancel question, by its text.
    explicit CliPrompter(std::function<Answer(const std::string&)> answer) : m_answer(std::move(answer)) {}

    void message(const std::string& text) override { said.push_back(text); }
    Answer askOkCancel(const std::string& text) override { return m_answer(text); }
    Answer askYesNoCancel(const std::string&) override { return Answer::Cancel; }
    std::optional<std::string> chooseCompanyToOpen() override { return std::nullopt; }
    std::optional<std::string> chooseCompanySaveName(const std::string&) override { return std::nullopt; }
    Answer runPeriodDialog(PeriodDialogModel&) override { return Answer::Cancel; }
    Answer runTemplateChooser(TemplateChooserModel&) override { return Answer::Cancel; }
    Answer runChartEditor(ChartEditorModel&) override { return Answer::Cancel; }
    Answer runVatRules(VatRulesModel&) override { return Answer::Cancel; }
    Answer runDeleteTemplate(DeleteTemplateModel&) override { return Answer::Cancel; }
    void information(const std::string&, const std::string& text) override { said.push_back(text); }
    Answer runVoucherLookup(VoucherLookupModel&) override { return Answer::Cancel; }

    // Everything the user would have been told, in order.
    std::vector<std::string> said;

private:
    std::function<Answer(const std::string&)> m_answer;
};

} // namespace kv::cli
