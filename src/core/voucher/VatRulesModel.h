// The dialog "Automatisk momsberäkning": the grid of the company's automatic
// VAT rules, the account list beside it, the checks of a typed cell and the
// approval "Godkänn momsberäkningen" that makes the rows the document's 54
// rules. Dropping the model is Cancel.
#pragma once

#include "grid/Grid.h"
#include "interaction/DialogModel.h"
#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kVatDialogTitle = "Automatisk momsberäkning";
inline constexpr const char* kVatDialogTitlePink = "Verifikatdialogen öppen. Rosa rader kan ej ändras.";
inline constexpr const char* kVatCaption = "I verifikatdialogen bestämmer du om momsen skall beräknas  med   "
                                           ":     Alt +  /     (höger tangentgrupp)";
inline constexpr const char* kVatExampleNote = "Exempel finns på rad 55";
inline constexpr const char* kButtonGodkannMoms = "Godkänn momsberäkningen";
inline constexpr const char* kMsgBadaGodkanda = "Både Resultat- o. Balansräkning måste vara godkända";
inline constexpr const char* kMsgGarEjKlistraIn = "Går ej att klistra in";
inline constexpr const char* kWordDrasFran = "dras från";
inline constexpr const char* kWordTill = "till";
inline constexpr Rgb kPinkRules = rgb(255, 235, 240);

// Rule grid columns.
inline constexpr std::int32_t kVatColSats = 1;
inline constexpr std::int32_t kVatColDrasFran = 2;
inline constexpr std::int32_t kVatColDebet = 3;
inline constexpr std::int32_t kVatColKredit = 4;
inline constexpr std::int32_t kVatColTill = 5;
inline constexpr std::int32_t kVatColDebetMoms = 6;
inline constexpr std::int32_t kVatColKreditMoms = 7;
inline constexpr std::int32_t kVatColKommentar = 8;
inline constexpr std::int32_t kVatColumns = 8;
inline constexpr std::int32_t kVatRuleRows = 54;
inline constexpr std::int32_t kVatGridRows = 57;

class VatRulesModel : private GridHooks, public DialogModelOf<VatRulesModel> {
public:
    // voucherFormOpen: the voucher dialog is open beside it, so that the
    // table is pink while this dialog shows.
    VatRulesModel(CTallvingeDoc& doc, Prompter& prompter, bool voucherFormOpen = false);
    VatRulesModel(const VatRulesModel&) = delete;
    VatRulesModel& operator=(const VatRulesModel&) = delete;

    // The dialog opens and fills itself from the document. Returns true when
    // it has approved what it shows at once (a new company's first rules, or
    // the rules of a user chart template): the dialog then closes without
    // waiting for the user.
    bool open();

    [[nodiscard]] const char* title() const { return m_pink ? kVatDialogTitlePink : kVatDialogTitle; }
    [[nodiscard]] std::string dialogTitle() const override { return title(); }
    // While the voucher dialog is open the whole table is pink.
    [[nodiscard]] bool pink() const { return m_pink; }
    [[nodiscard]] Grid& grid() { return m_grid; }
    [[nodiscard]] const Grid& grid() const { return m_grid; }

    // Every account of the chart: the number, two blanks and the name.
    [[nodiscard]] const std::vector<std::string>& accountListLines() const { return m_accountList; }
    // The line of the account under the cursor, when the cursor stands on one.
    [[nodiscard]] std::optional<std::size_t> selectedAccountLine() const { return m_selectedLine; }

    // "Godkänn momsberäkningen": true when the rows became the document's
    // rules and the dialog closes; false leaves the rules as they were.
    bool approve();

private:
    bool validateCell(Grid& grid, std::int32_t row, std::int32_t col) override;
    void currentCellMoving(Grid& grid, CellPos from, CellPos to) override;
    bool paste(Grid& grid) override;

    void writeFixedCells();
    void writeDefaultRules();
    void writeStoredRules();
    void clearRuleRows(std::int32_t first, std::int32_t last);
    void writeRule(std::int32_t row, const char* rate, bool creditSide, std::int32_t account,
                   std::int32_t vatAccount, const std::string& comment);
    void makePink();
    void fillAccountList();
    [[nodiscard]] std::string cellFailure(std::int32_t row, std::int32_t col, const std::string& text) const;
    [[nodiscard]] bool rowWellFilled(std::int32_t row) const;

    CTallvingeDoc& m_doc;
    Prompter& m_prompter;
    Grid m_grid;
    bool m_pink = false;
    std::vector<std::string> m_accountList;
    std::vector<std::int32_t> m_accountListNumbers;
    std::optional<std::size_t> m_selectedLine;
};

} // namespace kv
