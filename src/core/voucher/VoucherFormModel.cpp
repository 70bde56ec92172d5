// The voucher dialog: set-up, fields, the grid's hooks and the recalculation.
#include "voucher/VoucherFormModel.h"

#include "model/Amount.h"
#include "voucher/VoucherLayout.h"
#include "voucher/VoucherNumbers.h"
#include "voucher/VoucherTexts.h"
#include "voucher/VoucherVat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace kv {

namespace {

std::size_t slot(VoucherField field) {
    return static_cast<std::size_t>(field);
}

std::string dateText(std::int32_t value) {
    // A date never given (0, a new period's last date) shows as an empty field.
    return value > 0 ? std::to_string(value) : std::string();
}

// "%2d", two blanks and the name, as the account list shows an account.
std::string accountLine(const CKonto& konto) {
    std::array<char, 16> number{};
    std::snprintf(number.data(), number.size(), "%2d", konto.m_nKontonr);
    return std::string(number.data()) + "  " + konto.m_strKolumn2;
}

} // namespace

VoucherFormModel::VoucherFormModel(CTallvingeDoc& doc, Prompter& prompter, VoucherFormSetup setup)
    : m_doc(doc), m_prompter(prompter), m_setup(std::move(setup)), m_rules(doc),
      m_undo(m_setup.registered
                 ? static_cast<std::int32_t>(doc.state().m_verifikat.at(*m_setup.registered).m_rader.size())
                 : 0),
      m_subscription(doc.subscribe(*this)) {
    buildGrid();
    fillAccountList();
    const CalendarDate& today = m_setup.today;
    m_fields[slot(VoucherField::BokfDay)] = std::to_string(today.day);
    m_fields[slot(VoucherField::BokfMonth)] = std::to_string(today.month);
    m_fields[slot(VoucherField::BokfYear)] = std::to_string(today.year);
    if (m_setup.registered) {
        loadRegistered(doc.state().m_verifikat.at(*m_setup.registered));
    } else {
        const CompanyState& company = doc.state();
        m_voucherNumber = company.m_nNastaVernr;
        m_fields[slot(VoucherField::TransDay)] = dateText(company.m_nSenasteDag);
        m_fields[slot(VoucherField::TransMonth)] = dateText(company.m_nSenasteManad);
        m_fields[slot(VoucherField::TransYear)] = dateText(company.m_nSenasteAr);
    }
    m_grid.setHooks(this);
    m_grid.setUndoStore(&m_undo);
    m_grid.placeCurrentCell({m_nRosaRader + 1, kColKonto});
    // The sums of a registered voucher show from the start; no date is judged yet.
    recalculate(DateReport::Never);
    m_focusRequest = m_setup.registered ? VoucherField::Grid : VoucherField::TransDay;
}

VoucherFormModel::~VoucherFormModel() {
    m_grid.setUndoStore(nullptr);
    m_grid.setHooks(nullptr);
}

void VoucherFormModel::buildGrid() {
    m_grid.setColCount(kVoucherCols);
    m_grid.setRowCount(kVoucherRows);
    for (std::int32_t col = 1; col <= kVoucherCols; ++col) {
        m_grid.setText(0, col, kVoucherColumnTitles[static_cast<std::size_t>(col - 1)]);
    }
    setCharWidth(7.0);
    for (std::int32_t row = 1; row <= kVoucherRows; ++row) {
        styleRow(row);
    }
}

void VoucherFormModel::styleRow(std::int32_t row) {
    const bool pink = row <= m_nRosaRader;
    for (std::int32_t col = 1; col <= kVoucherCols; ++col) {
        CellStyle style;
        style.readOnly = pink;
        if (pink) {
            style.background = kPinkRow;
        } else if (col == kColMoms) {
            style.background = kVatColumnColour;
        }
        if (col >= kColDebet) {
            style.align = HAlign::Right;
        }
        m_grid.setStyle(row, col, style);
    }
}

void VoucherFormModel::setCharWidth(double charWidth) {
    const double factor = voucherWidthFactor(charWidth);
    for (std::int32_t col = 0; col <= kVoucherCols; ++col) {
        const double width = kVoucherColumnWidths[static_cast<std::size_t>(col)] * factor;
        m_grid.setColumnWidth(col, std::max(1, static_cast<std::int32_t>(width)));
    }
    changed(FormAspect::Grid);
}

