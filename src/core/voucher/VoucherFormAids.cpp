// The editing aids of the voucher dialog: the VAT line, transaction
// templates, accounts from the account list and "Ångra".
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherLayout.h"
#include "voucher/VoucherTexts.h"
#include "voucher/VoucherVat.h"

namespace kv {

void VoucherFormModel::vatLine() {
    if (m_closed || (m_grid.isEditing() && !m_grid.endEdit())) {
        return;
    }
    const std::int32_t row = m_grid.currentCell().row;
    if (const auto refusal = vatLineRefusal(m_grid, row, m_nRosaRader)) {
        tell(*refusal);
        focus(VoucherField::Grid);
        return;
    }
    // One "Ångra" takes the whole split back.
    m_grid.rememberForUndo();
    if (const auto refusal = makeVatLine(m_grid, m_doc, row, m_nRosaRader)) {
        tell(*refusal);
        focus(VoucherField::Grid);
        return;
    }
    for (std::int32_t moved = row + 1; moved <= kVoucherRows; ++moved) {
        styleRow(moved); // rows that moved down keep the look of their place
    }
    m_nAndradRad = row + 1;
    recalculate(DateReport::WhenChanged);
    m_grid.placeCurrentCell({row + 1, kColRadtext});
    focus(VoucherField::Grid);
}

std::int32_t VoucherFormModel::firstFreeRow() const {
    // Below the registered lines: a line without debit and credit is free.
    for (std::int32_t row = m_nRosaRader + 1; row <= kVoucherRows; ++row) {
        if (m_grid.storedText(row, kColDebet).empty() && m_grid.storedText(row, kColKredit).empty()) {
            return row;
        }
    }
    return 0;
}

void VoucherFormModel::pasteTemplate(const std::string& clipboardText) {
    if (m_closed || (m_grid.isEditing() && !m_grid.endEdit())) {
        m_pendingAccount.reset();
        return;
    }
    m_grid.rememberForUndo();
    const std::int32_t firstSelected =
        m_grid.selection().empty() ? m_grid.currentCell().row : m_grid.firstSelectedRow();
    if (firstSelected <= m_nRosaRader) {
        m_pendingAccount.reset();
        tell(kMsgGaNedanforRosa);
        focus(VoucherField::Grid);
        return;
    }
    const std::int32_t freeRow = firstFreeRow();
    if (freeRow == 0) {
        m_pendingAccount.reset(); // every line is taken
        return;
    }
    m_grid.clearSelection();
    m_grid.placeCurrentCell({freeRow, kColKonto});
    m_grid.setText(freeRow, kColKonto, std::string());
    if (m_pendingAccount) {
        m_grid.setText(freeRow, kColKonto, *m_pendingAccount);
        m_pendingAccount.reset();
        m_nAndradRad = freeRow;
    } else {
        // The snapshot above covers the grid's paste too: one "Ångra" takes it back.
        m_undo.setMuted(true);
        m_grid.paste(clipboardText);
        m_undo.setMuted(false);
    }
    recalculate(DateReport::WhenChanged);
    showBalanceOf(freeRow);
    focus(VoucherField::Grid);
}

void VoucherFormModel::insertAccount(std::size_t line) {
    if (line >= m_accountNumbers.size()) {
        return;
    }
    m_pendingAccount = std::to_string(m_accountNumbers[line]);
    pasteTemplate(std::string());
}

void VoucherFormModel::undo() {
    if (m_closed) {
        return;
    }
    if (m_grid.undo()) {
        for (std::int32_t row = m_nRosaRader + 1; row <= kVoucherRows; ++row) {
            styleRow(row);
        }
        recalculate(DateReport::WhenChanged);
    }
    changed(FormAspect::Buttons);
    focus(VoucherField::Grid);
}

void VoucherFormModel::showTemplateInfo() {
    m_prompter.say(MessageKind::Information, kInfoTransaktionsmall);
}

} // namespace kv
