#include "voucher/VatRulesModel.h"

#include "chart/ChartLayout.h"
#include "chart/ChartTemplates.h"
#include "chart/TypedText.h"
#include "model/Amount.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace kv {

namespace {

constexpr std::array<const char*, kVatColumns> kVatColumnTitles{
    "Moms %", "dras från", "konto deb", "konto kre", "till", "konto deb", "konto kre", "Kommentar"};
constexpr std::array<std::int32_t, kVatColumns + 1> kVatColumnWidths{26, 55, 65, 65, 65, 35, 65, 65, 220};
constexpr const char* kExampleLine =
    "(3000 Försäljn, 2930 Momsskuld)    Exempel    (4000 Inköp, 1717 Momsfordran)";
constexpr const char* kExampleFont = "Times New Roman";
constexpr const char* kForeningComment = "Föreningsmall";
constexpr std::int32_t kFirstExampleRow = 55;
// The rows that the template defaults clear, and that the duplicate checks look at.
constexpr std::int32_t kMainRuleRows = 14;

constexpr const char* kMsgGeEttHeltal = "Ge ett heltal";
constexpr const char* kMsgKontotFinnsInte = "Kontot finns inte";
constexpr const char* kMsgFinnsIDebet = "Kontot finns redan i debetkolumnen";
constexpr const char* kMsgFinnsIKredit = "Kontot finns redan i kreditkolumnen";
constexpr const char* kMsgFelaktigMomssats = "Felaktig momssats";
constexpr const char* kMsgSammaKonto = "Samma konto";
constexpr const char* kMsgResultatEjGodkand =
    "Resultaträknigen är ej ännu godkännd. Gå till Kontoplan-Resultaträkning";
constexpr const char* kMsgBalansEjGodkand =
    "Balansräkningen är ej ännu godkännd. Gå till Kontoplan-Balansräkning";
constexpr const char* kMsgResultatkontot = "Resultatkontot kan ej användas";

struct DefaultRule {
    std::int32_t row;
    const char* rate;
    const char* swedishRate;
    bool creditSide;
    std::int32_t account;
    std::int32_t vatAccount;
    const char* comment;
    const char* swedishComment;
};

constexpr std::array<DefaultRule, 11> kDefaultRules{{
    {1, "22,00", "25,00", true, 3000, 2930, "Försäljning moms 22%", "Försäljning moms 25%"},
    {2, "17,00", "12,00", true, 3001, 2931, "Försäljning moms 17%", "Försäljning moms 12%"},
    {3, "8,00", "6,00", true, 3065, 2932, "Försäljning moms 8%", "Försäljning moms 6%"},
    {4, "22,00", "25,00", false, 4000, 1717, "Inköp moms 22%", "Inköp moms 25%"},
    {5, "17,00", "12,00", false, 4001, 1718, "Inköp moms 17%", "Inköp moms 12%"},
    {6, "8,00", "6,00", false, 4065, 1719, "Inköp moms 8%", "Inköp moms 6%"},
    {7, "22,00", "25,00", false, 6605, 1717, "Värme 22%", "Värme moms 25%"},
    {8, "22,00", "25,00", false, 6607, 1717, "Vatten 22%", "Vatten moms 25%"},
    {9, "22,00", "25,00", false, 6615, 1717, "El 22%", "El moms 25%"},
    {10, "22,00", "25,00", false, 6800, 1717, "Telefon 22%", "Telefon moms 25%"},
    {11, "22,00", "25,00", false, 6850, 1717, "Kontorsmaterial 22%", "Kontorsmaterial moms 25%"},
}};

bool isAccountColumn(std::int32_t col) {
    return col == kVatColDebet || col == kVatColKredit || col == kVatColDebetMoms || col == kVatColKreditMoms;
}

// A rate as typed: digits with at most one decimal separator, a comma read as a point.
bool isRateText(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    if (text == ".") {
        return false;
    }
    return std::count(text.begin(), text.end(), '.') <= 1 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c == '.' || (c >= '0' && c <= '9'); });
}

