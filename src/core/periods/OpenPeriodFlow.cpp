#include "periods/OpenPeriodFlow.h"

#include "chart/ResultRowCheck.h"
#include "interaction/Prompter.h"
#include "model/DocumentTexts.h"
#include "model/TallvingeDoc.h"
#include "periods/PeriodListModel.h"
#include "periods/PeriodSaving.h"
#include "periods/PeriodTexts.h"
#include "storage/CompanyFiles.h"

namespace kv {

namespace {

bool reportWindowOpen(const AppServices& app) {
    return app.isWindowOpen(WindowKind::IncomeStatement) || app.isWindowOpen(WindowKind::BalanceSheet);
}

// The questions and refusals before the user's own open; false stops it.
bool userMayOpen(const AppServices& app, CTallvingeDoc& doc, Prompter& prompter) {
    const auto count = static_cast<std::int64_t>(doc.state().m_perioder.size());
    // Leaving a locked period loses nothing that could have changed: no question.
    if (doc.state().m_nAktuellPeriod >= count - 2 && prompter.askOkCancel(kMsgFilenSparas) != Answer::Ok) {
        return false;
    }
    if (doc.neverSaved()) {
        prompter.message(kMsgSparaForOppnaPeriod);
        return false;
    }
    if (app.isFormOpen(FormKind::Voucher)) {
        prompter.message(kMsgVerifikatdialogenOppnaPeriod);
        return false;
    }
    return true;
}

std::optional<std::int32_t> choosePeriod(const CTallvingeDoc& doc, Prompter& prompter) {
    PeriodListModel list(doc);
    if (prompter.show(list) != Answer::Ok || !list.accepted()) {
        return std::nullopt;
    }
    return list.selected();
}

} // namespace

OpenPeriodOutcome openAnotherPeriod(AppServices& app, std::optional<std::int32_t> automaticPeriod) {
    CTallvingeDoc& doc = app.document();
    Prompter& prompter = app.prompter();
    if (reportWindowOpen(app)) {
        prompter.message(kMsgStangRapporterForePeriod);
        return OpenPeriodOutcome::Stopped;
    }
    if (!checkResultRow(doc, prompter)) {
        return OpenPeriodOutcome::Stopped;
    }
    if (!doc.hasOpenPeriod()) {
        prompter.message(kMsgIngenPeriod);
        return OpenPeriodOutcome::Stopped;
    }
    if (!automaticPeriod && !userMayOpen(app, doc, prompter)) {
        return OpenPeriodOutcome::Stopped;
    }
    try {
        // One change: until the chosen period is open, a failure puts the
        // company back as it was, whatever was saved on the way.
        auto change = doc.beginChange();
        doc.closePeriod(); // also switches the month range off
        if (!saveOpenPeriodAndCompany(doc, prompter)) {
            return OpenPeriodOutcome::Failed;
        }
        const std::optional<std::int32_t> chosen =
            automaticPeriod ? automaticPeriod : choosePeriod(doc, prompter);
        if (!chosen) {
            // The closed period is what was saved.
            change.commit();
            doc.savedInFull();
            return OpenPeriodOutcome::Kept;
        }
        // Read beside the open period: a file that cannot be read leaves it untouched.
        PeriodFileContents read = loadPeriodFile(doc, *chosen);
        if (!read.report.ok) {
            for (const std::string& text : read.report.messages) {
                prompter.message(text);
            }
            return OpenPeriodOutcome::Failed;
        }
        doc.openPeriod(std::move(read.period));
        change.commit();
        return OpenPeriodOutcome::Opened;
    } catch (const DocumentRefusal& refusal) {
        prompter.message(refusal.what());
        return OpenPeriodOutcome::Failed;
    }
}

} // namespace kv
