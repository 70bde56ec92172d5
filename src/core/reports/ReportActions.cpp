#include "reports/ReportActions.h"

#include "interaction/Prompter.h"
#include "reports/AccountChoiceModel.h"
#include "reports/LedgerReport.h"
#include "reports/ReportCommon.h"
#include "reports/ReportTexts.h"
#include "reports/VoucherRangeModel.h"

#include <algorithm>

namespace kv {

bool chooseJournalRange(const CTallvingeDoc& doc, Prompter& prompter, JournalPrintRange& range) {
    const auto count = static_cast<std::int32_t>(doc.state().m_verifikat.size());
    if (count == 0) {
        prompter.message(kDetFinnsIngaVerifikat);
        return false;
    }
    VoucherRangeModel dialog(count);
    if (prompter.show(dialog) != Answer::Ok) {
        return false;
    }
    range = {dialog.from(), dialog.to()};
    return true;
}

bool mayOpenVoucherList(const CTallvingeDoc& doc, Prompter& prompter) {
    if (doc.state().m_verifikat.empty()) {
        prompter.message(kDetFinnsIngaVerifikat);
        return false;
    }
    if (!booksComplete(doc.state())) {
        prompter.message(kListsNotApproved);
        return false;
    }
    return true;
}

std::optional<std::int32_t> chooseLedgerAccount(const CTallvingeDoc& doc, Prompter& prompter) {
    AccountChoiceModel choice(doc.state());
    if (choice.entries().empty()) {
        prompter.message(kIngaKonton);
        return std::nullopt;
    }
    if (prompter.show(choice) != Answer::Ok) {
        return std::nullopt;
    }
    return choice.chosen();
}

std::optional<std::int32_t> neighbourAccount(const CompanyState& company, std::int32_t current, int step) {
    const std::vector<std::int32_t> accounts = ledgerAccounts(company);
    if (accounts.empty()) {
        return std::nullopt;
    }
    const auto at = std::find(accounts.begin(), accounts.end(), current);
    if (at == accounts.end()) {
        return step > 0 ? accounts.front() : accounts.back();
    }
    const auto index = static_cast<std::ptrdiff_t>(at - accounts.begin()) + step;
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(accounts.size())) {
        return std::nullopt;
    }
    return accounts[static_cast<std::size_t>(index)];
}

} // namespace kv