std::string formatRate(double rate) {
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%0.2f", rate);
    return buffer.data();
}

} // namespace

VatRulesModel::VatRulesModel(CTallvingeDoc& doc, Prompter& prompter, bool voucherFormOpen)
    : m_doc(doc), m_prompter(prompter), m_pink(voucherFormOpen) {
    m_grid.setHooks(this);
}

bool VatRulesModel::open() {
    m_grid.setColCount(kVatColumns);
    m_grid.setRowCount(kVatGridRows);
    for (std::int32_t col = 0; col <= kVatColumns; ++col) {
        m_grid.setColumnWidth(col, kVatColumnWidths[static_cast<std::size_t>(col)]);
    }
    fillAccountList();
    writeFixedCells();
    if (m_doc.bothChartsApproved()) {
        writeDefaultRules();
    }
    if (!m_doc.state().m_momsregler.empty()) {
        writeStoredRules();
    }
    if (m_doc.state().m_strMallnamn == kMallForening) {
        clearRuleRows(1, kMainRuleRows);
        m_grid.setText(2, kVatColKommentar, kForeningComment);
    }
    if (m_pink) {
        makePink();
    }
    if (m_doc.state().m_momsregler.empty() || m_doc.state().m_nValdMall >= 0) {
        // The template's rules become the company's own, in one change.
        auto change = m_doc.beginChange();
        approve();
        m_doc.forgetChosenTemplate();
        change.commit();
        return true;
    }
    return false;
}

void VatRulesModel::fillAccountList() {
    m_accountList.clear();
    m_accountListNumbers.clear();
    for (const auto& konto : m_doc.state().m_allaKonton) {
        if (konto->m_nKontonr != 0) {
            std::array<char, 16> number{};
            std::snprintf(number.data(), number.size(), "%2d", konto->m_nKontonr);
            m_accountList.push_back(std::string(number.data()) + "  " + konto->m_strKolumn2);
            m_accountListNumbers.push_back(konto->m_nKontonr);
        }
    }
}

void VatRulesModel::writeFixedCells() {
    const auto lock = [this](std::int32_t row, std::int32_t col) {
        CellStyle style = m_grid.style(row, col);
        style.readOnly = true;
        m_grid.setStyle(row, col, style);
    };
    for (std::int32_t col = 1; col <= kVatColumns; ++col) {
        m_grid.setText(0, col, kVatColumnTitles[static_cast<std::size_t>(col - 1)]);
    }
    for (std::int32_t row = 1; row <= kVatGridRows; ++row) {
        if (row != kFirstExampleRow) {
            m_grid.setText(row, kVatColDrasFran, kWordDrasFran);
            m_grid.setText(row, kVatColTill, kWordTill);
        }
        lock(row, kVatColDrasFran);
        lock(row, kVatColTill);
    }
    m_grid.setText(kFirstExampleRow, 1, kExampleLine);
    CellStyle exampleStyle = m_grid.style(kFirstExampleRow, 1);
    exampleStyle.fontFace = kExampleFont;
    m_grid.setStyle(kFirstExampleRow, 1, exampleStyle);
    writeRule(kFirstExampleRow + 1, "22,00", true, 3000, 2930, "Försäljning moms 22%");
    writeRule(kFirstExampleRow + 2, "22,00", false, 4000, 1717, "Inköp moms 22%");
    for (std::int32_t row = kFirstExampleRow; row <= kVatGridRows; ++row) {
        for (std::int32_t col = 1; col <= kVatColumns; ++col) {
            lock(row, col);
        }
    }
}

void VatRulesModel::writeRule(std::int32_t row, const char* rate, bool creditSide, std::int32_t account,
                              std::int32_t vatAccount, const std::string& comment) {
    m_grid.setText(row, kVatColSats, rate);
    m_grid.setText(row, creditSide ? kVatColKredit : kVatColDebet, std::to_string(account));
    m_grid.setText(row, creditSide ? kVatColKreditMoms : kVatColDebetMoms, std::to_string(vatAccount));
    m_grid.setText(row, kVatColKommentar, comment);
}

