// "Godkänn kontoplan" of the chart editors: the row check, the group check
// and the approval itself.
#include "chart/ChartEditorModel.h"

#include "chart/TypedText.h"

#include <algorithm>

namespace kv {

namespace {

constexpr const char* kMsgFelaktigtKontonr = "Felaktigt kontonr.";
constexpr const char* kMsgGruppSaknas = "Kontonr / Kontonamn / Grupp saknas";
constexpr const char* kMsgEttTecken = "Endast 1 tecken / grupp. Ej mellanslag.";
constexpr const char* kMsgGruppIDelsumma = "Grupp i delsumma existerar ej";
constexpr const char* kMsgDelsummaKontonummer = "Delsumma kan ej ha kontonummer";
constexpr const char* kMsgDelsummaRubrik = "Delsumma skall ha rubrik";
constexpr const char* kMsgTotalsummaKontonummer = "Totalsumma kan ej ha kontonummer";
constexpr const char* kMsgTotalsummaRubrik = "Totalsumma skall ha rubrik";
constexpr const char* kMsgKorrektKontoIPassiva = "Vinst / Förlust skall in på korrekt konto i passiva";
constexpr const char* kMsgTvaSistaPerioderna = "Endast de 2 sista perioderna kan ändras";
constexpr const char* kMsgGruppCheckFailed = "Delsumma saknas för grupp / Grupp saknas / Fel kontonr";

// How far below a faulty row the grid scrolls, so that the row and the rows under it show.
constexpr std::int32_t kRowCheckScroll = 15;

bool validNumberText(const std::string& number) {
    return number.empty() || (onlyDigits(number) && number.find_first_not_of('0') != std::string::npos);
}

bool groupAbove(const Grid& grid, std::int32_t row, const std::string& group) {
    for (std::int32_t above = 1; above <= row; ++above) {
        if (grid.storedText(above, kColGrupp) == group) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string ChartEditorModel::rowFailure(std::int32_t row) const {
    const std::string& number = m_grid.storedText(row, kColKontonr);
    const std::string& name = m_grid.storedText(row, kColNamn);
    const std::string& group = m_grid.storedText(row, kColGrupp);
    const std::string& delsumma = m_grid.storedText(row, kColDelsumma);
    const std::string& total = m_grid.storedText(row, kColTotalsumma);
    if (!validNumberText(number)) {
        return kMsgFelaktigtKontonr;
    }
    if ((!number.empty() || !group.empty()) && (number.empty() || name.empty() || group.empty())) {
        return kMsgGruppSaknas;
    }
    if (!group.empty() && (utf8Characters(group).size() != 1 || hasBlank(group))) {
        return kMsgEttTecken;
    }
    for (const std::string& character : utf8Characters(delsumma)) {
        if (!groupAbove(m_grid, row, character)) {
            return kMsgGruppIDelsumma;
        }
    }
    if (!delsumma.empty() && !number.empty()) {
        return kMsgDelsummaKontonummer;
    }
    if (!delsumma.empty() && name.empty()) {
        return kMsgDelsummaRubrik;
    }
    if (!total.empty() && !number.empty()) {
        return kMsgTotalsummaKontonummer;
    }
    if (!total.empty() && name.empty()) {
        return kMsgTotalsummaRubrik;
    }
    if (m_kind == ChartKind::Income && row == endMarkerRow() - 1 && !m_rules.resultAccountAllowed(name)) {
        return kMsgKorrektKontoIPassiva;
    }
    if (m_doc.state().m_nAktuellPeriod < static_cast<std::int32_t>(m_doc.state().m_perioder.size()) - 2) {
        return kMsgTvaSistaPerioderna;
    }
    return {};
}

bool ChartEditorModel::rowCheckPasses() {
    const std::int32_t endMarker = endMarkerRow();
    for (std::int32_t row = 1; row < endMarker && row <= m_grid.rowCount(); ++row) {
        if (const std::string failure = rowFailure(row); !failure.empty()) {
            m_prompter.message(failure);
            m_prompter.message("Rad " + std::to_string(row) + ".är ej korrekt");
            m_grid.scrollTo({std::min(row + kRowCheckScroll, m_grid.rowCount()), kColKontonr});
            return false;
        }
    }
    return true;
}

std::string ChartEditorModel::groupFailure(std::int32_t row, std::int32_t endMarker,
                                           std::int32_t& scrollCol) const {
    const std::string& number = m_grid.storedText(row, kColKontonr);
    const std::string& name = m_grid.storedText(row, kColNamn);
    const std::string& group = m_grid.storedText(row, kColGrupp);
    const std::string rowText = std::to_string(row);
    scrollCol = kColKontonr;
    if (!group.empty()) {
        bool summed = false;
        for (std::int32_t below = row; below <= endMarker && !summed; ++below) {
            const auto codes = utf8Characters(m_grid.storedText(below, kColDelsumma));
            summed = std::find(codes.begin(), codes.end(), group) != codes.end();
        }
        if (!summed) {
            return "Grupp " + group + " på rad " + rowText + " tillhör ej någon delsumma !";
        }
    }
    scrollCol = kColDelsumma;
    if ((!number.empty() && (group.empty() || name.empty())) || (!group.empty() && name.empty())) {
        return "Kontonummer / Namn / Grupp saknas på rad " + rowText + "  !";
    }
    const std::int32_t value = readWholeNumber(number);
    if (m_rules.takenByOtherChart(value)) {
        return "Dubbel förekomst av kontonummer på rad " + rowText +
               (m_kind == ChartKind::Balance ? "  ! Kontot kan finnas i resultaträkningen"
                                             : "  ! Kontot kan finnas i balansräkningen.");
    }
    // One account number stands on one row only: a second row would be an
    // account that no voucher could ever reach.
    if (value > 0) {
        for (std::int32_t above = 1; above < row; ++above) {
            if (readWholeNumber(m_grid.storedText(above, kColKontonr)) == value) {
                return "Dubbel förekomst av kontonummer på rad " + rowText + "  !";
            }
        }
    }
    return {};
}

bool ChartEditorModel::groupCheckPasses() {
    const std::int32_t endMarker = endMarkerRow();
    for (std::int32_t row = 1; row < endMarker && row <= m_grid.rowCount(); ++row) {
        std::int32_t scrollCol = kColKontonr;
        if (const std::string failure = groupFailure(row, endMarker, scrollCol); !failure.empty()) {
            m_prompter.message(failure);
            m_grid.scrollTo({row, scrollCol});
            m_prompter.message(kMsgGruppCheckFailed);
            return false;
        }
    }
    return true;
}

bool ChartEditorModel::approve() {
    if (m_grid.isEditing() && !m_grid.endEdit()) {
        return false;
    }
    if (!rowCheckPasses() || !groupCheckPasses()) {
        return false;
    }
    const std::vector<ChartRowTexts> rows = chartRows();
    if (m_kind == ChartKind::Income) {
        m_doc.approveIncomeChart(rows);
    } else {
        m_doc.approveBalanceChart(rows);
    }
    return true;
}

} // namespace kv
