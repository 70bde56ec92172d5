#include "sie/SieDialogViews.h"

#include "sie/SieAddVouchers.h"
#include "sie/SieImportSummary.h"
#include "sie/SieSummaryDialog.h"

namespace kv::ui {

// A summary closes with Answer::Yes when the user goes on.
void registerSieDialogViews(DialogViews& views) {
    views.add<SieImportSummary>([](SieImportSummary& summary, Prompter&, QWidget* parent) {
        bool takenAsItStands = summary.allowDifference;
        SieSummaryDialog shown(summary.view(), &takenAsItStands, parent);
        const bool accepted = shown.exec() == QDialog::Accepted;
        summary.allowDifference = takenAsItStands;
        return accepted ? Answer::Yes : Answer::Cancel;
    });
    views.add<SieAddSummary>([](SieAddSummary& summary, Prompter&, QWidget* parent) {
        SieSummaryDialog shown(summary.view(), nullptr, parent);
        return shown.exec() == QDialog::Accepted ? Answer::Yes : Answer::Cancel;
    });
}

} // namespace kv::ui
