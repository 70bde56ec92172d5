#include "chart/CKontoplanGrid.h"

#include "chart/TypedText.h"

#include <algorithm>

namespace kv {

namespace {

std::int32_t numberIn(const std::string& text) {
    return !text.empty() && onlyDigits(text) ? readWholeNumber(text) : 0;
}

} // namespace

std::string inUseEditMessage(std::int32_t number) {
    return "Kontot  " + std::to_string(number) + "   är i användnig och går ej att ändra  eller ta bort.";
}

std::string vatRuleEditMessage(std::int32_t number) {
    return "Kontot  " + std::to_string(number) +
           "   används i den automatiska momsberäkningen. Gå först till  'Moms-Sätt moms'  och tag bort det "
           "därifrån "
           "om du vill ändra eller ta bort det.";
}

std::int32_t findEndMarkerRow(const Grid& grid) {
    for (std::int32_t row = 1; row <= grid.rowCount(); ++row) {
        if (grid.storedText(row, kColKontonr) == kEndMarker) {
            return row;
        }
    }
    return grid.rowCount() + 1;
}

std::vector<std::int32_t> selectedRows(const Grid& grid) {
    std::vector<std::int32_t> rows;
    for (const CellRange& range : grid.selection()) {
        for (std::int32_t row = std::max(1, range.top); row <= std::min(range.bottom, grid.rowCount());
             ++row) {
            rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

CKontoplanGrid::CKontoplanGrid(CTallvingeDoc& doc, Prompter& prompter, ChartKind kind)
    : m_doc(doc), m_prompter(prompter), m_kind(kind) {}

bool CKontoplanGrid::inUse(std::int32_t number) const {
    return number > 0 && std::any_of(m_doc.state().m_allaKonton.begin(), m_doc.state().m_allaKonton.end(),
                                     [number](const auto& konto) {
                                         return konto->m_nKontonr == number && konto->m_nAnvands != 0;
                                     });
}

bool CKontoplanGrid::inVatRule(std::int32_t number) const {
    return number > 0 && std::any_of(m_doc.state().m_momsregler.begin(), m_doc.state().m_momsregler.end(),
                                     [number](const CAutomoms& rule) { return rule.namesAccount(number); });
}

bool CKontoplanGrid::takenByOtherChart(std::int32_t number) const {
    if (number <= 0) {
        return false;
    }
    return m_kind == ChartKind::Balance ? m_doc.inResNummer(number) : m_doc.inBalNummer(number);
}

bool CKontoplanGrid::resultAccountAllowed(const std::string& text) const {
    const std::int32_t number = readWholeNumber(text);
    if (text.empty() || number <= 0) {
        return false;
    }
    if (m_doc.state().m_balKonton.empty()) {
        return true;
    }
    const auto assets = std::find_if(m_doc.state().m_balKonton.begin(), m_doc.state().m_balKonton.end(),
                                     [](const CKonto* konto) { return konto->m_strKolumn5 == "a"; });
    return std::any_of(assets, m_doc.state().m_balKonton.end(),
                       [number](const CKonto* konto) { return konto->m_nKontonr == number; });
}

std::string CKontoplanGrid::delsummaFailure(const Grid& grid, std::int32_t row,
                                            const std::string& text) const {
    std::string missing;
    for (const std::string& group : utf8Characters(text)) {
        bool found = false;
        for (std::int32_t above = 1; above <= row && !found; ++above) {
            found = grid.text(above, kColGrupp) == group;
        }
        if (!found) {
            missing += group;
        }
    }
    return missing.empty() ? std::string() : "Gruppen (" + missing + ") existerar inte ovanför denna rad ! ";
}

std::string CKontoplanGrid::validationFailure(const Grid& grid, std::int32_t row, std::int32_t col,
                                              const std::string& text) const {
    if (const auto unstorable = unstorableTextMessage(text)) {
        return *unstorable;
    }
    const std::vector<std::string> characters = utf8Characters(text);
    if (col == kColGrupp && !text.empty() && (characters.size() != 1 || hasBlank(text))) {
        return kMsgEnSiffraEllerBokstav;
    }
    if (col == kColKontonr && (text == "." || !onlyDigits(text))) {
        return kMsgGeSiffervarde;
    }
    if (col == kColDelsumma && hasBlank(text)) {
        return kMsgTaBortMellanslaget;
    }
    if (col == kColDelsumma) {
        std::vector<std::string> sorted = characters;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
            return kMsgDubbelGrupp;
        }
    }
    if ((col == kColAnvands || col == kColTotalsumma) && hasBlank(text)) {
        return kMsgTaBortMellanslaget;
    }
    if (col == kColNamn && !text.empty() && text.find_first_not_of(" \t") == std::string::npos) {
        return kMsgTaBortMellanslaget;
    }
    if (col == kColDelsumma) {
        if (std::string failure = delsummaFailure(grid, row, text); !failure.empty()) {
            return failure;
        }
    }
    if (col == kColKontonr && takenByOtherChart(numberIn(text))) {
        return kMsgKontonumretUpptaget;
    }
    if (m_kind == ChartKind::Income && col == kColNamn && row == findEndMarkerRow(grid) - 1 &&
        !resultAccountAllowed(text)) {
        return kMsgFinnsInteIPassiva;
    }
    return {};
}

bool CKontoplanGrid::validateCell(Grid& grid, std::int32_t row, std::int32_t col) {
    const std::string failure = validationFailure(grid, row, col, grid.text(row, col));
    if (failure.empty()) {
        return true;
    }
    grid.scrollTo({row, col});
    m_prompter.message(failure);
    return false;
}

bool CKontoplanGrid::refuseLockedNumber(const std::string& text) {
    const std::int32_t number = numberIn(text);
    if (inUse(number)) {
        m_prompter.message(inUseEditMessage(number));
        return true;
    }
    if (inVatRule(number)) {
        m_prompter.message(vatRuleEditMessage(number));
        return true;
    }
    return false;
}

bool CKontoplanGrid::startEditing(Grid& grid, std::int32_t row, std::int32_t col) {
    return col != kColKontonr || !refuseLockedNumber(grid.storedText(row, col));
}

void CKontoplanGrid::readOnlyCellTouched(Grid& grid, std::int32_t row, std::int32_t col) {
    if (col == kColKontonr) {
        refuseLockedNumber(grid.storedText(row, col));
    }
}

void CKontoplanGrid::checkLeftRow(Grid& grid, std::int32_t row, bool toAnotherRow) {
    if (takenByOtherChart(readWholeNumber(grid.text(row, kColKontonr)))) {
        m_prompter.message(kMsgFinnsRedan);
        grid.setText(row, kColKontonr, std::string());
    }
    if (!toAnotherRow) {
        return;
    }
    const std::string& number = grid.text(row, kColKontonr);
    const std::string& name = grid.text(row, kColNamn);
    const std::string& group = grid.text(row, kColGrupp);
    const std::string& delsumma = grid.text(row, kColDelsumma);
    if (!number.empty() && number != kEndMarker) {
        if (name.empty()) {
            m_prompter.message(kMsgKontonamnSaknas);
        } else if (group.empty() && delsumma.empty()) {
            m_prompter.message(kMsgKontogruppSaknas);
        }
    } else if (!group.empty() && (name.empty() || number.empty())) {
        m_prompter.message(kMsgKontonrKontonamnSaknas);
    } else if (!delsumma.empty() && name.empty() && number.empty()) {
        m_prompter.message(kMsgRubrikSaknas);
    }
}

void CKontoplanGrid::currentCellMoving(Grid& grid, CellPos from, CellPos to) {
    const std::int32_t endMarker = findEndMarkerRow(grid);
    // Only rows of the chart are checked; the help lines below it are not rows of a chart.
    if (to.row < endMarker && from.row >= 1 && from.row < endMarker) {
        checkLeftRow(grid, from.row, to.row != from.row);
    }
}

bool CKontoplanGrid::keyDown(Grid& grid, const GridKey& key) {
    const CellPos current = grid.currentCell();
    if (key.code != GridKeyCode::Delete || grid.isEditing() || current.col != kColKontonr) {
        return false;
    }
    const std::int32_t number = numberIn(grid.text(current.row, current.col));
    if (inUse(number)) {
        m_prompter.message(kMsgKanEjTasBort);
        return true;
    }
    if (inVatRule(number)) {
        m_prompter.message(kMsgMomsLasning);
        return true;
    }
    return false;
}

bool CKontoplanGrid::clearCells(Grid& grid) {
    const CellPos current = grid.currentCell();
    std::vector<std::int32_t> rows = selectedRows(grid);
    if (grid.selection().empty()) {
        rows.push_back(current.row);
    }
    for (const std::int32_t row : rows) {
        if (inUse(numberIn(grid.text(row, kColKontonr)))) {
            m_prompter.message(kMsgKanEjTasBort);
            return false;
        }
    }
    if (current.col == kColKontonr && inVatRule(numberIn(grid.text(current.row, current.col)))) {
        m_prompter.message(kMsgMomsLasning);
        return false;
    }
    return true;
}

bool CKontoplanGrid::cut(Grid& grid) {
    const CellPos current = grid.currentCell();
    std::vector<std::int32_t> rows = selectedRows(grid);
    if (grid.selection().empty()) {
        rows.push_back(current.row);
    }
    if (rows.size() > 1) {
        m_prompter.message(kMsgEnRadKlippas);
        return false;
    }
    const std::int32_t row = rows.front();
    if (row >= findEndMarkerRow(grid)) {
        m_prompter.message(kMsgKopiaVarning);
    }
    const bool numberInUse =
        inUse(numberIn(grid.text(row, kColKontonr))) ||
        (current.col == kColKontonr && inUse(numberIn(grid.text(current.row, current.col))));
    if (numberInUse) {
        m_prompter.message(kMsgKanEjKlippas);
        return false;
    }
    return true;
}

bool CKontoplanGrid::copy(Grid& grid) {
    const std::int32_t first = grid.selection().empty() ? grid.currentCell().row : grid.firstSelectedRow();
    if (first > findEndMarkerRow(grid)) {
        m_prompter.message(kMsgKopiaVarning);
    }
    return true;
}

bool CKontoplanGrid::paste(Grid&) {
    m_prompter.message(kMsgKlistraInEj);
    return false;
}

} // namespace kv
