// The cell and clipboard rules of the chart grid, shared by the income and
// the balance chart editors: what may be typed into a cell, which account
// numbers are locked, the checks when the cursor leaves a row, and what
// Delete, cut, copy and paste may do.
#pragma once

#include "chart/ChartLayout.h"
#include "grid/Grid.h"
#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kMsgEnSiffraEllerBokstav = "Ge endast en siffra eller bokstav !  Ej mellanslag";
inline constexpr const char* kMsgGeSiffervarde = "Ge ett siffervärde !  Ej mellanslag eller bokstäver.";
inline constexpr const char* kMsgTaBortMellanslaget = "Ta bort mellanslaget !";
inline constexpr const char* kMsgDubbelGrupp = "Dubbel förekomst av grupp !";
inline constexpr const char* kMsgKontonumretUpptaget = "Kontonumret är upptaget !";
inline constexpr const char* kMsgFinnsInteIPassiva = "Kontonumret finns inte i balansräkning - passiva !";
inline constexpr const char* kMsgFinnsRedan = "Kontot finns redan i resultat-/balansräkning";
inline constexpr const char* kMsgKontonamnSaknas = "Kontonamn saknas !";
inline constexpr const char* kMsgKontogruppSaknas = "Kontogrupp saknas";
inline constexpr const char* kMsgKontonrKontonamnSaknas = "Kontonr/Kontonamn saknas";
inline constexpr const char* kMsgRubrikSaknas = "Kontonr/Kontonamn/Rubrik saknas";
inline constexpr const char* kMsgKlistraInEj = "Det går inte att klistra in i denna tabell";
inline constexpr const char* kMsgKopiaVarning =
    "Klistra ej in denna kopia i resultat/balansräkningen.Cellformatet blir felaktigt.";
inline constexpr const char* kMsgEnRadKlippas = "Endast en rad kan klippas ut";
inline constexpr const char* kMsgKanEjKlippas = "Kontot är i användning och kan ej klippas ut";
inline constexpr const char* kMsgKanEjTasBort = "Kontot är i användning och kan ej tas bort";
inline constexpr const char* kMsgMomsLasning = "Kontot används i den automatiska momsberäkningen. Gå först "
                                               "till  Moms-Sätt moms  och tag bort det därifrån.";

// "Kontot  N   är i användnig ..." and "Kontot  N   används i den automatiska ...".
std::string inUseEditMessage(std::int32_t number);
std::string vatRuleEditMessage(std::int32_t number);

// The first row whose column 1 reads "Exempel", or the row after the last
// row when the grid has none.
std::int32_t findEndMarkerRow(const Grid& grid);
// The rows of the selection, ascending and each once.
std::vector<std::int32_t> selectedRows(const Grid& grid);

class CKontoplanGrid : public GridHooks {
public:
    CKontoplanGrid(CTallvingeDoc& doc, Prompter& prompter, ChartKind kind);

    [[nodiscard]] ChartKind kind() const { return m_kind; }

    bool validateCell(Grid& grid, std::int32_t row, std::int32_t col) override;
    bool startEditing(Grid& grid, std::int32_t row, std::int32_t col) override;
    void readOnlyCellTouched(Grid& grid, std::int32_t row, std::int32_t col) override;
    void currentCellMoving(Grid& grid, CellPos from, CellPos to) override;
    bool keyDown(Grid& grid, const GridKey& key) override;
    bool clearCells(Grid& grid) override;
    bool cut(Grid& grid) override;
    bool copy(Grid& grid) override;
    bool paste(Grid& grid) override;

    // What the rules read from the document, live.
    [[nodiscard]] bool inUse(std::int32_t number) const;
    [[nodiscard]] bool inVatRule(std::int32_t number) const;
    [[nodiscard]] bool takenByOtherChart(std::int32_t number) const;
    // The result row's account: a number above 0 that, once the balance chart
    // is approved, is a balance-sheet row at or after the first "a" row.
    [[nodiscard]] bool resultAccountAllowed(const std::string& text) const;

private:
    [[nodiscard]] std::string validationFailure(const Grid& grid, std::int32_t row, std::int32_t col,
                                                const std::string& text) const;
    [[nodiscard]] std::string delsummaFailure(const Grid& grid, std::int32_t row,
                                              const std::string& text) const;
    // Refuses to change the account number in the cell when it is locked, saying why.
    bool refuseLockedNumber(const std::string& text);
    void checkLeftRow(Grid& grid, std::int32_t row, bool toAnotherRow);

    CTallvingeDoc& m_doc;
    Prompter& m_prompter;
    ChartKind m_kind;
};

} // namespace kv
