// "OK" and "Avbryt" of the voucher dialog: the final check of all lines, the
// questions in their order, and the registration or amendment that the
// document carries out.
#include "attachments/Attachments.h"
#include "model/Amount.h"
#include "model/DocumentTexts.h"
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherLayout.h"
#include "voucher/VoucherNumbers.h"
#include "voucher/VoucherTexts.h"

#include "chart/TypedText.h"
#include "storage/CompanyDatabase.h"

#include <algorithm>

namespace kv {

bool VoucherFormModel::ok() {
    if (m_closed) {
        return false;
    }
    if (longerThanTheDialog()) {
        tell(tooManyLinesMessage(m_registeredLines.size()));
        return false;
    }
    // The cell being typed is checked first; a refused text has been told.
    // A refused cell left open and empty is no answer: it blocks until a
    // text of its own passes the check.
    if (m_grid.isEditing() && m_bRutaOk == 0 && m_grid.editText().empty()) {
        tell(m_refusal);
        focus(VoucherField::Grid);
        return false;
    }
    if (m_grid.isEditing() && !m_grid.endEdit()) {
        return false;
    }
    m_bRutaOk = 1; // no cell is open: every text in the grid has passed its check
    recalculate(DateReport::Always);
    m_bSvar = 1;
    if (m_bGiltigt == 0) {
        return false; // the date's message is told and its field has the focus
    }
    if (const auto unstorable = unstorableTextMessage(fieldText(VoucherField::Vertext))) {
        tell(*unstorable);
        focus(VoucherField::Vertext);
        return false;
    }
    if (!finalCheckPasses()) {
        m_bGiltigt = 0;
        return false;
    }
    // An unbalanced voucher is registered only when the user says so to the
    // second difference question; refused (Avbryt to both, or to the second),
    // the dialog stays open with the difference shown, and the registration
    // question is not asked.
    bool askedDifference = false;
    if (differenceOre() != 0 && m_bRutaOk == 1 && m_bGiltigt == 1) {
        m_bSvar = askDifference() ? 1 : 0;
        askedDifference = true;
    }
    if (!inOpenPeriod()) {
        tell(kMsgEjInomPerioden);
        m_bGiltigt = 0;
        focus(VoucherField::TransMonth);
        return false;
    }
    if (!askedDifference) {
        m_bSvar = askRegistration() ? 1 : 0;
    }
    if (m_bSvar == 0) {
        return false;
    }
    return handOverAndRegister();
}

void VoucherFormModel::cancel() {
    if (m_closed || !mayDiscard()) {
        return;
    }
    if (m_setup.handOver) {
        m_setup.handOver();
    }
    close();
}

bool VoucherFormModel::mayDiscard() {
    // Return keeps the voucher: what was typed is never lost by habit.
    return m_closed || !anythingTyped() ||
           m_prompter.askOkCancel(kAskStangOregistrerat, Answer::Cancel) == Answer::Ok;
}

bool VoucherFormModel::mayClose() {
    if (m_closed) {
        return true;
    }
    if (!mayDiscard()) {
        return false;
    }
    // Closing is cancelling; the application drops the form itself.
    if (m_setup.handOver) {
        m_setup.handOver();
    }
    m_closed = true;
    return true;
}

bool VoucherFormModel::anythingTyped() const {
    if (!registered() && !fieldText(VoucherField::Vertext).empty()) {
        return true;
    }
    for (std::int32_t row = m_nRosaRader + 1; row <= kVoucherRows; ++row) {
        for (std::int32_t col = 1; col <= kVoucherCols; ++col) {
            if (!m_grid.storedText(row, col).empty()) {
                return true;
            }
        }
    }
    return !m_chosen.empty() || (m_grid.isEditing() && !m_grid.editText().empty());
}

void VoucherFormModel::close() {
    m_closed = true;
    finish();
}

bool VoucherFormModel::finalCheckPasses() {
    const auto failure = m_rules.finalCheck(m_grid, m_bMellanrum);
    if (!failure) {
        return true;
    }
    if (failure->vatCellEmptied) {
        m_grid.setText(failure->row, kColMoms, std::string());
    }
    tell(failure->message);
    m_grid.scrollTo({failure->row, kColKonto});
    focus(VoucherField::Grid);
    return false;
}

bool VoucherFormModel::askDifference() {
    // Return answers Cancel: an unbalanced voucher is never registered by habit.
    // The first question tells of the difference; the second one's answer decides.
    m_prompter.askOkCancel(registered() ? kAskDifferensRegistrerat : kAskDifferens, Answer::Cancel);
    std::string again = registered() ? kAskDifferensIgenRegistrerat : kAskDifferensIgen;
    if (fieldText(VoucherField::Vertext).empty()) {
        again += kTailVerifikattextSaknas;
    }
    return m_prompter.askOkCancel(again, Answer::Cancel) == Answer::Ok;
}

bool VoucherFormModel::inOpenPeriod() const {
    // Months only: any day of the end month lies inside.
    const YearMonth when{dateFieldValue(fieldText(VoucherField::TransYear)),
                         dateFieldValue(fieldText(VoucherField::TransMonth))};
    return m_doc.hasOpenPeriod() && when >= m_doc.periodStart() && when <= m_doc.periodEnd();
}

std::string VoucherFormModel::registrationQuestion() const {
    std::string question = registered() ? kAskSparaAndringar : kAskRegistrera;
    question += std::to_string(dateFieldValue(fieldText(VoucherField::TransDay))) + " - " +
                std::to_string(dateFieldValue(fieldText(VoucherField::TransMonth))) + " - " +
                std::to_string(dateFieldValue(fieldText(VoucherField::TransYear)));
    const std::string& text = fieldText(VoucherField::Vertext);
    if (!text.empty()) {
        question += kTailVerifikattext + text;
    } else {
        question += registered() ? kTailTextSaknasRegistrerat : kTailTextSaknas;
    }
    return question;
}

bool VoucherFormModel::askRegistration() {
    if (m_prompter.askOkCancel(registrationQuestion()) != Answer::Ok) {
        return false;
    }
    if (registered()) {
        return true;
    }
    const bool noText = fieldText(VoucherField::Vertext).empty();
    return m_prompter.askOkCancel(noText ? kAskOkUtanText : kAskOkMedText) == Answer::Ok;
}

CVerifikatrad VoucherFormModel::lineOf(std::int32_t row) const {
    if (row <= m_nRosaRader && static_cast<std::size_t>(row) <= m_registeredLines.size()) {
        // A registered line is kept exactly as it was stored and posted.
        return m_registeredLines[static_cast<std::size_t>(row - 1)];
    }
    CVerifikatrad line;
    line.m_nKonto = accountOf(m_grid.storedText(row, kColKonto));
    line.m_strKontonamn = m_grid.storedText(row, kColKontonamn);
    line.m_strRadtext = m_grid.storedText(row, kColRadtext);
    line.m_dDebet = numberValue(m_grid.storedText(row, kColDebet));
    line.m_dKredit = numberValue(m_grid.storedText(row, kColKredit));
    line.m_dMoms = numberValue(m_grid.storedText(row, kColMoms));
    return line;
}

CEttVerifikat VoucherFormModel::buildVoucher() const {
    CEttVerifikat voucher;
    voucher.m_nVernr = m_voucherNumber;
    const auto value = [this](VoucherField field) { return dateFieldValue(fieldText(field)); };
    voucher.m_nTransDag = value(VoucherField::TransDay);
    voucher.m_nTransManad = value(VoucherField::TransMonth);
    voucher.m_nTransAr = value(VoucherField::TransYear);
    voucher.m_nBokfDag = value(VoucherField::BokfDay);
    voucher.m_nBokfManad = value(VoucherField::BokfMonth);
    voucher.m_nBokfAr = value(VoucherField::BokfYear);
    voucher.m_strVertext = fieldText(VoucherField::Vertext);
    voucher.m_dSumDebet = toKronor(m_debitOre);
    voucher.m_dSumKredit = toKronor(m_creditOre);
    voucher.m_dDifferens = toKronor(differenceOre());
    voucher.m_dKontosaldo = m_dKontosaldo;
    // Every row down to the last one used, empty rows between lines included.
    const std::int32_t rows = std::max(m_nSistaRad, registered() ? m_nRosaRader : 0);
    for (std::int32_t row = 1; row <= rows; ++row) {
        voucher.m_rader.push_back(lineOf(row));
    }
    // A stored voucher with more lines than the grid shows keeps the rest as they were.
    for (std::size_t line = voucher.m_rader.size(); registered() && line < m_registeredLines.size(); ++line) {
        voucher.m_rader.push_back(m_registeredLines[line]);
    }
    voucher.m_nAntalRader = static_cast<std::int32_t>(voucher.m_rader.size());
    return voucher;
}

bool VoucherFormModel::handOverAndRegister() {
    // The chosen receipts are copied into the company's store first: a
    // registration whose receipts cannot be kept does not happen, and the
    // files this registration wrote go again when it does not get through.
    std::optional<AttachmentStoring> storing;
    std::vector<AttachmentRecord> receipts;
    if (!m_chosen.empty()) {
        if (m_doc.pathName().empty()) {
            tell(kMsgUnderlagEjSparatForetag);
            return false;
        }
        storing.emplace(m_doc.pathName());
        const LocalTime now = m_setup.clock();
        try {
            for (const CheckedAttachment& chosen : m_chosen) {
                receipts.push_back(storing->store(chosen.sourcePath, m_doc.state().m_nAktuellPeriod, 0, now));
            }
        } catch (const AttachmentError& error) {
            tell(std::string(error.what()) + kMsgUnderlagEjRegistrerat);
            return false;
        }
    }
    if (m_setup.handOver) {
        m_setup.handOver();
    }
    try {
        // The voucher and its receipts are one change: both or neither.
        auto change = m_doc.beginChange();
        std::int32_t number = m_voucherNumber;
        if (registered()) {
            // Every stored line was posted when it was registered, those
            // beyond the grid's 75 rows too; only the rows typed now are new.
            const auto posted =
                std::max<std::size_t>(static_cast<std::size_t>(m_nRosaRader), m_registeredLines.size());
            m_doc.amendVoucher(buildVoucher(), static_cast<std::int32_t>(posted));
        } else {
            number = m_doc.registerVoucher(buildVoucher());
        }
        for (AttachmentRecord& receipt : receipts) {
            receipt.voucher = number;
        }
        m_doc.recordAttachments(std::move(receipts));
        change.commit();
        m_registeredNumber = number;
    } catch (const DocumentRefusal& refusal) {
        tell(refusal.what());
        return false;
    }
    if (storing) {
        storing->keep();
    }
    m_chosen.clear();
    close();
    return true;
}

// ---- receipts ----

void VoucherFormModel::attachFiles(const std::vector<std::string>& paths) {
    if (m_closed || paths.empty()) {
        return;
    }
    if (m_doc.pathName().empty()) {
        tell(kMsgUnderlagEjSparatForetag);
        return;
    }
    std::vector<AttachmentRecord> kept;
    try {
        // A database that cannot take the records refuses now, not at the save.
        kept = keptAttachments();
        if (!registered()) {
            (void)readVouchersWithAttachments(m_doc.pathName(), m_doc.state().m_nAktuellPeriod);
        }
    } catch (const DatabaseError& error) {
        tell(error.what());
        return;
    }
    bool chosenAny = false;
    for (const std::string& path : paths) {
        try {
            CheckedAttachment checked = checkAttachmentFile(path);
            const auto sameContent = [&](const auto& other) { return other.sha256 == checked.sha256; };
            if (std::any_of(kept.begin(), kept.end(), sameContent)) {
                tell(kMsgUnderlagRedanBifogat + checked.fileName);
                continue;
            }
            if (std::any_of(m_chosen.begin(), m_chosen.end(), sameContent)) {
                continue; // chosen already: one receipt
            }
            m_chosen.push_back(std::move(checked));
            chosenAny = true;
        } catch (const AttachmentError& error) {
            tell(error.what());
        }
    }
    if (chosenAny) {
        changed(FormAspect::Attachments | FormAspect::Buttons);
    }
}

void VoucherFormModel::removeChosenAttachment(std::size_t index) {
    if (index >= m_chosen.size()) {
        return;
    }
    m_chosen.erase(m_chosen.begin() + static_cast<std::ptrdiff_t>(index));
    changed(FormAspect::Attachments | FormAspect::Buttons);
}

std::vector<AttachmentRecord> VoucherFormModel::keptAttachments() const {
    if (!registered()) {
        return {};
    }
    return voucherAttachments(m_doc, m_voucherNumber);
}

} // namespace kv
