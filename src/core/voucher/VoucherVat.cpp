#include "voucher/VoucherVat.h"

#include "model/Amount.h"
#include "voucher/VoucherLayout.h"
#include "voucher/VoucherNumbers.h"
#include "voucher/VoucherRules.h"
#include "voucher/VoucherTexts.h"

namespace kv {

namespace {

bool rowHoldsText(const Grid& grid, std::int32_t row, std::int32_t lastCol) {
    for (std::int32_t col = 1; col <= lastCol; ++col) {
        if (!grid.text(row, col).empty()) {
            return true;
        }
    }
    return false;
}

// The VAT account of the last rule for the account: the debit-side one for a
// debit-side account, the credit-side one for a credit-side account.
std::int32_t vatAccountOf(const CTallvingeDoc& doc, std::int32_t account) {
    std::int32_t vatAccount = 0;
    for (const CAutomoms& rule : doc.state().m_momsregler) {
        if (rule.m_nDebetkonto == account) {
            vatAccount = rule.m_nDebetMomskonto;
        }
        if (rule.m_nKreditkonto == account) {
            vatAccount = rule.m_nKreditMomskonto;
        }
    }
    return vatAccount;
}

} // namespace

VatSplit splitVat(double gross, double rate) {
    const double vat = gross - gross / (rate * 0.01 + 1.0);
    // The two lines add up to the gross amount to the öre: the net is the
    // gross less the VAT as written.
    const Ore vatOre = toOre(vat);
    return {toOre(gross) - vatOre, vatOre};
}

std::optional<double> vatRateOf(const CTallvingeDoc& doc, std::int32_t account) {
    if (account <= 0) {
        return std::nullopt; // unused rules are all 0
    }
    std::optional<double> rate;
    for (const CAutomoms& rule : doc.state().m_momsregler) {
        if (rule.m_nDebetkonto == account || rule.m_nKreditkonto == account) {
            rate = rule.m_dMomssats;
        }
    }
    return rate;
}

void refreshVatColumn(Grid& grid, const CTallvingeDoc& doc, std::int32_t firstRow) {
    for (std::int32_t row = std::max(firstRow, 1); row <= kVoucherRows; ++row) {
        const std::string& account = grid.storedText(row, kColKonto);
        if (account.empty()) {
            continue;
        }
        const auto rate = vatRateOf(doc, accountOf(account));
        std::string shown = rate ? twoDecimals(*rate) : std::string();
        if (grid.storedText(row, kColMoms) != shown) {
            grid.setText(row, kColMoms, std::move(shown));
        }
    }
}

std::optional<std::string> vatLineRefusal(const Grid& grid, std::int32_t row, std::int32_t pinkRows) {
    if (row <= pinkRows) {
        return kMsgRosaRaderKanEjAndras;
    }
    if (grid.storedText(row, kColMoms).empty()) {
        return kMsgMomskolumnenEjIfylld;
    }
    const bool debit = !grid.storedText(row, kColDebet).empty();
    const bool credit = !grid.storedText(row, kColKredit).empty();
    if (grid.storedText(row, kColKonto).empty() || debit == credit) {
        return kMsgRadenEjKorrekt;
    }
    return std::nullopt;
}

std::optional<std::string> makeVatLine(Grid& grid, const CTallvingeDoc& doc, std::int32_t row,
                                       std::int32_t pinkRows) {
    if (auto refusal = vatLineRefusal(grid, row, pinkRows)) {
        return refusal;
    }
    const std::int32_t vatRow = row + 1;
    const bool rowTaken = vatRow > kVoucherRows || rowHoldsText(grid, vatRow, kColKredit);
    if (rowTaken) {
        if (vatRow > kVoucherRows || rowHoldsText(grid, kVoucherRows, kVoucherCols)) {
            return kMsgRad75;
        }
        grid.insertRows(vatRow, 1);
        grid.removeRows(kVoucherRows + 1, kVoucherRows + 1);
    }
    const std::int32_t amountCol = grid.storedText(row, kColDebet).empty() ? kColKredit : kColDebet;
    const double gross = numberValue(grid.storedText(row, amountCol));
    const double rate = numberValue(grid.storedText(row, kColMoms));
    const VatSplit split = splitVat(gross, rate);
    grid.setText(vatRow, amountCol, formatPlainOre(split.vat));
    grid.setText(row, amountCol, formatPlainOre(split.net));
    grid.setText(vatRow, kColKonto,
                 std::to_string(vatAccountOf(doc, accountOf(grid.storedText(row, kColKonto)))));
    return std::nullopt;
}

} // namespace kv
