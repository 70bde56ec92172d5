#include "app/NewCompany.h"

#include "app/SetupFlow.h"
#include "chart/ChartEditorModel.h"
#include "chart/TemplateChooserModel.h"
#include "interaction/UnattendedPrompter.h"
#include "periods/FirstPeriod.h"
#include "storage/CompanyFiles.h"
#include "storage/TemplateStore.h"
#include "voucher/VatRulesModel.h"

#include <optional>

namespace kv {

namespace {

std::string templateNotFound(const std::string& name, const TemplateStore& templates,
                             const std::vector<std::string>& readMessages) {
    std::string error = "Mallen \"" + name + "\" finns inte bland kontoplanmallarna.";
    if (templates.fileUnreadable()) {
        // The first message only names the file; the rest say why it could not be read.
        for (std::size_t i = 1; i < readMessages.size(); ++i) {
            error += " " + readMessages[i];
        }
    } else if (!readMessages.empty()) {
        error += " Mallfilen " + templateFilePath(templates.folder()) + " finns inte.";
    }
    return error;
}

// The user who takes every default: answers OK, reads every message, gives
// the period dialog the requested months, chooses the requested template and
// approves each editor as it stands. The first refusal ends the set-up.
class AcceptingPrompter final : public UnattendedPrompter {
public:
    AcceptingPrompter(const TemplateStore& templates, const NewCompanyRequest& request)
        : m_templates(templates), m_request(request) {
        answers.add<PeriodDialogModel>([this](PeriodDialogModel& dialog) { return givePeriod(dialog); });
        answers.add<TemplateChooserModel>(
            [this](TemplateChooserModel& chooser) { return chooseTemplate(chooser); });
        answers.add<ChartEditorModel>([this](ChartEditorModel& editor) {
            const std::size_t mark = said.size();
            return approved(editor.approve(), mark);
        });
        answers.add<VatRulesModel>([this](VatRulesModel& rules) {
            const std::size_t mark = said.size();
            return approved(rules.approve(), mark);
        });
    }

    Answer askOkCancel(const std::string& text, Answer /*byDefault*/ = Answer::Ok) override {
        said.push_back(text);
        return Answer::Ok;
    }
    Answer askYesNoCancel(const std::string& text) override {
        said.push_back(text);
        return Answer::Yes;
    }
    Answer askYesNo(const std::string& text) override {
        said.push_back(text);
        return Answer::Yes;
    }

    [[nodiscard]] std::string since(std::size_t first) const {
        std::string out;
        for (std::size_t i = first; i < said.size(); ++i) {
            out += (out.empty() ? "" : " ") + said[i];
        }
        return out;
    }

    bool refused = false;
    std::string refusal; // what the first refusal said
    std::size_t chartsBegin = 0;

private:
    Answer givePeriod(PeriodDialogModel& dialog) {
        dialog.setStartMonth(m_request.fromMonth);
        dialog.setStartYearText(std::to_string(m_request.fromYear));
        dialog.setEndMonth(m_request.toMonth);
        dialog.setEndYearText(std::to_string(m_request.toYear));
        if (dialog.accept(*this)) {
            return Answer::Ok;
        }
        refuse(said.empty() ? std::string() : said.back());
        return Answer::Cancel;
    }
    Answer chooseTemplate(TemplateChooserModel& chooser) {
        if (!chooser.selectName(m_request.templateName)) {
            // Everything said since the set-up of the charts began is the template file's report.
            const std::vector<std::string> readMessages(
                said.begin() + static_cast<std::ptrdiff_t>(chartsBegin), said.end());
            refuse(templateNotFound(m_request.templateName, m_templates, readMessages));
            return Answer::Cancel;
        }
        chooser.accept();
        return Answer::Ok;
    }
    void refuse(std::string why) {
        if (!refused) {
            refused = true;
            refusal = std::move(why);
        }
    }
    Answer approved(bool ok, std::size_t mark) {
        if (ok) {
            return Answer::Ok;
        }
        refuse(since(mark));
        return Answer::Cancel;
    }

    const TemplateStore& m_templates;
    const NewCompanyRequest& m_request;
};

} // namespace

NewCompanyResult createDefaultCompany(CTallvingeDoc& doc, const NewCompanyRequest& request) {
    NewCompanyResult result;
    TemplateStore templates(request.templateFolder);
    AcceptingPrompter prompter(templates, request);
    const auto finish = [&](std::string error) {
        result.error = std::move(error);
        result.ok = result.error.empty();
        result.messages = prompter.said;
        return result;
    };
    doc.startAfresh();

    // Whatever stops the set-up is reported, in the words the user would have been told.
    const auto failure = [&prompter](std::size_t from) {
        const std::string told = prompter.refused ? prompter.refusal : prompter.since(from);
        return told.empty() ? std::string("Företaget kunde inte skapas.") : told;
    };
    if (!runFirstPeriodPrompt(doc, prompter)) {
        return finish(failure(0));
    }
    prompter.chartsBegin = prompter.said.size();
    runChartGuidance(doc, prompter, templates, [] {});
    if (prompter.refused || !doc.bothChartsApproved() || doc.state().m_momsregler.empty()) {
        return finish(failure(prompter.chartsBegin));
    }
    doc.markUnsaved();
    return finish({});
}

} // namespace kv