void VoucherFormModel::loadRegistered(const CEttVerifikat& voucher) {
    m_bRegistrerat = 1;
    m_voucherNumber = voucher.m_nVernr;
    m_registeredLines = voucher.m_rader;
    m_nRosaRader = static_cast<std::int32_t>(std::min<std::size_t>(voucher.m_rader.size(), kVoucherRows));
    m_fields[slot(VoucherField::TransDay)] = std::to_string(voucher.m_nTransDag);
    m_fields[slot(VoucherField::TransMonth)] = std::to_string(voucher.m_nTransManad);
    m_fields[slot(VoucherField::TransYear)] = std::to_string(voucher.m_nTransAr);
    m_fields[slot(VoucherField::Vertext)] = voucher.m_strVertext;
    m_fields[slot(VoucherField::BokfDay)] = std::to_string(voucher.m_nBokfDag);
    m_fields[slot(VoucherField::BokfMonth)] = std::to_string(voucher.m_nBokfManad);
    m_fields[slot(VoucherField::BokfYear)] = std::to_string(voucher.m_nBokfAr);
    m_dKontosaldo = voucher.m_dKontosaldo;
    const auto amount = [](double value) { return value > 0 ? twoDecimals(value) : std::string(); };
    for (std::int32_t row = 1; row <= m_nRosaRader; ++row) {
        const CVerifikatrad& line = voucher.m_rader[static_cast<std::size_t>(row - 1)];
        m_grid.setText(row, kColKonto, line.m_nKonto != 0 ? std::to_string(line.m_nKonto) : std::string());
        m_grid.setText(row, kColKontonamn, line.m_strKontonamn);
        m_grid.setText(row, kColRadtext, line.m_strRadtext);
        m_grid.setText(row, kColDebet, amount(line.m_dDebet));
        m_grid.setText(row, kColKredit, amount(line.m_dKredit));
        m_grid.setText(row, kColMoms, amount(line.m_dMoms));
        styleRow(row);
    }
}

void VoucherFormModel::fillAccountList() {
    m_accountList.clear();
    m_accountNumbers.clear();
    for (const auto& konto : m_doc.state().m_allaKonton) {
        if (konto->m_nKontonr > 0) {
            m_accountList.push_back(accountLine(*konto));
            m_accountNumbers.push_back(konto->m_nKontonr);
        }
    }
}

void VoucherFormModel::onDocumentUpdated() {
    fillAccountList();
    changed(FormAspect::Fields);
}

// ---- fields ----

std::string VoucherFormModel::title() const {
    return registered() ? kVoucherTitleRegistered : kVoucherTitle;
}

const std::string& VoucherFormModel::fieldText(VoucherField field) const {
    static const std::string none;
    return field == VoucherField::Grid ? none : m_fields[slot(field)];
}

bool VoucherFormModel::isFieldEditable(VoucherField field) const {
    return field != VoucherField::Grid && !registered();
}

void VoucherFormModel::setFieldText(VoucherField field, std::string text) {
    if (isFieldEditable(field)) {
        m_fields[slot(field)] = std::move(text);
    }
}

std::string VoucherFormModel::debitSumText() const {
    return formatOre(m_debitOre);
}

std::string VoucherFormModel::creditSumText() const {
    return formatOre(m_creditOre);
}

std::string VoucherFormModel::differenceText() const {
    return formatOre(differenceOre());
}

std::string VoucherFormModel::balanceText() const {
    return FormatAmount(m_dKontosaldo);
}

std::optional<VoucherField> VoucherFormModel::takeFocusRequest() {
    return std::exchange(m_focusRequest, std::nullopt);
}

void VoucherFormModel::focus(VoucherField field) {
    m_focusRequest = field;
    changed(FormAspect::Fields);
}

void VoucherFormModel::tell(const std::string& text) {
    m_prompter.message(text);
}

void VoucherFormModel::leaveTextField() {
    m_grid.moveCurrentCell({m_nRosaRader + 1, kColKonto});
    focus(VoucherField::Grid);
}

bool VoucherFormModel::typeCell(CellPos cell, const std::string& text) {
    if (!m_grid.moveCurrentCell(cell) || m_grid.currentCell() != cell) {
        return false;
    }
    return m_grid.beginEdit(text) && m_grid.endEdit();
}

// ---- the recalculation ----