void VatRulesModel::clearRuleRows(std::int32_t first, std::int32_t last) {
    for (std::int32_t row = first; row <= last; ++row) {
        for (const std::int32_t col : {kVatColSats, kVatColDebet, kVatColKredit, kVatColDebetMoms,
                                       kVatColKreditMoms, kVatColKommentar}) {
            m_grid.setText(row, col, std::string());
        }
    }
}

void VatRulesModel::writeDefaultRules() {
    const bool swedish = m_doc.state().m_strMallnamn == kMallRikssvensk;
    for (const DefaultRule& rule : kDefaultRules) {
        writeRule(rule.row, swedish ? rule.swedishRate : rule.rate, rule.creditSide, rule.account,
                  rule.vatAccount, swedish ? rule.swedishComment : rule.comment);
    }
    if (m_doc.state().m_strMallnamn == kMallBaskonto) {
        clearRuleRows(1, kMainRuleRows);
        for (const std::int32_t row : {1, 26}) {
            writeRule(row, "25,00", true, 3010, 2610, "Försäljning moms 25%");
            writeRule(row + 1, "25,00", false, 4010, 1650, "Inköp moms 25%");
        }
    }
}

void VatRulesModel::writeStoredRules() {
    clearRuleRows(1, kVatRuleRows);
    const auto shown = std::min<std::size_t>(m_doc.state().m_momsregler.size(), kVatRuleRows);
    for (std::size_t k = 0; k < shown; ++k) {
        const CAutomoms& rule = m_doc.state().m_momsregler[k];
        const auto row = static_cast<std::int32_t>(k) + 1;
        if (rule.m_dMomssats > 0) {
            m_grid.setText(row, kVatColSats, formatRate(rule.m_dMomssats));
        }
        const std::array<std::pair<std::int32_t, std::int32_t>, 4> accounts{
            {{kVatColDebet, rule.m_nDebetkonto},
             {kVatColKredit, rule.m_nKreditkonto},
             {kVatColDebetMoms, rule.m_nDebetMomskonto},
             {kVatColKreditMoms, rule.m_nKreditMomskonto}}};
        for (const auto& [col, number] : accounts) {
            if (number <= 0) {
                continue;
            }
            if (m_doc.hasAccount(number)) {
                m_grid.setText(row, col, std::to_string(number));
            } else {
                m_prompter.say(MessageKind::Failure, "Konto nr " + std::to_string(number) + " borttaget");
            }
        }
        m_grid.setText(row, kVatColKommentar, rule.m_strKommentar);
    }
}

void VatRulesModel::makePink() {
    m_grid.changeStyle(CellRange{1, 1, kVatGridRows, kVatColumns},
                       [](CellStyle& style) { style.background = kPinkRules; });
}

std::string VatRulesModel::cellFailure(std::int32_t row, std::int32_t col, const std::string& text) const {
    if (const auto unstorable = unstorableTextMessage(text)) {
        return *unstorable;
    }
    const bool accountColumn = isAccountColumn(col);
    if (accountColumn && !onlyDigits(text)) {
        return kMsgGeEttHeltal;
    }
    if (accountColumn && !m_doc.hasAccount(readWholeNumber(text))) {
        return kMsgKontotFinnsInte;
    }
    for (const auto& [column, message] :
         {std::pair{kVatColDebet, kMsgFinnsIDebet}, std::pair{kVatColKredit, kMsgFinnsIKredit}}) {
        if (col != column || text.empty()) {
            continue;
        }
        for (std::int32_t other = 1; other <= kMainRuleRows; ++other) {
            if (other != row && m_grid.storedText(other, column) == text) {
                return message;
            }
        }
    }
    if (col == kVatColSats && !isRateText(text)) {
        return kMsgFelaktigMomssats;
    }
    if (accountColumn && !text.empty()) {
        for (const std::int32_t other : {kVatColDebet, kVatColKredit, kVatColDebetMoms, kVatColKreditMoms}) {
            if (other != col && m_grid.storedText(row, other) == text) {
                return kMsgSammaKonto;
            }
        }
    }
    if (!m_doc.incomeChartApproved()) {
        return kMsgResultatEjGodkand;
    }
    if (!m_doc.balanceChartApproved()) {
        return kMsgBalansEjGodkand;
    }
    // The result account holds only the period's result; no VAT may be moved
    // to or from it: "2090" wherever it is typed, and the chart's own result
    // account when it is another.
    if (text == kDefaultResultAccount) {
        return kMsgResultatkontot;
    }
    std::int32_t resultAccount = 0;
    if (accountColumn && !text.empty() && m_doc.resultAccountNumber(resultAccount) && resultAccount > 0 &&
        readWholeNumber(text) == resultAccount) {
        return kMsgResultatkontot;
    }
    return {};
}

