// The chart editors "Konton i resultaträkningen" and "Konton i
// balansräkningen": one model for both, told apart by their kind. It fills
// the chart grid from the document, carries the row commands, the undo and
// the only-used-accounts check box, and on "Godkänn kontoplan" checks the
// chart and makes it the document's. Dropping the model is Cancel.
#pragma once

#include "chart/CKontoplanGrid.h"
#include "chart/ChartLayout.h"
#include "grid/Grid.h"
#include "interaction/DialogModel.h"
#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kMsgValjRad = "Välj rad";
inline constexpr const char* kMsgRadernaMasteVaraTomma =
    "Raden / Raderna måste vara tom / tomma. Markera på nytt och radera innehållet med ' Delete '";
inline constexpr const char* kListHeadingResultat = "RESULTATRÄKNING";
inline constexpr const char* kListHeadingBalans = "BALANS";

class ChartEditorModel : public DialogModelOf<ChartEditorModel> {
public:
    // userTemplate: the user's template the company started from, while it
    // follows one (chosenUserTemplate); its rows are what the editor shows.
    // Without it the editor shows the company's own rows.
    ChartEditorModel(CTallvingeDoc& doc, Prompter& prompter, ChartKind kind,
                     const CKontoplan* userTemplate = nullptr);
    ChartEditorModel(const ChartEditorModel&) = delete;
    ChartEditorModel& operator=(const ChartEditorModel&) = delete;

    // The dialog opens: the grid, the account list and the check box are
    // filled from the document. The check box starts cleared, in the
    // document too.
    void open();

    [[nodiscard]] ChartKind kind() const { return m_kind; }
    [[nodiscard]] const char* title() const;
    [[nodiscard]] std::string dialogTitle() const override { return title(); }
    [[nodiscard]] Grid& grid() { return m_grid; }
    [[nodiscard]] const Grid& grid() const { return m_grid; }
    [[nodiscard]] CKontoplanGrid& rules() { return m_rules; }

    // The reference list of the whole chart beside the grid.
    [[nodiscard]] const std::vector<std::string>& accountListLines() const { return m_accountList; }

    // The check box "Visa endast konton i användning vid utskrift", written
    // into the document at once.
    [[nodiscard]] bool onlyUsedAccounts() const;
    void setOnlyUsedAccounts(bool on);

    // Rows of the chart as they stand now.
    [[nodiscard]] std::int32_t endMarkerRow() const { return findEndMarkerRow(m_grid); }
    // The "Sa AKTIVA" row with "a" in column 5, and the "Sa PASSIVA" row with "p".
    [[nodiscard]] std::optional<std::int32_t> assetsTotalRow() const;
    [[nodiscard]] std::optional<std::int32_t> liabilitiesTotalRow() const;

    // "Sätt in ny rad", "Ta bort rad" and "Ångra".
    void insertRow();
    void deleteRows();
    bool undo();

    // "Godkänn kontoplan": the row check, then the group check; when both
    // pass the chart becomes the document's and true is returned (the dialog
    // closes with OK). Otherwise the dialog stays open.
    bool approve();

    // The grid rows from row 1 down to and including the end-marker row.
    [[nodiscard]] std::vector<ChartRowTexts> chartRows() const;

private:
    void fillStoredRows();
    void fillFromUserTemplate(const CKontoplan& mall);
    // Columns 1 to 5 of a grid row from a chart row (no number for 0).
    void writeChartRow(std::int32_t row, const CKonto& konto);
    void writeIncomeFixedRows(std::int32_t endMarker);
    void writeBalanceFixedRows(std::int32_t endMarker);
    void writeEndRows(std::int32_t endMarker);
    void writeTitles();
    void fillAccountList();
    void highlightAccount(std::int32_t number, Rgb colour);
    void setFixed(std::int32_t row, std::int32_t col, const std::string& text);
    void lockRow(std::int32_t row);
    void lockCell(std::int32_t row, std::int32_t col);
    [[nodiscard]] std::optional<std::int32_t> findTotalRow(const char* name, const char* code) const;

    // The two checks of the approval; each tells the user and scrolls on failure.
    bool rowCheckPasses();
    bool groupCheckPasses();
    [[nodiscard]] std::string rowFailure(std::int32_t row) const;
    [[nodiscard]] std::string groupFailure(std::int32_t row, std::int32_t endMarker,
                                           std::int32_t& scrollCol) const;

    CTallvingeDoc& m_doc;
    Prompter& m_prompter;
    ChartKind m_kind;
    const CKontoplan* m_userTemplate;
    Grid m_grid;
    CKontoplanGrid m_rules;
    std::vector<std::string> m_accountList;
};

} // namespace kv