bool VoucherFormModel::transferDates(DateReport report) {
    const auto text = [this](VoucherField field) -> const std::string& { return m_fields[slot(field)]; };
    const DateTexts transaction{text(VoucherField::TransDay), text(VoucherField::TransMonth),
                                text(VoucherField::TransYear)};
    const DateTexts booking{text(VoucherField::BokfDay), text(VoucherField::BokfMonth),
                            text(VoucherField::BokfYear)};
    const auto failure = checkDates(transaction, booking);
    if (!failure) {
        m_bGiltigt = 1;
        m_lastDateComplaint = {};
        return true;
    }
    m_bGiltigt = 0;
    const std::array<std::string, 6> typed{transaction.day, transaction.month, transaction.year,
                                           booking.day,     booking.month,     booking.year};
    // After a change of a cell the same wrong date is told once, not after every cell.
    if (report == DateReport::Always || typed != m_lastDateComplaint) {
        m_lastDateComplaint = typed;
        tell(failure->message);
        static constexpr std::array<VoucherField, 6> kFields{
            VoucherField::TransDay, VoucherField::TransMonth, VoucherField::TransYear,
            VoucherField::BokfDay,  VoucherField::BokfMonth,  VoucherField::BokfYear};
        focus(kFields[static_cast<std::size_t>(failure->field)]);
    }
    return false;
}

std::string VoucherFormModel::amendedPrefix() const {
    return "Ändrat " + std::to_string(m_setup.today.day) + "." + std::to_string(m_setup.today.month) + ", ";
}

void VoucherFormModel::fillRow(std::int32_t row) {
    const std::string& account = m_grid.storedText(row, kColKonto);
    const std::int32_t number = accountOf(account);
    if (number > 0 && isWholeNumberText(account)) {
        const int index = m_doc.accountIndex(number);
        if (index >= 0) {
            const std::string& name =
                m_doc.state().m_allaKonton[static_cast<std::size_t>(index)]->m_strKolumn2;
            if (m_grid.storedText(row, kColKontonamn) != name) {
                m_grid.setText(row, kColKontonamn, name);
            }
        }
    }
    if (registered() && !account.empty()) {
        const std::string prefix = amendedPrefix();
        const std::string& text = m_grid.storedText(row, kColRadtext);
        if (!text.starts_with(prefix)) {
            m_grid.setText(row, kColRadtext, prefix + text);
        }
    }
}

void VoucherFormModel::recalculate(DateReport report) {
    if (report != DateReport::Never) {
        transferDates(report);
    }
    Ore debit = 0;
    Ore credit = 0;
    m_nSistaRad = 0;
    for (std::int32_t row = 1; row <= kVoucherRows; ++row) {
        if (row > m_nRosaRader) {
            fillRow(row);
        }
        debit = addOre(debit, toOre(numberValue(m_grid.storedText(row, kColDebet))));
        credit = addOre(credit, toOre(numberValue(m_grid.storedText(row, kColKredit))));
        for (std::int32_t col = 1; col <= kVoucherCols; ++col) {
            if (!m_grid.storedText(row, col).empty()) {
                m_nSistaRad = row;
                break;
            }
        }
    }
    // The lines of a stored voucher beyond the grid's last row still count.
    for (std::size_t line = kVoucherRows; line < m_registeredLines.size(); ++line) {
        debit = addOre(debit, toOre(m_registeredLines[line].m_dDebet));
        credit = addOre(credit, toOre(m_registeredLines[line].m_dKredit));
    }
    refreshVatColumn(m_grid, m_doc, m_nRosaRader + 1);
    m_debitOre = debit;
    m_creditOre = credit;
    changed(FormAspect::Sums | FormAspect::Buttons);
}

void VoucherFormModel::showBalanceOf(std::int32_t row) {
    const std::string& account = m_grid.text(row, kColKonto);
    const std::int32_t number = accountOf(account);
    const int index = number > 0 && isWholeNumberText(account) ? m_doc.accountIndex(number) : -1;
    Ore balance = 0;
    if (index >= 0) {
        for (const CKontorad& posted : m_doc.state().m_allaKonton[static_cast<std::size_t>(index)]->m_rader) {
            balance = addOre(balance, addOre(toOre(posted.m_dDebet), -toOre(posted.m_dKredit)));
        }
    }
    m_dKontosaldo = toKronor(balance);
    changed(FormAspect::Sums);
}

// ---- the grid's hooks ----

