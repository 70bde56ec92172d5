#include "reports/ReportKinds.h"

#include "reports/JournalReport.h"
#include "reports/LedgerReport.h"
#include "reports/ReportTexts.h"
#include "reports/StatementReport.h"
#include "reports/TrialBalanceReport.h"
#include "reports/VatReport.h"

namespace kv {

namespace {

ReportForm titleForm(const char* title) {
    ReportForm form;
    form.lines.push_back({0, {{title, -1, 0, TextAlign::Left, std::nullopt, false}}});
    return form;
}

} // namespace

const char* reportTitle(ReportKind kind) {
    switch (kind) {
    case ReportKind::Journal:
        return kJournalTitle;
    case ReportKind::Ledger:
        return kHuvudbokPrinted;
    case ReportKind::TrialBalance:
        return "Alla konton / Råbalans";
    case ReportKind::Income:
        return kResultatrakning;
    case ReportKind::Balance:
        return kBalansrakning;
    case ReportKind::Vat:
        return kVatReportTitle;
    }
    return "";
}

std::vector<ReportForm> reportForms(const CTallvingeDoc& doc, ReportKind kind,
                                    std::optional<std::int32_t> account) {
    const ScreenMeasures screen;
    switch (kind) {
    case ReportKind::Journal:
        return {journalForm(doc, screen), journalListingForm(journalListing(doc, JournalPrintRange{}))};
    case ReportKind::Ledger:
        return {account ? ledgerForm(doc, *account, screen) : ledgerFormOfAll(doc, screen)};
    case ReportKind::TrialBalance:
        return {titleForm(reportTitle(kind)), trialBalanceForm(buildTrialBalance(doc), screen)};
    case ReportKind::Income:
        return {statementForm(buildIncomeStatement(doc))};
    case ReportKind::Balance:
        return {statementForm(buildBalanceSheet(doc))};
    case ReportKind::Vat:
        return {titleForm(reportTitle(kind)), vatReportForm(buildVatReport(doc), screen)};
    }
    return {};
}

bool hasListing(ReportKind kind) {
    return kind == ReportKind::Journal || kind == ReportKind::Ledger || kind == ReportKind::TrialBalance ||
           kind == ReportKind::Vat;
}

Listing reportListing(const CTallvingeDoc& doc, ReportKind kind, const PrintDevice& device) {
    switch (kind) {
    case ReportKind::Journal:
        return journalListing(doc, JournalPrintRange{});
    case ReportKind::Ledger:
        return ledgerListing(doc, device);
    case ReportKind::TrialBalance:
        return trialBalanceListing(buildTrialBalance(doc), doc);
    case ReportKind::Vat:
        return vatReportListing(buildVatReport(doc), doc, device);
    default:
        return {};
    }
}

} // namespace kv