bool VatRulesModel::validateCell(Grid& grid, std::int32_t row, std::int32_t col) {
    const std::string failure = cellFailure(row, col, grid.text(row, col));
    if (failure.empty()) {
        return true;
    }
    grid.scrollTo({row, col});
    m_prompter.message(failure);
    return false;
}

void VatRulesModel::currentCellMoving(Grid& grid, CellPos, CellPos to) {
    const std::string& text = grid.text(to.row, to.col);
    if (!isAccountColumn(to.col) || text.empty() || !onlyDigits(text)) {
        return;
    }
    const std::int32_t number = readWholeNumber(text);
    const auto found = std::find(m_accountListNumbers.begin(), m_accountListNumbers.end(), number);
    if (found != m_accountListNumbers.end()) {
        m_selectedLine = static_cast<std::size_t>(found - m_accountListNumbers.begin());
    }
}

bool VatRulesModel::paste(Grid&) {
    m_prompter.message(kMsgGarEjKlistraIn);
    return false;
}

bool VatRulesModel::rowWellFilled(std::int32_t row) const {
    const auto filled = [this, row](std::int32_t col) { return !m_grid.storedText(row, col).empty(); };
    const bool rate = filled(kVatColSats);
    const bool debit = filled(kVatColDebet);
    const bool credit = filled(kVatColKredit);
    const bool debitVat = filled(kVatColDebetMoms);
    const bool creditVat = filled(kVatColKreditMoms);
    const bool empty = !rate && !debit && !credit && !debitVat && !creditVat;
    const bool debitRule = rate && debit && debitVat && !credit && !creditVat;
    const bool creditRule = rate && credit && creditVat && !debit && !debitVat;
    return empty || debitRule || creditRule;
}

bool VatRulesModel::approve() {
    if (m_grid.isEditing() && !m_grid.endEdit()) {
        return false;
    }
    if (!m_doc.bothChartsApproved()) {
        m_prompter.message(kMsgBadaGodkanda);
        return false;
    }
    bool allWell = true;
    for (std::int32_t row = 1; row <= kVatRuleRows; ++row) {
        if (!rowWellFilled(row)) {
            m_prompter.message("Rad " + std::to_string(row) + " är felaktigt ifylld");
            allWell = false;
        }
    }
    if (!allWell) {
        return false;
    }
    std::vector<CAutomoms> rules;
    for (std::int32_t row = 1; row <= kVatRuleRows; ++row) {
        CAutomoms rule;
        rule.m_dMomssats = parseTypedAmount(m_grid.storedText(row, kVatColSats)).value_or(0.0);
        rule.m_nDebetkonto = readWholeNumber(m_grid.storedText(row, kVatColDebet));
        rule.m_nKreditkonto = readWholeNumber(m_grid.storedText(row, kVatColKredit));
        rule.m_nDebetMomskonto = readWholeNumber(m_grid.storedText(row, kVatColDebetMoms));
        rule.m_nKreditMomskonto = readWholeNumber(m_grid.storedText(row, kVatColKreditMoms));
        rule.m_strKommentar = m_grid.storedText(row, kVatColKommentar);
        rules.push_back(std::move(rule));
    }
    m_doc.setVatRules(std::move(rules));
    return true;
}

} // namespace kv