bool VoucherFormModel::validateCell(Grid& grid, std::int32_t row, std::int32_t col) {
    m_bRutaOk = 1;
    if (col == kColDebet || col == kColKredit || col == kColMoms) {
        grid.setEditText(withDecimalPoint(grid.text(row, col)));
    }
    if (grid.text(row, kColKonto).empty() && !grid.storedText(row, kColMoms).empty()) {
        grid.setText(row, kColMoms, std::string());
    }
    const auto failure = m_rules.cellFailure(grid, row, col);
    if (!failure || failure->check > 2) {
        // Past the account checks an unusual side is told; it does not stop the text.
        for (const std::string& warning : m_rules.unusualPostings(grid, row)) {
            tell(warning);
        }
    }
    if (failure) {
        m_bRutaOk = 0;
        m_refusal = failure->message;
        grid.scrollTo({row, col});
        tell(failure->message);
        m_focusRequest = VoucherField::Grid;
        return false;
    }
    return true;
}

bool VoucherFormModel::startEditing(Grid&, std::int32_t row, std::int32_t col) {
    // The VAT column is the program's; the pink rows are read-only cells anyway.
    return col != kColMoms && row > m_nRosaRader;
}

void VoucherFormModel::readOnlyCellTouched(Grid&, std::int32_t row, std::int32_t) {
    if (row <= m_nRosaRader) {
        tell(kMsgRosaRaderKanEjAndras);
    }
}

bool VoucherFormModel::mayMoveCurrentCell(Grid& grid, CellPos, CellPos to) {
    const auto refusal = m_rules.moveFailure(grid, to.row, m_nAndradRad, m_bMellanrum);
    if (!refusal) {
        return true;
    }
    for (const std::string& message : refusal->messages) {
        tell(message);
    }
    if (refusal->placeAt) {
        grid.placeCurrentCell(*refusal->placeAt);
        showBalanceOf(refusal->placeAt->row);
    }
    m_focusRequest = VoucherField::Grid;
    return false;
}

void VoucherFormModel::currentCellMoving(Grid&, CellPos, CellPos to) {
    if (to.col == kColKonto) {
        showBalanceOf(to.row);
    }
}

void VoucherFormModel::cellChanged(Grid&, std::int32_t row, std::int32_t col) {
    m_nAndradRad = row;
    recalculate(DateReport::WhenChanged);
    if (col == kColKonto) {
        showBalanceOf(row); // the account just typed: its balance shows at once
    }
}

CellPos VoucherFormModel::nextCell(CellPos from, bool backwards) const {
    // Along a line as a bookkeeper types it: account, line text, debit or
    // credit, then the next line's account. The name fills itself in.
    if (backwards) {
        switch (from.col) {
        case kColKonto:
            return from.row > 1 ? CellPos{from.row - 1, kColKredit} : from;
        case kColKontonamn:
        case kColRadtext:
            return {from.row, kColKonto};
        default:
            return {from.row, from.col - 1};
        }
    }
    switch (from.col) {
    case kColKonto:
    case kColKontonamn:
        return {from.row, kColRadtext};
    case kColRadtext:
        // A line whose amount is there (a VAT line) goes to it.
        return m_grid.text(from.row, kColDebet).empty() && !m_grid.text(from.row, kColKredit).empty()
                   ? CellPos{from.row, kColKredit}
                   : CellPos{from.row, kColDebet};
    case kColDebet:
        return m_grid.text(from.row, kColDebet).empty() ? CellPos{from.row, kColKredit}
                                                        : CellPos{from.row + 1, kColKonto};
    default:
        return {from.row + 1, kColKonto};
    }
}

bool VoucherFormModel::keyDown(Grid& grid, const GridKey& key) {
    if (key.code == GridKeyCode::Divide && key.alt && key.keypad) {
        vatLine();
        return true;
    }
    if ((key.code == GridKeyCode::Tab || key.code == GridKeyCode::Enter) && !key.ctrl && !key.alt) {
        const CellPos target = nextCell(grid.currentCell(), key.shift);
        if (target.row > kVoucherRows) {
            grid.endEdit();
        } else if (grid.moveCurrentCell(target)) {
            grid.clearSelection();
        }
        return true;
    }
    return false;
}

bool VoucherFormModel::cut(Grid& grid) {
    return copy(grid); // a cut copies first: pink rows are refused alike
}

bool VoucherFormModel::copy(Grid& grid) {
    const std::int32_t first = grid.selection().empty() ? grid.currentCell().row : grid.firstSelectedRow();
    if (first <= m_nRosaRader) {
        tell(kMsgRosaRaderKopieras);
        return false;
    }
    return true;
}

} // namespace kv
