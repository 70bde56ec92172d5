#include "voucher/VoucherRules.h"

#include "chart/TypedText.h"
#include "model/DocumentTexts.h"
#include "voucher/VoucherLayout.h"
#include "voucher/VoucherNumbers.h"
#include "voucher/VoucherTexts.h"

#include <algorithm>

namespace kv {

namespace {

bool filled(const Grid& grid, std::int32_t row, std::int32_t col) {
    return !grid.text(row, col).empty();
}

} // namespace

std::int32_t accountOf(const std::string& cellText) {
    return readWholeNumber(cellText);
}

bool VoucherRules::isProfitAccount(std::int32_t number) const {
    std::int32_t result = 0;
    return number == kProfitAccount || (number > 0 && m_doc.resultAccountNumber(result) && result == number);
}

bool VoucherRules::failsLastPeriodRule(std::int32_t number) const {
    const auto& periods = m_doc.state().m_perioder;
    if (periods.size() < 2 ||
        m_doc.state().m_nAktuellPeriod != static_cast<std::int64_t>(periods.size()) - 2 ||
        !m_doc.inBalNummer(number)) {
        return false;
    }
    const auto& carried = periods.back().m_ingaende;
    return std::none_of(carried.begin(), carried.end(),
                        [number](const auto& konto) { return konto->m_nKontonr == number; });
}

std::string VoucherRules::lastPeriodText() const {
    const auto& periods = m_doc.state().m_perioder;
    if (periods.empty()) {
        return {};
    }
    const CPeriod& last = periods.back();
    return std::to_string(last.m_nFranManad) + " . " + std::to_string(last.m_nFranAr) + "   -   " +
           std::to_string(last.m_nTillManad) + " . " + std::to_string(last.m_nTillAr);
}

bool VoucherRules::namesAccount(const std::string& text) const {
    // An account is a chart row with a number above 0: headings and sum rows carry 0.
    const std::int32_t number = accountOf(text);
    return isWholeNumberText(text) && number > 0 && m_doc.hasAccount(number);
}

std::optional<CellFailure> VoucherRules::cellFailure(const Grid& grid, std::int32_t row,
                                                     std::int32_t col) const {
    const std::string& text = grid.text(row, col);
    const bool typed = !text.empty();
    const bool amount = col == kColDebet || col == kColKredit;
    const auto rowText = [&grid, row](std::int32_t c) -> const std::string& { return grid.text(row, c); };
    const auto fail = [](std::string message, int check) { return CellFailure{std::move(message), check}; };
    if (col == kColKonto && !onlyDigits(text)) {
        return fail(kMsgGeEttHeltal, 1);
    }
    if (col == kColKonto && typed && !namesAccount(text)) {
        return fail(kMsgKontotFinnsInte, 2);
    }
    if (col == kColDebet && typed && !rowText(kColKredit).empty()) {
        return fail(kMsgKreditkontotIfyllt, 3);
    }
    if ((amount || col == kColMoms) && !isNumberText(text)) {
        return fail(kMsgGeEttSiffervarde, col == kColDebet ? 4 : col == kColKredit ? 5 : 6);
    }
    if (amount && typed &&
        (rowText(kColKonto).empty() || rowText(kColKontonamn).empty() || rowText(kColRadtext).empty())) {
        return fail(kMsgFyllForst, col == kColDebet ? 7 : 8);
    }
    if (col == kColKredit && typed && !rowText(kColDebet).empty()) {
        return fail(kMsgDebetkontotIfyllt, 9);
    }
    if ((col == kColRadtext || col == kColKontonamn) && typed && rowText(kColKonto).empty()) {
        return fail(kMsgKontonummerSaknas, col == kColRadtext ? 10 : 11);
    }
    if (col == kColRadtext || col == kColKontonamn) {
        // The company files hold Windows-1252: a text they cannot hold is refused here.
        if (auto unstorable = unstorableTextMessage(text)) {
            return fail(*unstorable, 11);
        }
    }
    if (amount && numberValue(text) > kLargestLineAmount) {
        return fail(kMsgStorstaTal, 12);
    }
    if (!m_doc.incomeChartApproved()) {
        return fail(kMsgResultatEjAnnuGodkand, 13);
    }
    if (!m_doc.balanceChartApproved()) {
        return fail(kMsgBalansEjAnnuGodkand, 14);
    }
    if (col == kColKonto && typed && failsLastPeriodRule(accountOf(text))) {
        return fail("Kontot (" + text + ")" + " finns inte i sista perioden  " + lastPeriodText() + " " +
                        ". Öppna sista perioden och sätt in det i kontoplanen för Balansen.",
                    15);
    }
    if (col == kColKonto && typed && isProfitAccount(accountOf(text))) {
        return fail(kMsgVinstkontoCell, 16);
    }
    return std::nullopt;
}

std::vector<std::string> VoucherRules::unusualPostings(const Grid& grid, std::int32_t row) const {
    std::vector<std::string> warnings;
    const std::int32_t account = accountOf(grid.text(row, kColKonto));
    if (account <= 0) {
        return warnings; // unused rules are all 0: they name no account
    }
    for (const CAutomoms& rule : m_doc.state().m_momsregler) {
        if (rule.m_nDebetkonto == account && filled(grid, row, kColKredit)) {
            warnings.emplace_back(kMsgOvanligKredit);
        }
        if (rule.m_nKreditkonto == account && filled(grid, row, kColDebet)) {
            warnings.emplace_back(kMsgOvanligDebet);
        }
    }
    return warnings;
}

std::optional<std::string> VoucherRules::rowLeftProblem(const Grid& grid, std::int32_t row) const {
    const auto has = [&grid, row](std::int32_t col) { return filled(grid, row, col); };
    if (has(kColKonto)) {
        if (!has(kColKontonamn)) {
            return kMsgLineKontonamnSaknas;
        }
        if (!has(kColDebet) && !has(kColKredit)) {
            return kMsgDebetKreditEjIfyllt;
        }
        return std::nullopt;
    }
    if (has(kColRadtext) || ((has(kColDebet) || has(kColKredit)) && !has(kColKontonamn))) {
        return kMsgLineKontonrKontonamnSaknas;
    }
    if (has(kColKontonamn) || has(kColMoms)) {
        return kMsgKontonrSaknas;
    }
    return std::nullopt;
}

std::optional<MoveRefusal> VoucherRules::moveFailure(const Grid& grid, std::int32_t to,
                                                     std::int32_t changedRow, bool& gap) const {
    std::int32_t last = 0;
    std::int32_t firstEmpty = 0;
    for (std::int32_t row = 1; row <= kVoucherRows; ++row) {
        if (filled(grid, row, kColKonto)) {
            last = row;
        } else if (firstEmpty == 0) {
            firstEmpty = row;
        }
    }
    if (to > kVoucherRows) {
        return MoveRefusal{};
    }
    if (to > last + 1) {
        MoveRefusal refusal{{kMsgMellanrum}, CellPos{last + 1, kColKonto}};
        if (last == 0) {
            refusal.messages.emplace_back(kMsgBorjaForstaRaden);
        }
        return refusal;
    }
    // With every account cell filled there is no gap.
    gap = firstEmpty != 0 && firstEmpty < last;
    if (changedRow >= 1 && changedRow <= kVoucherRows && changedRow != to) {
        if (auto problem = rowLeftProblem(grid, changedRow)) {
            return MoveRefusal{{*problem}, std::nullopt};
        }
    }
    return std::nullopt;
}

std::optional<std::string> VoucherRules::accountRowProblem(const Grid& grid, std::int32_t row,
                                                           bool gap) const {
    const auto text = [&grid, row](std::int32_t col) -> const std::string& { return grid.text(row, col); };
    if (text(kColKontonamn).empty()) {
        return kMsgLineKontonamnSaknas;
    }
    if (text(kColDebet).empty() && text(kColKredit).empty()) {
        return kMsgDebetKreditEjIfyllt;
    }
    // Pasted cells have not passed the cell checks: the amounts are checked again here.
    for (const std::int32_t col : {kColDebet, kColKredit}) {
        if (!isNumberText(text(col))) {
            return kMsgGeEttSiffervarde;
        }
    }
    if (!text(kColDebet).empty() && numberValue(text(kColDebet)) == 0.0) {
        return kMsgDebetNoll;
    }
    if (!text(kColKredit).empty() && numberValue(text(kColKredit)) == 0.0) {
        return kMsgKreditNoll;
    }
    if (numberValue(text(kColDebet)) > kLargestLineAmount ||
        numberValue(text(kColKredit)) > kLargestLineAmount) {
        return kMsgStorstaTal;
    }
    if (!namesAccount(text(kColKonto))) {
        return kMsgFelaktigtKontonummer;
    }
    const std::int32_t account = accountOf(text(kColKonto));
    if (failsLastPeriodRule(account)) {
        return "Konto " + std::to_string(account) +
               " finns inte i sista bokföringsperioden. Öppna sista perioden och lägg in det i kontoplanen.";
    }
    if (isProfitAccount(account)) {
        return kMsgVinstkontotFinal;
    }
    if (gap) {
        return kMsgMellanrum;
    }
    if (m_doc.periodLocked()) {
        return kMsgEndast2SistaPerioderna;
    }
    return std::nullopt;
}

std::optional<FinalCheckFailure> VoucherRules::finalCheck(const Grid& grid, bool gap) const {
    bool anyLine = false;
    for (std::int32_t row = 1; row <= kVoucherRows; ++row) {
        const auto has = [&grid, row](std::int32_t col) { return filled(grid, row, col); };
        const bool empty = !has(kColKonto) && !has(kColKontonamn) && !has(kColRadtext) && !has(kColDebet) &&
                           !has(kColKredit);
        if (empty) {
            if (has(kColMoms)) {
                return FinalCheckFailure{kMsgKontonrSaknasMoms, row, true};
            }
            continue;
        }
        anyLine = true;
        if (has(kColKonto)) {
            if (auto problem = accountRowProblem(grid, row, gap)) {
                return FinalCheckFailure{*problem, row, false};
            }
        } else if (has(kColRadtext) || ((has(kColDebet) || has(kColKredit)) && !has(kColKontonamn))) {
            return FinalCheckFailure{kMsgLineKontonrKontonamnSaknas, row, false};
        } else if (has(kColKontonamn)) {
            return FinalCheckFailure{kMsgKontonrSaknas, row, false};
        }
    }
    if (!anyLine) {
        return FinalCheckFailure{kMsgEjIfyllt, 1, false};
    }
    return std::nullopt;
}

} // namespace kv
