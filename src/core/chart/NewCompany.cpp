#include "chart/NewCompany.h"

#include "chart/ChartEditorModel.h"
#include "chart/TemplateChooserModel.h"
#include "chart/UserTemplates.h"
#include "periods/FirstPeriod.h"
#include "storage/CompanyFiles.h"
#include "voucher/VatRulesModel.h"

#include <optional>

namespace kv {

namespace {

// The user who answers OK to every question and reads every message.
class AcceptingPrompter final : public Prompter {
public:
    void message(const std::string& text) override { said.push_back(text); }
    Answer askOkCancel(const std::string& text) override {
        said.push_back(text);
        return Answer::Ok;
    }
    Answer askYesNoCancel(const std::string& text) override {
        said.push_back(text);
        return Answer::Yes;
    }
    // Nothing here chooses files.
    std::optional<std::string> chooseCompanyToOpen() override { return std::nullopt; }
    std::optional<std::string> chooseCompanySaveName(const std::string&) override { return std::nullopt; }

    [[nodiscard]] std::string since(std::size_t first) const {
        std::string out;
        for (std::size_t i = first; i < said.size(); ++i) {
            out += (out.empty() ? "" : " ") + said[i];
        }
        return out;
    }

    std::vector<std::string> said;
};

std::string templateNotFound(const std::string& name, const CTallvingeDoc& doc,
                             const FileReport& readReport) {
    std::string error = "Mallen \"" + name + "\" finns inte bland kontoplanmallarna.";
    if (doc.m_bMallfilOlast != 0) {
        // The first message only names the file; the rest say why it could not be read.
        for (std::size_t i = 1; i < readReport.messages.size(); ++i) {
            error += " " + readReport.messages[i];
        }
    } else if (!readReport.ok) {
        error += " Mallfilen " + templateFilePath() + " finns inte.";
    }
    return error;
}

bool approveChart(CTallvingeDoc& doc, AcceptingPrompter& prompter, ChartKind kind, std::string& error) {
    ChartEditorModel editor(doc, prompter, kind);
    editor.open();
    const std::size_t mark = prompter.said.size();
    if (editor.approve()) {
        return true;
    }
    error = prompter.since(mark);
    return false;
}

} // namespace

NewCompanyResult createDefaultCompany(CTallvingeDoc& doc, const NewCompanyRequest& request) {
    NewCompanyResult result;
    AcceptingPrompter prompter;
    const auto finish = [&](std::string error) {
        result.error = std::move(error);
        result.ok = result.error.empty();
        result.messages = prompter.said;
        return result;
    };
    doc.clear();

    std::string periodRefusal;
    const bool period = runFirstPeriodPrompt(doc, prompter, [&](PeriodDialogModel& dialog) {
        dialog.setStartMonth(request.fromMonth);
        dialog.setStartYearText(std::to_string(request.fromYear));
        dialog.setEndMonth(request.toMonth);
        dialog.setEndYearText(std::to_string(request.toYear));
        if (dialog.accept(prompter)) {
            return Answer::Ok;
        }
        periodRefusal = prompter.said.back();
        return Answer::Cancel;
    });
    if (!period) {
        return finish(periodRefusal);
    }

    const FileReport readReport = readTemplates(doc);
    tellFileReport(prompter, readReport);
    TemplateChooserModel chooser(doc);
    if (!chooser.selectName(request.templateName)) {
        return finish(templateNotFound(request.templateName, doc, readReport));
    }
    chooser.accept();

    std::string error;
    if (!approveChart(doc, prompter, ChartKind::Balance, error) ||
        !approveChart(doc, prompter, ChartKind::Income, error)) {
        return finish(error);
    }
    VatRulesModel rules(doc, prompter);
    const std::size_t mark = prompter.said.size();
    if (!rules.open() && !rules.approve()) {
        return finish(prompter.since(mark));
    }
    if (doc.m_momsregler.empty()) {
        return finish(prompter.since(mark));
    }
    doc.setModified(true);
    return finish({});
}

} // namespace kv
