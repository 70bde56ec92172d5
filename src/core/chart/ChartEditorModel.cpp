#include "chart/ChartEditorModel.h"

#include "chart/ChartTemplates.h"

#include <algorithm>

namespace kv {

namespace {

// Where "Ta bort rad" puts the empty rows that keep the end-marker row down.
constexpr std::int32_t kFloorInsertRow = 132;

} // namespace

ChartEditorModel::ChartEditorModel(CTallvingeDoc& doc, Prompter& prompter, ChartKind kind,
                                   const CKontoplan* userTemplate)
    : m_doc(doc), m_prompter(prompter), m_kind(kind), m_userTemplate(userTemplate),
      m_rules(doc, prompter, kind) {
    m_grid.setHooks(&m_rules);
}

const char* ChartEditorModel::title() const {
    return m_kind == ChartKind::Income ? kTitleResultatplan : kTitleBalansplan;
}

bool ChartEditorModel::onlyUsedAccounts() const {
    return m_doc.state().m_nEndastAnvanda != 0;
}

void ChartEditorModel::setOnlyUsedAccounts(bool on) {
    m_doc.setOnlyUsedAccounts(on);
}

void ChartEditorModel::open() {
    const bool income = m_kind == ChartKind::Income;
    m_grid.setColCount(kChartColumns);
    setOnlyUsedAccounts(false);
    fillAccountList();

    const auto stored = static_cast<std::int32_t>(income ? m_doc.state().m_resNummer.size()
                                                         : m_doc.state().m_balNummer.size());
    std::int32_t endMarker = income ? kIncomeEndMarkerRow : kBalanceEndMarkerRow;
    if (stored > (income ? kIncomeStoredRowsAbove : kBalanceStoredRowsAbove)) {
        endMarker = stored;
    }
    m_grid.setRowCount(endMarker + (income ? 11 : 10));
    for (std::int32_t col = 0; col <= kChartColumns; ++col) {
        m_grid.setColumnWidth(col, kChartColumnWidths[static_cast<std::size_t>(col)]);
    }

    if (stored == 0) {
        fillBuiltInTemplate(m_grid, m_doc.state().m_strMallnamn, m_kind, 0);
        if (income) {
            m_grid.setText(endMarker - 1, kColNamn, kDefaultResultAccount);
        }
    }
    if (m_doc.state().m_nValdMall >= 0 && m_userTemplate != nullptr) {
        fillFromUserTemplate(*m_userTemplate);
    } else {
        fillStoredRows(); // the company's own rows, also when the template is not at hand
    }

    writeTitles();
    if (income) {
        writeIncomeFixedRows(endMarker);
    } else {
        writeBalanceFixedRows(endMarker);
    }
    writeEndRows(endMarker);
}

void ChartEditorModel::fillStoredRows() {
    const bool income = m_kind == ChartKind::Income;
    const std::size_t first = income ? 0 : m_doc.state().m_resNummer.size();
    const std::size_t count = income ? m_doc.state().m_resNummer.size() : m_doc.state().m_balNummer.size();
    for (std::size_t k = 0; k < count && first + k < m_doc.state().m_allaKonton.size(); ++k) {
        const CKonto& konto = *m_doc.state().m_allaKonton[first + k];
        const auto row = static_cast<std::int32_t>(k) + 1;
        if (row > m_grid.rowCount()) {
            break;
        }
        writeChartRow(row, konto);
        const bool inVatRule = m_rules.inVatRule(konto.m_nKontonr);
        if (konto.m_nAnvands != 0) {
            m_grid.setText(row, kColAnvands, kInUseMark);
        } else if (income && inVatRule) {
            m_grid.setText(row, kColAnvands, kVatRuleMark);
        }
        if (konto.m_nAnvands != 0 || inVatRule) {
            lockCell(row, kColKontonr);
        }
    }
}

void ChartEditorModel::writeChartRow(std::int32_t row, const CKonto& konto) {
    if (konto.m_nKontonr != 0) {
        m_grid.setText(row, kColKontonr, std::to_string(konto.m_nKontonr));
    }
    m_grid.setText(row, kColNamn, konto.m_strKolumn2);
    m_grid.setText(row, kColGrupp, konto.m_strKolumn3);
    m_grid.setText(row, kColDelsumma, konto.m_strKolumn4);
    m_grid.setText(row, kColTotalsumma, konto.m_strKolumn5);
}

void ChartEditorModel::fillFromUserTemplate(const CKontoplan& mall) {
    const bool income = m_kind == ChartKind::Income;
    const std::size_t first = income ? 0 : m_doc.state().m_resNummer.size();
    const std::size_t end =
        income ? std::min(m_doc.state().m_resNummer.size(), mall.m_konton.size()) : mall.m_konton.size();
    for (std::size_t k = first; k < end; ++k) {
        const CKonto& konto = *mall.m_konton[k];
        const auto row = static_cast<std::int32_t>(k - first) + 1;
        if (row > m_grid.rowCount()) {
            break;
        }
        writeChartRow(row, konto);
    }
}

void ChartEditorModel::lockCell(std::int32_t row, std::int32_t col) {
    CellStyle style = m_grid.style(row, col);
    style.readOnly = true;
    style.background = kShadedRow;
    m_grid.setStyle(row, col, style);
}

void ChartEditorModel::lockRow(std::int32_t row) {
    for (std::int32_t col = 1; col <= kChartColumns; ++col) {
        lockCell(row, col);
    }
}

void ChartEditorModel::setFixed(std::int32_t row, std::int32_t col, const std::string& text) {
    if (row < 0 || row > m_grid.rowCount()) {
        return;
    }
    m_grid.setText(row, col, text);
    CellStyle style = m_grid.style(row, col);
    style.fontFace = kFixedTextFont;
    m_grid.setStyle(row, col, style);
}

void ChartEditorModel::writeTitles() {
    const auto& titles = m_kind == ChartKind::Income ? kIncomeColumnTitles : kBalanceColumnTitles;
    for (std::int32_t col = 1; col <= kChartColumns; ++col) {
        setFixed(0, col, titles[static_cast<std::size_t>(col - 1)]);
    }
}

void ChartEditorModel::writeIncomeFixedRows(std::int32_t endMarker) {
    setFixed(endMarker - 3, kColNamn, kDenHarPerioden);
    setFixed(endMarker - 2, kColNamn, kSattesIPassiva);
    setFixed(endMarker - 1, kColAnvands, kResultMark);
    lockRow(endMarker - 3);
    lockRow(endMarker - 2);
    // The result account stays editable: it is the one setting of these rows.
    for (const std::int32_t col : {kColKontonr, kColGrupp, kColDelsumma, kColTotalsumma, kColAnvands}) {
        lockCell(endMarker - 1, col);
    }
}

std::optional<std::int32_t> ChartEditorModel::findTotalRow(const char* name, const char* code) const {
    const std::int32_t endMarker = endMarkerRow();
    for (std::int32_t row = 1; row < endMarker; ++row) {
        if (m_grid.storedText(row, kColNamn) == name && m_grid.storedText(row, kColTotalsumma) == code) {
            return row;
        }
    }
    return std::nullopt;
}

std::optional<std::int32_t> ChartEditorModel::assetsTotalRow() const {
    return findTotalRow(kSaAktiva, "a");
}

std::optional<std::int32_t> ChartEditorModel::liabilitiesTotalRow() const {
    return findTotalRow(kSaPassiva, "p");
}

void ChartEditorModel::writeBalanceFixedRows(std::int32_t endMarker) {
    setFixed(1, kColNamn, kAktivaHeading);
    lockRow(1);
    if (const auto assets = assetsTotalRow(); assets && *assets + 5 < endMarker) {
        const std::int32_t a = *assets;
        lockRow(a);
        setFixed(a + 2, kColNamn, kForraPerioden);
        setFixed(a + 3, kColNamn, kVinstInsattPa);
        if (m_doc.state().m_balNummer.empty()) {
            m_grid.setText(a + 4, kColNamn, kDefaultCarriedAccount);
        }
        setFixed(a + 5, kColNamn, kPassivaHeading);
        lockRow(a + 2);
        lockRow(a + 3);
        for (const std::int32_t col : {kColKontonr, kColGrupp, kColDelsumma, kColTotalsumma, kColAnvands}) {
            lockCell(a + 4, col);
        }
        lockRow(a + 5);
        highlightAccount(readWholeNumber(m_grid.storedText(a + 4, kColNamn)), kCarriedProfitHighlight);
    }
    if (const auto liabilities = liabilitiesTotalRow()) {
        lockRow(*liabilities);
    }
    std::int32_t resultAccount = 0;
    if (m_doc.incomeChartApproved() && m_doc.resultAccountNumber(resultAccount)) {
        highlightAccount(resultAccount, kResultAccountHighlight);
    }
}

void ChartEditorModel::highlightAccount(std::int32_t number, Rgb colour) {
    if (number <= 0) {
        return;
    }
    const std::int32_t endMarker = endMarkerRow();
    for (std::int32_t row = 1; row < endMarker; ++row) {
        if (m_grid.storedText(row, kColKontonr) == std::to_string(number)) {
            for (const std::int32_t col : {kColKontonr, kColNamn}) {
                CellStyle style = m_grid.style(row, col);
                style.background = colour;
                m_grid.setStyle(row, col, style);
            }
            return;
        }
    }
}

void ChartEditorModel::writeEndRows(std::int32_t endMarker) {
    const bool income = m_kind == ChartKind::Income;
    setFixed(endMarker, kColKontonr, kEndMarker);
    setFixed(endMarker + 1, kColKontonr, kKontrollera);
    setFixed(endMarker + 3, kColKontonr, kHelpGrupp);
    setFixed(endMarker + 5, kColKontonr, kHelpDelsumma);
    setFixed(endMarker + 7, kColKontonr, income ? kHelpTotalIncome : kHelpTotalBalance);
    setFixed(endMarker + (income ? 10 : 9), kColKontonr, kHelpAnvands);
    for (std::int32_t row = endMarker; row <= m_grid.rowCount(); ++row) {
        lockRow(row);
    }
}

void ChartEditorModel::fillAccountList() {
    m_accountList.clear();
    const std::size_t incomeRows =
        std::min(m_doc.state().m_resNummer.size(), m_doc.state().m_allaKonton.size());
    if (incomeRows > 0) {
        m_accountList.emplace_back(kListHeadingResultat);
        m_accountList.emplace_back();
    }
    for (std::size_t i = 0; i < m_doc.state().m_allaKonton.size(); ++i) {
        if (i == incomeRows) {
            m_accountList.emplace_back();
            m_accountList.emplace_back(kListHeadingBalans);
            m_accountList.emplace_back();
        }
        const CKonto& konto = *m_doc.state().m_allaKonton[i];
        if (konto.m_nKontonr > 999) {
            m_accountList.push_back(std::to_string(konto.m_nKontonr) + "  " + konto.m_strKolumn2);
        }
    }
}

void ChartEditorModel::insertRow() {
    // Without a marked row there is no place to insert at: the user is told
    // so, as "Ta bort rad" tells, rather than sent to the end of the chart.
    if (m_grid.selection().empty()) {
        m_prompter.message(kMsgValjRad);
        return;
    }
    const bool income = m_kind == ChartKind::Income;
    const std::int32_t position = std::max(m_grid.firstSelectedRow(), 1);
    const std::int32_t endMarker = endMarkerRow();
    bool allowed = false;
    if (income) {
        allowed = position <= endMarker - 3;
    } else {
        const auto assets = assetsTotalRow();
        const bool fixedRow = assets && position >= *assets + 2 && position <= *assets + 4;
        allowed = position > 1 && position <= endMarker &&
                  m_grid.storedText(position, kColNamn) != kPassivaHeading && !fixedRow;
    }
    if (allowed) {
        m_grid.rememberForUndo();
        m_grid.insertRows(position, 1);
    }
    m_grid.scrollTo({std::min(position + 1, m_grid.rowCount()), kColNamn});
}

void ChartEditorModel::deleteRows() {
    if (m_grid.selection().empty()) {
        m_prompter.message(kMsgValjRad);
        return;
    }
    std::vector<std::int32_t> rows = selectedRows(m_grid);
    if (rows.empty()) {
        return;
    }
    bool filled = false;
    bool vatAccount = false;
    for (const std::int32_t row : rows) {
        for (std::int32_t col = 1; col <= kChartColumns; ++col) {
            filled = filled || !m_grid.storedText(row, col).empty();
        }
        vatAccount = vatAccount || m_rules.inVatRule(readWholeNumber(m_grid.storedText(row, kColKontonr)));
    }
    if (filled) {
        m_prompter.message(kMsgRadernaMasteVaraTomma);
        if (m_kind == ChartKind::Income && vatAccount) {
            m_prompter.message(kMsgMomsLasning);
        }
        return;
    }
    const std::int32_t endMarker = endMarkerRow();
    if (rows.back() >= endMarker - 4) {
        return;
    }
    const auto selected = static_cast<std::int32_t>(rows.size());
    std::int32_t padding = 0;
    if (m_kind == ChartKind::Balance) {
        padding = std::max(0, selected - endMarker + 136);
    } else if (selected - endMarker + 136 >= 0) {
        padding = selected - endMarker + 137;
    }
    m_grid.rememberForUndo();
    if (padding > 0) {
        m_grid.insertRows(kFloorInsertRow, padding);
        // The selected rows keep their identity: those below the new rows moved down.
        for (std::int32_t& row : rows) {
            row += row >= kFloorInsertRow ? padding : 0;
        }
    }
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        m_grid.removeRows(*row, *row);
    }
    m_grid.clearSelection();
}

bool ChartEditorModel::undo() {
    return m_grid.undo();
}

std::vector<ChartRowTexts> ChartEditorModel::chartRows() const {
    std::vector<ChartRowTexts> rows;
    const std::int32_t endMarker = std::min(endMarkerRow(), m_grid.rowCount());
    for (std::int32_t row = 1; row <= endMarker; ++row) {
        ChartRowTexts texts;
        for (std::int32_t col = 1; col <= kChartColumns; ++col) {
            texts[static_cast<std::size_t>(col - 1)] = m_grid.storedText(row, col);
        }
        rows.push_back(std::move(texts));
    }
    return rows;
}

} // namespace kv
